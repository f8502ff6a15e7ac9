// Solid records: which lines they take, the corner reduction of "sl" lines and what each record holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tempfile/TempFileTestSupport.h"

namespace jwcount {
namespace {

using test::Entries;
using test::IndexEntries;
using test::ReadLines;
using Reals = std::vector<double>;

// The kind and the stored corners of the only solid a line made; kind 0 when it made none.
struct SolidShape {
  int32_t kind = 0;
  std::vector<double> corners;
  bool operator==(const SolidShape&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SolidShape& s) {
  out << "kind " << s.kind << " (";
  for (double v : s.corners) out << v << " ";
  return out << ")";
}

SolidShape StoredSolid(const JwwGaibu& r) {
  if (r.EntityCount() != 1) return {};
  const EntityIndexEntry e = r.Entity(0);
  switch (e.Kind) {
    case kSolidLine: {
      const auto& s = r.Stores.SolidLines[0];
      return {e.Kind, {s.X1, s.Y1, s.X2, s.Y2}};
    }
    case kSolidTriangle: {
      const auto& s = r.Stores.SolidTriangles[0];
      return {e.Kind, {s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3}};
    }
    case kSolidQuad: {
      const auto& s = r.Stores.SolidQuads[0];
      return {e.Kind, {s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3, s.X4, s.Y4}};
    }
    default:
      return {e.Kind, {}};
  }
}

struct CornerCase {
  std::string_view line;
  SolidShape expected;
};

TEST(SolidRecordsTest, CornerLinesReduceByCoincidingCorners) {
  const CornerCase cases[] = {
      // clang-format off
      // Two corners: never tested.
      {"sl 0 0 10 0", {9, {0, 0, 10, 0}}},
      {"sl 0 0 0 0", {9, {0, 0, 0, 0}}},
      // Three corners.
      {"sl 0 0 0 0 5 5", {9, {0, 0, 5, 5}}},
      {"sl 0 0 5 5 5 5", {9, {0, 0, 5, 5}}},
      {"sl 0 0 5e-11 0 7 8", {9, {0, 0, 7, 8}}},          // 1 = 2: corner 1 to corner 3
      {"sl 0 0 7 8 7 8.00000000005", {9, {0, 0, 7, 8}}},  // 2 = 3: corner 1 to corner 2
      {"sl 1 1 1 1 1 1", {9, {1, 1, 1, 1}}},
      {"sl 0 0 5 5 0 0", {10, {0, 0, 5, 5, 0, 0}}},  // 1 = 3 alone does not reduce
      {"sl 0 0 10 0 10 10", {10, {0, 0, 10, 0, 10, 10}}},
      {"sl a b 0 0 5 5", {9, {0, 0, 5, 5}}},  // unreadable corners are (0, 0)
      // Four corners, the tests in order.
      {"sl 0 0 10 0 10 10 0 10", {11, {0, 0, 10, 0, 10, 10, 0, 10}}},
      {"sl 1 1 1 1 1 1 4 4", {9, {1, 1, 4, 4}}},                          // test 1
      {"sl 0 0 5e-11 0 0 5e-11 4 4", {9, {0, 0, 4, 4}}},                  // test 1 keeps corner 1 and 4
      {"sl 0 0 3 3 3 3 3 3", {9, {0, 0, 3, 3}}},                          // test 2
      {"sl 0 0 3 3 3.00000000005 3 3 3.00000000005", {9, {0, 0, 3, 3}}},  // test 2 keeps corner 1 and 2
      {"sl 0 0 0 0 6 6 6 6", {9, {0, 0, 6, 6}}},                          // test 3
      {"sl 0 0 5e-11 0 6 6 6 6.00000000005", {9, {0, 0, 6, 6}}},          // test 3 keeps corner 1 and 3
      {"sl 7 7 7 7 7 7 7 7", {9, {7, 7, 7, 7}}},                          // four equal corners
      {"sl 0 0 10 0 10 10 10 10", {10, {0, 0, 10, 0, 10, 10}}},           // test 4, corner 4 = corner 3
      {"sl 0 0 10 0 10 10 10 10.00000000005", {10, {0, 0, 10, 0, 10, 10}}},
      {"sl 0 0 10 0 10 10 0 0", {10, {0, 0, 10, 0, 10, 10}}},               // test 4, corner 4 = corner 1
      {"sl 0 0 5 5 0 0 5 5", {10, {0, 0, 5, 5, 0, 0}}},                     // test 4, corner 4 = corner 2
      {"sl 0 0 0 0 5 5 0 0", {10, {0, 0, 0, 0, 5, 5}}},                     // test 4 comes before test 6
      {"sl 0 0 10 0 0 0 5 5", {10, {0, 0, 10, 0, 5, 5}}},                   // test 5, corner 3 = corner 1
      {"sl 0 0 10 0 10.00000000005 0 5 5", {10, {0, 0, 10, 0, 5, 5}}},      // test 5, corner 3 = corner 2
      {"sl 0 0 0 0 10 0 5 5", {10, {0, 0, 10, 0, 5, 5}}},                   // test 6
      {"sl 0 0 5e-11 0 10 0 5 5", {10, {0, 0, 10, 0, 5, 5}}},               // test 6 keeps corner 1
      {"sl 0 0 10 0 10 10 0 10 99 99", {11, {0, 0, 10, 0, 10, 10, 0, 10}}}  // tokens after 8 ignored
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(StoredSolid(*ReadLines({c.line})), c.expected) << c.line;
}

TEST(SolidRecordsTest, CornersCoincideWithinOneTenBillionth) {
  const CornerCase cases[] = {
      // clang-format off
      {"sl 0 0 1e-10 0 5 5", {9, {0, 0, 5, 5}}},  // a difference of exactly 1e-10 coincides
      {"sl 0 0 0 1e-10 5 5", {9, {0, 0, 5, 5}}},
      {"sl 0 0 -5e-11 5e-11 5 5", {9, {0, 0, 5, 5}}},
      {"sl 0 0 2e-10 0 5 5", {10, {0, 0, 2e-10, 0, 5, 5}}},
      {"sl 0 0 0 2e-10 5 5", {10, {0, 0, 0, 2e-10, 5, 5}}},
      {"sl 0 0 -2e-10 0 5 5", {10, {0, 0, -2e-10, 0, 5, 5}}},
      {"sl 0 0 10 0 10 10 0 2e-10", {11, {0, 0, 10, 0, 10, 10, 0, 2e-10}}}
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(StoredSolid(*ReadLines({c.line})), c.expected) << c.line;
}

TEST(SolidRecordsTest, LinesNoSolidRowTakesStoreNoSolid) {
  for (std::string_view line :
       {"sl 1 2 3 4 5", "sl 1 2 3 4 5 6 7", "sl 1 2 3 4 ", "sl 1", "sl", "sl 1 2 3 4 5 6 ",
        "sc 1 2 3 4 5 6 7", "se 1 2 3 4", "so 1 2 3 4 5 6 7", "sg 1 2 3 4 5", "SL 0 0 1 1", "sl2 0 0 1 1",
        "SC 1 2 3 4 5 6 7 8", "scx 1 2 3 4 5 6 7 8"}) {
    SCOPED_TRACE(line);
    auto r = ReadLines({"hhp5", "z1", "pl", line});
    EXPECT_EQ(r->EntityCount(), 0);
    EXPECT_EQ(r->Current.HhpNumber, 5);
    EXPECT_EQ(r->Current.AttributeFlags, 1);
    EXPECT_TRUE(r->Current.InPolyline);
  }
  // With exactly four tokens the plain-line rule takes the line.
  const auto r = ReadLines({"sl 1 2 3"});
  ASSERT_EQ(IndexEntries(*r), (Entries{{1, 0}}));
  EXPECT_EQ(test::Ends(r->Stores.Lines[0]), (Reals{0, 1, 2, 3}));
}

TEST(SolidRecordsTest, CircularSolidsKeepTheirEightValues) {
  const auto r =
      ReadLines({"sc 1 2 3 4 5 6 7 8", "se 1 2 3 4 5 6 7 1.5", "so 1 2 3 4 5 6 7 1.5",
                 "sg 1 2 3 4 5 6 7 8 9 10 11", "sc 1 2 3 4 5 6 7 8 9 10 11", "se a 2 3 4 5 6 7 $10"});
  EXPECT_EQ(IndexEntries(*r), (Entries{{12, 0}, {13, 0}, {14, 0}, {15, 0}, {12, 1}, {13, 1}}));
  const auto& sc = r->Stores.SolidCircles[0];
  EXPECT_EQ((Reals{sc.Param1, sc.Param2, sc.Param3, sc.Param4, sc.Param5, sc.Param6, sc.Param7}),
            (Reals{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(sc.Param8, 8);
  EXPECT_EQ(r->Stores.SolidCircumferences[0].Param8, 0);  // 1.5 is no integer
  EXPECT_EQ(r->Stores.SolidRingsO[0].Param8, 1.5);
  const auto& sg = r->Stores.SolidRingsG[0];
  EXPECT_EQ((Reals{sg.Param1, sg.Param2, sg.Param3, sg.Param4, sg.Param5, sg.Param6, sg.Param7, sg.Param8}),
            (Reals{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(r->Stores.SolidCircles[1].Param8, 8);
  EXPECT_EQ(r->Stores.SolidCircumferences[1].Param1, 0.0);
  EXPECT_EQ(r->Stores.SolidCircumferences[1].Param8, 16);  // an integer token may be hexadecimal
}

TEST(SolidRecordsTest, SolidColourAndHeader) {
  const auto r = ReadLines({"sl 0 0 1 1", "lc10 255", "lc3", "lg2", "hhp4", "z3", "sc 1 2 3 4 5 6 7 8",
                            "sl 0 0 1 0 1 1 0 1", "lc10", "so 1 2 3 4 5 6 7 8"});
  EXPECT_EQ(r->Stores.SolidLines[0].SolidColour, 0);
  const auto& sc = r->Stores.SolidCircles[0];
  EXPECT_EQ(sc.SolidColour, 255);
  EXPECT_EQ(test::HeaderValues(sc.Attrs), (std::vector<int32_t>{4, 2, 0, 3, 1, 0, 4}));
  EXPECT_EQ(r->Stores.SolidQuads[0].SolidColour, 255);
  EXPECT_EQ(test::HeaderValues(r->Stores.SolidQuads[0].Attrs), (std::vector<int32_t>{0, 2, 0, 3, 1, 0, 0}));
  EXPECT_EQ(r->Stores.SolidRingsO[0].SolidColour, 255);  // "lc10" without a value keeps it
  EXPECT_EQ(r->Stores.SolidRingsO[0].Attrs.LineColour, 10);

  auto reset = ReadLines({"lc10 7"});
  reset->ResetCurrentAttributes();
  reset->ParseLine("sl 0 0 1 1");
  EXPECT_EQ(reset->Stores.SolidLines[0].SolidColour, 0);
}

TEST(SolidRecordsTest, SolidsTakeIndexPlacesAndEndRunsAndPendingDimensions) {
  const auto order = ReadLines({"sl 0 0 10 0 10 10 0 10", "sc 1 2 3 4 5 6 7 8", "sl 0 0 10 0 10 10 0 10"});
  EXPECT_EQ(IndexEntries(*order), (Entries{{11, 0}, {12, 0}, {11, 1}}));

  const auto poly = ReadLines({"pl", "0 0 1 1", "sg 1 2 3 4 5 6 7 8", "0 0 1 1"});
  EXPECT_EQ(poly->Stores.Lines[0].PolylineNo, 1);
  EXPECT_EQ(poly->Stores.Lines[1].PolylineNo, 0);

  const auto dim = ReadLines({"msg", "sl 0 0 1 1", "0 0 1 1"});
  EXPECT_EQ(IndexEntries(*dim), (Entries{{9, 0}, {1, 0}}));
  EXPECT_FALSE(dim->Current.DimensionPending);
}

}  // namespace
}  // namespace jwcount
