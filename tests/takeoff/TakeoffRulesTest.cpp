// The rules file read from Excel's CSV.
#include <gtest/gtest.h>

#include "takeoff/TakeoffRules.h"
