// Lengths and areas: each formula against values worked out by hand, hostile values, and the tables'
// sums against the elements of a whole generated drawing.
#include "counting/Quantities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <vector>

#include "bench/PlanGenerator.h"
#include "counting/CountTable.h"
#include "counting/RunSequence.h"
#include "tests/support/QuietCount.h"
#include "tests/support/ScratchFolder.h"

namespace jwcount {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
// The perimeter of the ellipse of semi-axes 1 and 0.5, from the arithmetic-geometric mean.
constexpr double kEllipsePerimeter = 4.844224110273838;

struct Case {
  const char* What;
  double Got;
  double Expected;
};

void ExpectCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_NEAR(c.Got, c.Expected, 1e-12 * std::max(1.0, std::abs(c.Expected))) << c.What;
  }
}

TEST(Quantities, LengthsWorkedOutByHand) {
  ExpectCases({
      {"3-4-5 line", LineLength(1, 1, 4, 5), 5},
      {"line backwards", LineLength(4, 5, 1, 1), 5},
      {"line far beyond the square's range", LineLength(-1e200, 0, 1e200, 0), 2e200},
      {"tiny line", LineLength(0, 0, 3e-160, 4e-160), 5e-160},
      {"circle of negative radius", CircleLength(-2), 4 * kPi},
      {"quarter arc", ArcLength(2, 0, 90, 1), kPi},
      {"arc through 0 degrees", ArcLength(2, 300, 30, -1), kPi},
      {"arc backwards takes the long way", ArcLength(2, 90, 0, 1), 3 * kPi},
      {"equal angles are a full turn", ArcLength(2, 45, 45, 1), 4 * kPi},
      {"start beyond a turn", ArcLength(2, 720, 810, 1), kPi},
      {"full ellipse", ArcLength(1000, 0, 360, 0.5), 1000 * kEllipsePerimeter},
      {"full ellipse, negative flatness", ArcLength(1000, 10, 370, -0.5), 1000 * kEllipsePerimeter},
      {"elliptic quarter", ArcLength(1000, 0, 90, 0.5), 250 * kEllipsePerimeter},
      {"any half ellipse", ArcLength(1000, 45, 225, 0.5), 500 * kEllipsePerimeter},
      {"flat full turn: there and back", ArcLength(3, 0, 360, 0), 12},
      {"flat arc across its axis end", ArcLength(1, 45, 135, 0), std::sqrt(2.0)},
      {"flat quarter", ArcLength(5, 0, 90, 0), 5},
      {"stretched half", ArcLength(1, 0, 180, 2), kEllipsePerimeter},
  });
}

TEST(Quantities, AreasWorkedOutByHand) {
  ExpectCases({
      {"triangle", TriangleArea(0, 0, 4, 0, 0, 3), 6},
      {"clockwise triangle", TriangleArea(0, 0, 0, 3, 4, 0), 6},
      {"quadrilateral", QuadArea(1, 1, 3, 1, 3, 4, 1, 4), 6},
      {"crossed quadrilateral, corners in their order", QuadArea(0, 0, 2, 2, 2, 0, 0, 2), 0},
      {"full circle solid", CircleSolidArea(-2, 0.5, 1, kCircleSolidFull), 2 * kPi},
      {"sector", CircleSolidArea(2, 0.5, kPi / 2, kCircleSolidSector), kPi / 2},
      {"sector, negative sweep", CircleSolidArea(2, -0.5, -kPi / 2, kCircleSolidSector), kPi / 2},
      {"segment", CircleSolidArea(2, 0.5, kPi, kCircleSolidSegment), kPi},
      {"outside the arc", CircleSolidArea(2, 0.5, kPi / 2, kCircleSolidOutside), 2 * (1 - kPi / 4)},
      {"outside the arc, beyond a half turn", CircleSolidArea(2, 0.5, 1.5 * kPi, kCircleSolidOutside), 0},
      {"unknown flag fills a sector", CircleSolidArea(2, 0.5, kPi / 2, 7), kPi / 2},
      {"ring", RingSolidArea(3, 1, 2 * kPi, 1), 8 * kPi},
      {"ring, inner beyond outer", RingSolidArea(1, -1, -2 * kPi, 3), 8 * kPi},
      {"squeezed half ring", RingSolidArea(3, 0.5, kPi, 1), 2 * kPi},
  });
}

