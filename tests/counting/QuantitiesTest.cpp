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
#include "counting/CountTables.h"
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

// Arcs of every flatness the measure treats apart, at and beside the ends of the axes, with angles far
// beyond a turn and sweeps next to nothing and next to a full turn, including arcs that once took forever.
// Each length is r times the incomplete elliptic integral of the second kind between the two angles,
// worked out in 50-digit arithmetic (more where the flatness needs it); each must hold to 1e-12.
TEST(Quantities, FlatAndStretchedArcsHoldTwelveDigits) {
  struct Arc {
    const char* What;
    double R, Start, End, Flatness, Expected;
  };
  const Arc arcs[] = {
      {"flat, the arc that hung", 82, -465, 0.1, 0.0, 103.2232865915171112},
      {"flat, ends one ulp either side of a round end", 1, 89.99999999999999, 90.00000000000001, 0.0,
       4.960524086056720924e-16},
      {"flat, a hair across a sharp end", 1, 179.9999999999, 180.0000000001, 0.0, 3.045417196054690758e-24},
      {"flat, from a hair after a sharp end", 1, 1e-10, 2e-10, 0.0, 4.569261296800629323e-24},
      {"flat, nearly a full turn", 1, 45.0, 44.999, 0.0, 3.999987658766204293},
      {"1e-300, the arc that hung", 82, -465, 0.1, 1e-300, 103.2232865915171112},
      {"1e-300, a hair either side of a sharp end", 1, -1e-10, 1e-10, 1e-300, 3.046174197867086215e-24},
      {"1e-9 across a sharp end", 1, 179.0, 181.0, 1e-09, 0.000304609687217539554},
      {"1e-9, a hair past a sharp end", 1, 180.0, 180.0000001, 1e-09, 2.417162832559340273e-18},
      {"1e-4 less an ulp", 1, 10.0, 200.0, 9.999999999999999e-05, 2.045115236471226016},
      {"1e-4 plus an ulp", 1, -90.0, 90.00000000000001, 0.00010000000000000002, 2.000000100966347936},
      {"9e-5, hung ending at 30", 1, -465.0, 30.0, 9e-05, 1.392793722152361246},
      {"9e-5, hung ending at 360", 1, -465.0, 360.0, 9e-05, 1.258819086444995609},
      {"9e-5, hung ending at -90", 1, -465.0, -90.0, 9e-05, 0.2588190451269147331},
      {"1e-6, one ulp before a quarter", 1, 0.1, 269.99999999999994, 1e-06, 2.999998476931010492},
      {"1e4 less an ulp", 1, 0.0, 30.0, 9999.999999999998, 5000.000002465306306},
      {"1e4 plus an ulp, a hair past a sharp end", 1, 90.0, 90.0000001, 10000.000000000002,
       1.745329148465924699e-9},
      {"1e300", 1e-290, 0.0, 100.0, 1e+300, 10151922469.87792064},
      {"huge angles", 1, 1000000000000000.5, -1000000000000000.0, 0.5, 2.065749417230524273},
      {"angles beyond any turn count", 1, 1e+300, 315.0, 100000000.0, 400000000.0000003861},
      {"sweep near 0", 1, 10.0, 10.000000000001, 0.5, 9.113623053037534537e-15},
      {"sweep near 360", 1, 10.000000000001, 10.0, 0.5, 4.844224110273828986},
      {"sweep near 0 at a sharp end", 1, -1e-12, 1e-12, 1e-06, 3.490658503988659103e-20},
  };
  for (const Arc& a : arcs) {
    const double got = ArcLength(a.R, a.Start, a.End, a.Flatness);
    EXPECT_NEAR(got, a.Expected, 1e-12 * a.Expected) << a.What;
    EXPECT_EQ(ArcLength(-a.R, a.Start, a.End, -a.Flatness), got) << a.What << ": signs of r and flatness";
  }
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
