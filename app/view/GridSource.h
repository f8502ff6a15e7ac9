// The grid's seam lives in report/, beside the sections of the count that the pages show.
#pragma once

#include "report/GridSource.h"
