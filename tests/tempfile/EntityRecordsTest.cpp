// The entity index and stores, and the line, circle, arc, point, marker and block records.
#include <gtest/gtest.h>

#include <bit>
#include <sstream>
#include <string>
#include <vector>

#include "tempfile/MyFunc.h"
#include "tempfile/PlainLine.h"
#include "tests/tempfile/TempFileTestSupport.h"

namespace jwcount {
namespace {

using test::Entries;
using test::IndexEntries;
using test::ReadLines;
using Ints = std::vector<int32_t>;
using Reals = std::vector<double>;

TEST(EntityIndexTest, KeepsReadingOrderWithPositionsPerKind) {
  const auto r = ReadLines({"1 2 3 4", "ci 0 0 5", "5 6 7 8", "pt 1 2", "ci 0 0 1 0 6.28 1 0", "ci 1 1 1",
                            "ch 0 0 1 1 t", "BL 0 0 b", "sl 0 0 1 1", "pt 1 2 3 4 5"});
  EXPECT_EQ(IndexEntries(*r),
            (Entries{{1, 0}, {2, 0}, {1, 1}, {5, 0}, {3, 0}, {2, 1}, {4, 0}, {8, 0}, {9, 0}, {6, 0}}));
  Ints counts;
  for (int32_t kind = 0; kind <= 16; ++kind) counts.push_back(r->StoreCount(kind));
  EXPECT_EQ(counts, (Ints{0, 2, 2, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(r->Stores.Lines[1].X1, 5.0);
  EXPECT_EQ(r->Stores.Circles[1].Param1, 1.0);

  const auto none =
      ReadLines({"hk 1", "lg1", "", "   ", "\"", "pl", "#", "ci 1 2", "BL 1 2", "sl 1 2 3 4 5"});
  EXPECT_EQ(none->EntityCount(), 0);
  EXPECT_EQ(none->Index.Capacity() + none->Stores.Lines.Capacity(), 0);
}

TEST(EntityIndexTest, HeadersCopyTheAttributesInForceAndHhpAndZBelongToOneElement) {
  const auto r = ReadLines(
      {"lg2",      "ly3", "lc4",    "lt5",     "lw6",        "hhp3",     "hhp8", "z1", "z1", "z4", "1 2 3 4",
       "ci 1 2 3",                                                        // nothing left to consume
       "hhp5",     "z2",  "BL 1 2", "ci 1 2",  "pt 1 2 3 4", "ci 1 2 3",  // ignored lines keep them
       "hhp6",     "z3",  "msg",    "7 7 7 7", "ci 1 2 3"});              // a held line consumes them
  EXPECT_EQ(test::HeaderValues(r->Header(kLine, 0)), (Ints{8, 2, 3, 4, 5, 6, 9}));
  EXPECT_EQ(test::HeaderValues(r->Header(kCircle, 0)), (Ints{0, 2, 3, 4, 5, 6, 0}));
  EXPECT_EQ(test::HeaderValues(r->Header(kCircle, 1)), (Ints{5, 2, 3, 4, 5, 6, 2}));
  EXPECT_EQ(test::HeaderValues(r->Current.PendingDimensionLine.Attrs), (Ints{6, 2, 3, 4, 5, 6, 4}));
  EXPECT_EQ(test::HeaderValues(r->Header(kCircle, 2)), (Ints{0, 2, 3, 4, 5, 6, 0}));
  EXPECT_EQ(r->EntityCount(), 4);
}

TEST(EntityStoreTest, GrowsInStepsOfAThousand) {
  JwwGaibu reader;
  for (int i = 0; i < 1000; ++i) reader.ParseLine(std::to_string(i) + " 0 0 0");
  EXPECT_EQ((Ints{reader.Stores.Lines.Capacity(), reader.Index.Capacity()}), (Ints{1000, 1000}));
  // The 1001st element is a circle: its store takes its first step, the index its second.
  reader.ParseLine("ci 0 0 1");
  EXPECT_EQ((Ints{reader.Stores.Lines.Capacity(), reader.Stores.Circles.Capacity(), reader.Index.Capacity(),
                  reader.Stores.Arcs.Capacity()}),
            (Ints{1000, 1000, 2000, 0}));
  for (int i = 1000; i < 2001; ++i) {
    reader.ParseLine(std::to_string(i) + " 0 0 0");
    if (i == 1000) {
      EXPECT_EQ(reader.Stores.Lines.Capacity(), 2000);
    }
  }
  EXPECT_EQ(reader.Stores.Lines.Capacity(), 3000);
  for (int i = 0; i < 2001; ++i) ASSERT_EQ(reader.Stores.Lines[i].X1, i) << i;  // growing kept every record
  EXPECT_EQ((Ints{reader.Entity(1000).Kind, reader.Entity(1001).Kind, reader.Entity(1001).Position}),
            (Ints{kCircle, kLine, 1000}));
}

TEST(ShapeRecordsTest, CirclesAndArcs) {
  const auto r = ReadLines({"ci 1 2 3", "ci 1 2 3 4 5 6 7", "ci 1 2 3 4 5 6 7 8 9 10", "ci a b c",
                            // Ignored: wrong token counts, or no keyword.
                            "ci 1 2 3 4", "ci 1 2 3 4 5", "ci 1 2 3 4 5 6", "ci 1 2", "ci", "ci 1 2 3 ",
                            "CI 1 2 3 4 5 6 7"});
  EXPECT_EQ(IndexEntries(*r), (Entries{{2, 0}, {3, 0}, {3, 1}, {2, 1}}));
  const TJwwEntCircle& c = r->Stores.Circles[0];
  EXPECT_EQ((Reals{c.Param1, c.Param2, c.Param3}), (Reals{1, 2, 3}));
  EXPECT_EQ(r->Stores.Circles[1].Param1, 0.0);
  for (const TJwwEntArc& a : {r->Stores.Arcs[0], r->Stores.Arcs[1]}) {
    EXPECT_EQ((Reals{a.Param1, a.Param2, a.Param3, a.Param4, a.Param5, a.Param6, a.Param7}),
              (Reals{1, 2, 3, 4, 5, 6, 7}));
  }
}

TEST(ShapeRecordsTest, PointsAndMarkersCarryThePointColour) {
  const auto r = ReadLines(
      {"lc3", "pn7", "pt 1.5 2.5", "pt 1 2 3 4 5", "pt 1 2 3 4 5.5 9", "pt 1 2 3 4", "pt 1", "pt 1 2 "});
  EXPECT_EQ(IndexEntries(*r), (Entries{{5, 0}, {6, 0}, {6, 1}, {1, 0}}));
  const TJwwEntPoint& p = r->Stores.Points[0];
  EXPECT_EQ((Reals{p.X, p.Y, 1.0 * p.Attrs.LineColour}), (Reals{1.5, 2.5, 7}));
  const TJwwEntMarker& m = r->Stores.Markers[0];
  EXPECT_EQ((Reals{m.X, m.Y, m.Param1, m.Param2, 1.0 * m.Param3, 1.0 * m.Attrs.LineColour}),
            (Reals{1, 2, 3, 4, 5, 7}));
  EXPECT_EQ(r->Stores.Markers[1].Param3, 0);  // 5.5 is no integer
  // "pt 1 2 " counts four tokens and becomes a plain line; its last slot is empty.
  EXPECT_EQ(test::Ends(r->Stores.Lines[0]), (Reals{0, 1, 2, 0}));
  EXPECT_EQ(r->Stores.Lines[0].Attrs.LineColour, 3);
}

TEST(ShapeRecordsTest, Blocks) {
  const std::string longName(70000, 'n');  // longer than a storage block
  const std::string longLine = "BL 5 6 " + longName;
  const auto r = ReadLines({"BL 1 2 name extra words", "BL 3 4 \"name with blanks", longLine,
                            "BL 7 8 \x83\x75\x83\x8D\x83\x62\x83\x4E", "BL 1 2", "bl 1 2 3 4"});
  ASSERT_EQ(IndexEntries(*r), (Entries{{8, 0}, {8, 1}, {8, 2}, {8, 3}}));
  EXPECT_EQ((Reals{r->Stores.Blocks[0].X, r->Stores.Blocks[0].Y}), (Reals{1, 2}));
  EXPECT_EQ(r->Stores.Blocks[0].BlockText.View(), "name");
  EXPECT_EQ(r->Stores.Blocks[1].BlockText.View(), "name with blanks");
  EXPECT_EQ(r->Stores.Blocks[2].BlockText.View(), longName);  // no length limit
  EXPECT_EQ(r->Stores.Blocks[3].BlockText.View(), "\x83\x75\x83\x8D\x83\x62\x83\x4E");
  // Block texts live as long as the stores, and a reset starts afresh.
  auto again = ReadLines({"BL 1 2 name"});
  again->ReleaseEntityStores();
  again->ResetReaderState();
  again->ParseLine("BL 3 4 other");
  EXPECT_EQ(again->Stores.Blocks[0].BlockText.View(), "other");
}

TEST(PlainLineTest, ReadsNumbersBitForBitAsTextToRealDoes) {
  // Long runs of digits are read eight at a time; runs that end at the line's end, numbers past 15 digits
  // and exponent forms must still give exactly what the general conversion gives.
  for (const std::string line :
       {" -2908.08967479966 -3317.26065865733 -2956.3435332113 -3317.26065865733",
        "12345678 123456789 1234567890123456 0.000000001", "99999999.9999999 1e+06 -3.2783543701953e-005 7.5",
        "\t1.5\t\t-0 00000000000000000001 123456789012345678901", "5. -.5 12345678.12345678 87654321",
        "0.1 0.2 0.3 749.999999999999"}) {
    double values[4] = {};
    ASSERT_TRUE(ReadPlainLineNumbers(line, values)) << line;
    std::istringstream tokens(line);
    std::string token;
    for (const double value : values) {
      tokens >> token;
      EXPECT_EQ(std::bit_cast<uint64_t>(value), std::bit_cast<uint64_t>(TextToReal(token))) << token;
    }
  }
  double values[4] = {};
  EXPECT_TRUE(ReadPlainLineNumbers("12345678 1 2 3", values));
  EXPECT_EQ(values[0], 12345678.0);
  for (std::string_view line : {"1 2 3 4 ", "1 2 3", "1 2 3 4 5", "1 2 3 12345678x", "1 2 3 1234567\r"}) {
    EXPECT_FALSE(ReadPlainLineNumbers(line, values)) << line;
  }
}

TEST(PlainLineTest, FourTokenLinesThatNoKeywordRuleTakesAreLines) {
  for (std::string_view line : {"a b c d", "ch 1 2 3", "pt 1 2 3", "sl 1 2 3", "sc 1 2 3", "so 1 2 3",
                                "hs 1 2 3", "hcw 1 2 3", "hn 1 2 3", "cs 1 2 3", "HK 1 2 3"}) {
    EXPECT_EQ(IndexEntries(*ReadLines({line})), (Entries{{1, 0}})) << line;
  }
  for (std::string_view line :
       {"ci 1 2 3", "BL 1 2 3", "hk 1 2 3", "hzs 1 2 3", "bz 1 2 3", "z1 1 2 3", "pl 1 2 3", "msg 1 2 3",
        "# 1 2 3", "hp1 1 2 3", "hhp1 2 3 4", "lc5 1 2 3", "lgnA 1 2 3", "cn0 1 2 3", "pn1 2 3 4"}) {
    EXPECT_EQ(ReadLines({line})->StoreCount(kLine), 0) << line;
  }
  EXPECT_EQ(test::Ends(ReadLines({"1.5 -2 3e1 .5"})->Stores.Lines[0]), (Reals{1.5, -2, 30, 0.5}));
  EXPECT_EQ(test::Ends(ReadLines({"a b c d"})->Stores.Lines[0]), (Reals{0, 0, 0, 0}));
}

TEST(PlainLineTest, PolylineNumbering) {
  // "L" stands for a plain line; the numbers are the PolylineNo of the plain lines in order.
  const std::pair<std::vector<std::string>, Ints> cases[] = {
      // clang-format off
      {{"L", "pl", "L"}, {0, 1}}, {{"pl", "L", "L", "#", "L"}, {1, 1, 0}}, {{"pl", "L", "lc5", "L"}, {1, 0}},
      {{"pl", "L", "pl", "L"}, {1, 2}}, {{"pl", "L", "ci 1 2 3", "L"}, {1, 0}}, {{"pl", "pl", "L"}, {2}},
      {{"pl", "L", "L", "L", "lc2", "L"}, {1, 1, 1, 0}}, {{"pl", "L", "cn$X", "L"}, {1, 0}},
      {{"pl", "L", "hhp3", "z1", "hp1 1 2", "BL 1 2", "hk 1", "L"}, {1, 1}},
      {{"pl", "L", "sl 0 0 1 1", "L"}, {1, 0}}, {{"pl", "L", "ch 0 0 1 1 t", "L"}, {1, 0}},
      {{"pl", "L", "pt 1 2", "L", "pl", "L"}, {1, 0, 2}}
      // clang-format on
  };
  for (const auto& [lines, numbers] : cases) {
    JwwGaibu reader;
    std::string trace;
    for (const std::string& line : lines) {
      trace += line + " / ";
      reader.ParseLine(line == "L" ? "0 0 1 1" : line);
    }
    Ints found;
    for (int32_t i = 0; i < reader.StoreCount(kLine); ++i) found.push_back(reader.Stores.Lines[i].PolylineNo);
    EXPECT_EQ(found, numbers) << trace;
  }
  const auto r = ReadLines({"pl", "0 0 1 1", "msg", "0 0 1 1"});
  EXPECT_EQ((Ints{r->Current.InPolyline, r->Current.DimensionPending, r->EntityCount()}), (Ints{0, 1, 1}));
}

}  // namespace
}  // namespace jwcount
