// Keeping the window on a monitor when its stored position lies on none.
#include "app/view/ScreenFit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jwcount {
namespace {

std::vector<int32_t> Values(const ScreenRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}

struct FitCase {
  const char* name;
  ScreenRect window;
  std::vector<ScreenRect> areas;
  std::vector<int32_t> expected;
};

class KeepOnScreenTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(KeepOnScreenTest, PlacesTheWindow) {
  EXPECT_EQ(Values(KeepOnScreen(GetParam().window, GetParam().areas)), GetParam().expected);
}

const ScreenRect kMain{0, 0, 1920, 1040};
const ScreenRect kLeft{-1280, 0, 0, 984};

INSTANTIATE_TEST_SUITE_P(
    Monitors, KeepOnScreenTest,
    ::testing::Values(
        FitCase{"InsideStays", {100, 50, 575, 250}, {kMain}, {100, 50, 575, 250}},
        FitCase{"PartlyOutsideStays", {-8, -8, 1288, 992}, {kMain}, {-8, -8, 1288, 992}},
        FitCase{"OneEdgePixelIsEnough", {1919, 100, 2394, 575}, {kMain}, {1919, 100, 2394, 575}},
        FitCase{"OnSecondMonitorStays", {-1000, 100, -525, 575}, {kMain, kLeft}, {-1000, 100, -525, 575}},
        FitCase{"UnpluggedLeftMonitor", {-1000, 100, -525, 575}, {kMain}, {0, 100, 475, 575}},
        FitCase{"FarBelowRight", {3000, 2000, 3475, 2475}, {kMain}, {1445, 565, 1920, 1040}},
        FitCase{"TouchingIsNotMeeting", {1920, 0, 2395, 475}, {kMain}, {1445, 0, 1920, 475}},
        FitCase{"NearestOfTwo", {-2000, 100, -1525, 575}, {kMain, kLeft}, {-1280, 100, -805, 575}},
        FitCase{
            "LargerThanTheMonitorKeepsItsTopLeftInside", {5000, 0, 7500, 1500}, {kMain}, {0, 0, 2500, 1500}},
        FitCase{"NoMonitorsKnown", {-5000, -5000, -4525, -4525}, {}, {-5000, -5000, -4525, -4525}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace jwcount