TEST(Quantities, ValuesThatAreNotFiniteCountZero) {
  const double hostile[] = {kNaN, kInf, -kInf};
  for (const double v : hostile) {
    EXPECT_EQ(LineLength(v, 0, 1, 1), 0) << v;
    EXPECT_EQ(LineLength(0, 0, 1, v), 0) << v;
    EXPECT_EQ(CircleLength(v), 0) << v;
    for (const double flatness : {1.0, 0.5}) {
      EXPECT_EQ(ArcLength(v, 0, 90, flatness), 0) << v;
      EXPECT_EQ(ArcLength(1, v, 90, flatness), 0) << v;
      EXPECT_EQ(ArcLength(1, 0, v, flatness), 0) << v;
    }
    EXPECT_EQ(ArcLength(1, 0, 90, v), 0) << v;
    EXPECT_EQ(TriangleArea(0, 0, v, 0, 0, 3), 0) << v;
    EXPECT_EQ(QuadArea(0, 0, 1, 0, 1, v, 0, 1), 0) << v;
    EXPECT_EQ(CircleSolidArea(v, 1, 1, kCircleSolidFull), 0) << v;
    EXPECT_EQ(CircleSolidArea(1, 1, v, kCircleSolidSegment), 0) << v;
    EXPECT_EQ(RingSolidArea(1, v, 1, 0), 0) << v;
  }
  EXPECT_EQ(LineLength(-1e308, 0, 1e308, 0), 0);  // the difference itself overflows
  EXPECT_EQ(ArcLength(1e300, 0, 90, 1e300), 0);
}

// Every row of every table holds exactly the sum of its elements' quantities, taken in reading order, and
// every total the sum of all of them.
TEST(Quantities, TablesHoldTheSumsOfTheirElements) {
  test::ScratchFolder folder;
  const auto path = folder / "plan.txt";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_TRUE(GeneratePlan(3000, out, PlanStyle::kReal));
  std::fclose(out);
  JwwGaibu reader;
  ASSERT_TRUE(ReadForCount(reader, path));
  CountTables tables;
  test::QuietHost host;
  CountElements(reader, tables, folder.Path(), host);

  std::vector<RowQuantities> sg1(kSg1Rows), sg3(kSg3Rows);
  RowQuantities total;
  bool curves = false;
  bool areas = false;
  for (int32_t j = 0; j < reader.EntityCount(); ++j) {
    const EntityIndexEntry& e = reader.Entity(j);
    const ElementQuantity q = QuantityOf(reader.Stores, e.Kind, e.Position);
    const EntityAttributes& a = reader.Header(e.Kind, e.Position);
    for (RowQuantities* row :
         {&sg1[LayerRow(a.LayerGroup, a.Layer)], &sg3[LineColourRow(a.LineColour)], &total}) {
      row->LineLength += q.LineLength;
      row->CurveLength += q.CurveLength;
      row->Length += q.LineLength + q.CurveLength;
      row->Area += q.Area;
    }
    curves |= e.Kind == kArc && q.CurveLength > 0;
    areas |= e.Kind == kSolidCircle && q.Area > 0;
  }
  ASSERT_TRUE(curves && areas) << "the plan holds arcs and circle solids that measure something";
  auto expectSame = [](const RowQuantities& got, const RowQuantities& expected, double tolerance) {
    EXPECT_NEAR(got.LineLength, expected.LineLength, tolerance * expected.LineLength);
    EXPECT_NEAR(got.CurveLength, expected.CurveLength, tolerance * expected.CurveLength);
    EXPECT_NEAR(got.Length, expected.Length, tolerance * expected.Length);
    EXPECT_NEAR(got.Area, expected.Area, tolerance * expected.Area);
  };
  for (int g = 0; g < 16; ++g) {
    for (int l = 0; l < 16; ++l) expectSame(tables.SG1.Quantities(LayerRow(g, l)), sg1[LayerRow(g, l)], 0);
  }
  for (int row = 1; row < kSg3TotalRow; ++row) expectSame(tables.SG3.Quantities(row), sg3[row], 0);
  // Totals add rows, not elements, so they may differ from the running sum in the last bits.
  expectSame(tables.SG1.Quantities(kSg1TotalRow), total, 1e-12);
  expectSame(tables.SG2.Quantities(kSg2TotalRow), total, 1e-12);
  expectSame(tables.SG3.Quantities(kSg3TotalRow), total, 1e-12);
  expectSame(tables.SG4.Quantities(kSg4TotalRow), total, 1e-12);
  expectSame(tables.SG5.Quantities(kSg5TotalRow), total, 1e-12);
  EXPECT_GT(total.Area, 0);
}

}  // namespace
}  // namespace jwcount
