// The placement file: loading with defaults and minimums, saving, and what a failure leaves behind.
#include "app/view/Placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FakeFileSystem.h"

namespace jwcount {
namespace {

using test::FakeFileSystem;

const std::filesystem::path kPath = "C:/jw/jwcount.dat";

std::vector<int32_t> Values(const WindowPlacement& p) {
  return {p.Left, p.Top, p.Width, p.Height};
}

struct LoadCase {
  const char* name;
  const char* content;
  std::vector<int32_t> expected;
};

class LoadPlacementTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadPlacementTest, ReadsFourLinesAndAppliesTheMinimums) {
  FakeFileSystem fs;
  fs.files[kPath] = GetParam().content;
  EXPECT_EQ(Values(LoadPlacement(fs, kPath)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadPlacementTest,
    ::testing::Values(LoadCase{"Empty", "", {0, 0, 475, 200}},
                      LoadCase{"BelowMinimums", "100\r\n50\r\n300\r\n100\r\n", {100, 50, 475, 200}},
                      LoadCase{"NegativeAndLargeKept", "-8\r\n-8\r\n1296\r\n1000\r\n", {-8, -8, 1296, 1000}},
                      LoadCase{"LettersGiveZero", "abc\r\n20\r\n600\r\n500\r\n", {0, 20, 600, 500}},
                      LoadCase{"TwoLinesOnly", "30\r\n40\r\n", {30, 40, 475, 200}},
                      LoadCase{"LfOnlyAndNoLastBreak", "1\n2\n500\n300", {1, 2, 500, 300}},
                      LoadCase{"ExtraLinesIgnored", "1\r\n2\r\n500\r\n300\r\n9\r\n", {1, 2, 500, 300}},
                      LoadCase{"SpaceAfterNumber", "12 \r\n7\r\n500\r\n300\r\n", {0, 7, 500, 300}},
                      LoadCase{"OutOfRange", "99999999999\r\n0\r\n0\r\n0\r\n", {0, 0, 475, 200}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadPlacement, MinimumsHoldAfterAReadFailure) {
  FakeFileSystem fs;
  fs.files[kPath] = "11\r\n22\r\n300\r\n100\r\n";
  fs.readChunk = 13;  // width 300 is read, then the read fails
  fs.failAtRead = 2;
  EXPECT_EQ(Values(LoadPlacement(fs, kPath)), (std::vector<int32_t>{11, 22, 475, 475}));
}

TEST(SavePlacement, WritesFourLinesWithCrLf) {
  FakeFileSystem fs;
  fs.files[kPath] = "old content that is longer than the new one\r\n";
  SavePlacement(fs, kPath, {192, 107, 521, 423});
  EXPECT_EQ(fs.files[kPath], "192\r\n107\r\n521\r\n423\r\n");
  SavePlacement(fs, kPath, {-8, -2147483647 - 1, 475, 200});
  EXPECT_EQ(fs.files[kPath], "-8\r\n-2147483648\r\n475\r\n200\r\n");
}

TEST(SavePlacement, SavedPlacementLoadsBackUnchanged) {
  FakeFileSystem fs;
  const WindowPlacement saved{-1920, 35, 800, 600};
  SavePlacement(fs, kPath, saved);
  EXPECT_EQ(Values(LoadPlacement(fs, kPath)), Values(saved));
}

TEST(WithMinimums, RaisesOnlyWidthAndHeight) {
  EXPECT_EQ(Values(WithMinimums({-50, -60, 100, 100})), (std::vector<int32_t>{-50, -60, 475, 200}));
  EXPECT_EQ(Values(WithMinimums({1, 2, 475, 200})), (std::vector<int32_t>{1, 2, 475, 200}));
}

// A stored placement keeps its pixels at any DPI, only raised to the minimums at that DPI; the defaults
// grow with the DPI. 37.5 pixels round to 38, as MulDiv rounds.
TEST(PlacementAtDpi, StoredPixelsStandAndDefaultsScale) {
  const struct {
    WindowPlacement placement;
    bool stored;
    int32_t dpi;
    std::vector<int32_t> expected;
  } cases[] = {
      {{10, 20, 475, 475}, true, 96, {10, 20, 475, 475}},
      {{10, 20, 475, 475}, true, 192, {10, 20, 950, 475}},
      {{10, 20, 1200, 300}, true, 144, {10, 20, 1200, 300}},
      {{10, 20, 475, 200}, true, 144, {10, 20, 713, 300}},
      {{0, 0, 475, 475}, false, 96, {0, 0, 475, 475}},
      {{0, 0, 475, 475}, false, 120, {0, 0, 594, 594}},
      {{0, 0, 475, 475}, false, 192, {0, 0, 950, 950}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(Values(PlacementAtDpi(c.placement, c.stored, c.dpi)), c.expected);
  }
  EXPECT_EQ(ScaledToDpi(25, 144), 38);
  EXPECT_EQ(ScaledToDpi(-25, 144), -38);
}

TEST(PlacementPath, ReplacesTheExtension) {
  EXPECT_EQ(PlacementPath("/jww/count.exe"), std::filesystem::path("/jww/count.dat"));
  EXPECT_EQ(PlacementPath("/jw.cad/jwcount"), std::filesystem::path("/jw.cad/jwcount.dat"));
}

}  // namespace
}  // namespace jwcount
