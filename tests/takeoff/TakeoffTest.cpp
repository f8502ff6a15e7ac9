// The quantity sheet of a count.
#include <gtest/gtest.h>

#include "takeoff/Takeoff.h"
