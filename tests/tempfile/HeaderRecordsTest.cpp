// Header and attribute records, first-seen values, numbered points, "hhp" and the two resets.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "tests/tempfile/TempFileTestSupport.h"

namespace jwcount {
namespace {

using test::ReadLines;
using Ints = std::vector<int32_t>;
using Reals = std::vector<double>;

void ExpectDefaultDrawing(const DrawingState& d) {
  EXPECT_EQ(d.FileName + d.FirstFontName, "");
  EXPECT_EQ((Reals{d.HkValue, d.SheetWidth, d.SheetHeight, d.FirstFreeCharWidth, d.FirstFreeCharHeight,
                   d.FirstFreeCharSpacing}),
            (Reals{0, 1189, 841, 2, 2, 0}));
  EXPECT_EQ((Ints{d.FirstLayerGroup, d.FirstLayer, d.FirstLineColour, d.FirstLineType, d.FirstLineWidth,
                  d.FirstTextKind, d.FirstFreeCharColour, d.HpCount}),
            (Ints{0, 0, 1, 1, 0, 1, 1, 0}));
  EXPECT_TRUE(std::all_of(d.HsValues.begin(), d.HsValues.end(), [](double v) { return v == 1.0; }));
  EXPECT_TRUE(std::all_of(d.HnValues.begin(), d.HnValues.end(), [](double v) { return v == 0.0; }));
  for (const TextKindEntry& e : d.TextKindTable) {
    EXPECT_EQ((Reals{e.CharWidth, e.CharHeight, e.CharSpacing, 1.0 * e.CharColour}), (Reals{3, 3, 0, 2}));
  }
  EXPECT_FALSE(d.BzFlag || d.LineWidthSeen);
  EXPECT_EQ(std::count(d.GroupValues.begin(), d.GroupValues.end(), 0), 16);
  EXPECT_EQ(std::count(d.LayerValues.begin(), d.LayerValues.end(), 0), 256);
  EXPECT_EQ(std::count(d.GroupNames.begin(), d.GroupNames.end(), ""), 16);
  EXPECT_EQ(std::count(d.LayerNames.begin(), d.LayerNames.end(), ""), 256);
  EXPECT_TRUE(std::none_of(d.HpPoints.begin(), d.HpPoints.end(), [](const HpPoint& p) { return p.Used; }));
  EXPECT_TRUE(std::all_of(d.FirstSeenFlags.begin(), d.FirstSeenFlags.end(), [](bool f) { return f; }));
}

void ExpectDefaultCurrent(const CurrentAttributes& c) {
  EXPECT_EQ((Ints{c.HhpNumber, c.LayerGroup, c.Layer, c.LineColour, c.LineType, c.LineWidth, c.AttributeFlags,
                  c.TextKind, c.FreeCharColour, c.CcCode, c.PointColour, c.SolidColour, c.PolylineCount}),
            (Ints{0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1, 0, 0}));
  EXPECT_EQ((Reals{c.FreeCharWidth, c.FreeCharHeight, c.FreeCharSpacing}), (Reals{2, 2, 0}));
  EXPECT_EQ(c.FontName, "<\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e>");
  EXPECT_FALSE(c.InPolyline || c.DimensionPending);
  EXPECT_EQ(test::HeaderValues(c.PendingDimensionLine.Attrs), (Ints{0, 0, 0, 1, 1, 0, 0}));
  EXPECT_EQ(c.PendingDimensionLine.PolylineNo, 0);
  EXPECT_EQ(test::Ends(c.PendingDimensionLine), (Reals{0, 0, 1, 0}));
}

// Lines that touch every part of the state.
const std::initializer_list<std::string_view> kBusyFile = {
    // clang-format off
    "file=C:\\jww\\a b.jww", "hk 2", "hs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2", "hzs 420 297", "hcw 1 1 1 1 1 1 1 1 1 1",
    "bz", "hn 1 2 3 4", "lg3 7", "ly4 8", "lgnA", "lynB", "lc10 9", "lt2", "lw3", "cn$FONT", "cn0 5 6 7 8", "cc4",
    "pn6", "hp5 1 2", "z1", "hhp4", "pl", "1 2 3 4", "msg", "5 6 7 8", "ci 0 0 1", "z2", "hhp9", "pl"
    // clang-format on
};

TEST(ReaderStateTest, AFreshReaderAndResetReaderStateHoldEveryDefault) {
  JwwGaibu fresh;
  ExpectDefaultDrawing(fresh.Drawing);
  ExpectDefaultCurrent(fresh.Current);

  auto reader = test::ReadLineList(kBusyFile);
  reader->AppendReplyLine("x");
  reader->ResetReaderState();
  ExpectDefaultDrawing(reader->Drawing);
  ExpectDefaultCurrent(reader->Current);
  EXPECT_EQ(reader->EntityCount(), 0);
  for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind)
    EXPECT_EQ(reader->StoreCount(kind), 0);
  EXPECT_EQ(reader->Reply.LineCount, 0);
  reader->ParseLine("ci 1 2 3");
  EXPECT_EQ(test::IndexEntries(*reader), (test::Entries{{2, 0}}));
}

TEST(ReaderStateTest, ResetCurrentAttributesResetsOnlyTheAttributesInForce) {
  auto reader = test::ReadLineList(kBusyFile);
  reader->ResetCurrentAttributes();
  const CurrentAttributes& c = reader->Current;
  EXPECT_EQ((Ints{c.LayerGroup, c.Layer, c.LineColour, c.LineType, c.LineWidth, c.TextKind, c.FreeCharColour,
                  c.CcCode, c.PointColour, c.SolidColour}),
            (Ints{0, 0, 1, 1, 0, 1, 1, 0, 1, 0}));
  EXPECT_EQ((Reals{c.FreeCharWidth, c.FreeCharHeight, c.FreeCharSpacing}), (Reals{2, 2, 0}));
  EXPECT_EQ(c.FontName, kDefaultFontName);
  for (bool flag : reader->Drawing.FirstSeenFlags) EXPECT_TRUE(flag);
  // Kept: the one-element values, the polyline and dimension state, the first-seen values and the drawing.
  EXPECT_EQ((Ints{c.HhpNumber, c.AttributeFlags, c.PolylineCount, c.InPolyline}), (Ints{9, 2, 2, 1}));
  EXPECT_EQ(test::Ends(c.PendingDimensionLine), (Reals{5, 6, 7, 8}));
  const DrawingState& d = reader->Drawing;
  EXPECT_EQ((Ints{d.FirstLayerGroup, d.FirstLayer, d.FirstLineColour, d.FirstLineType, d.FirstLineWidth,
                  d.FirstTextKind, d.FirstFreeCharColour, d.GroupValues[3], d.HpCount, d.LineWidthSeen}),
            (Ints{3, 4, 10, 2, 3, 0, 8, 7, 1, 1}));
  EXPECT_EQ(d.FirstFreeCharWidth, 5.0);
  EXPECT_EQ(d.FirstFontName + d.GroupNames[3] + d.LayerNames[3 * 16 + 4] + d.FileName,
            "FONTABC:\\jww\\a b.jww");
  EXPECT_EQ(d.SheetWidth, 420.0);
  EXPECT_EQ(reader->EntityCount(), 2);

  auto pending = ReadLines({"msg", "lc4"});
  pending->ResetCurrentAttributes();
  EXPECT_TRUE(pending->Current.DimensionPending);
}

TEST(HeaderRecordsTest, EachRecordSetsItsFields) {
  const auto r = ReadLines({"file=D:\\work\\a b.jww", "hk 2.5", "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16",
                            "hzs 420 297", "hcw 1 2 3 4 5 6 7 8 9 10", "hch 11 12 13 14 15 16 17 18 19 20",
                            "hcd 21 22 23 24 25 26 27 28 29 30", "hcc 31 32 33 34 35 36 37 38 39 40", "bz",
                            "hn 1.5 2.5 3.5 4.5"});
  const DrawingState& d = r->Drawing;
  EXPECT_EQ(d.FileName, "D:\\work\\a b.jww");
  EXPECT_EQ((Reals{d.HkValue, d.SheetWidth, d.SheetHeight}), (Reals{2.5, 420, 297}));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(d.HsValues[i], i + 1.0);
  for (int k = 1; k <= 10; ++k) {
    const TextKindEntry& e = d.TextKindTable[k - 1];
    EXPECT_EQ((Reals{e.CharWidth, e.CharHeight, e.CharSpacing, 1.0 * e.CharColour}),
              (Reals{1.0 * k, 10.0 + k, 20.0 + k, 30.0 + k}));
  }
  EXPECT_TRUE(d.BzFlag);
  EXPECT_EQ(d.HnValues, (std::array<double, 4>{1.5, 2.5, 3.5, 4.5}));
  EXPECT_EQ(r->EntityCount(), 0);
  // Extra values do not matter; "file=" keeps the rest of its line, blanks included.
  const auto extra = ReadLines({"hk 1 2 3", "hzs 5 6 7", "file= 1 2"});
  EXPECT_EQ((Reals{extra->Drawing.HkValue, extra->Drawing.SheetWidth}), (Reals{1, 5}));
  EXPECT_EQ(extra->Drawing.FileName, " 1 2");
  EXPECT_EQ(extra->EntityCount(), 0);
}

TEST(HeaderRecordsTest, ARecordBelowItsCountGuardChangesNoHeaderValue) {
  // With exactly four tokens the plain-line rule takes the line instead.
  const std::pair<std::string_view, int> cases[] = {
      // clang-format off
      {"hk", 0}, {"hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", 0}, {"hs 1 2 3", 1}, {"hzs 420", 0},
      {"hcw 9 9 9 9 9 9 9 9 9", 0}, {"hch 9 9 9", 1}, {"hcd 9 9 9 9 9", 0}, {"hcc 9 9 9 9 9 9 9 9 9", 0},
      {"hn 1 2 3", 1}, {"hn 1 2", 0}, {"xfile=abc", 0}, {"HK 5", 0}, {"bzz", 0}, {"hk2 5", 0}
      // clang-format on
  };
  for (const auto& [line, lines] : cases) {
    SCOPED_TRACE(line);
    const auto r = ReadLines({line});
    ExpectDefaultDrawing(r->Drawing);
    ASSERT_EQ(r->StoreCount(kLine), lines);
    if (lines == 1) {
      EXPECT_EQ(r->Stores.Lines[0].X1, 0.0);
    }
  }
}

TEST(AttributeRecordsTest, LayerGroupAndLayerAreOneHexadecimalDigit) {
  const std::pair<std::string, int32_t> cases[] = {{"lgA", 10}, {"lga", 10}, {"lgf", 15},
                                                   {"lg9", 9},  {"lg10", 1}, {"lg", 0},
                                                   {"lgG", 0},  {"lg 3", 0}, {"lg\x82\xA0", 0}};
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(ReadLines({"lg7", line})->Current.LayerGroup, expected) << line;
    const std::string layerLine = "ly" + line.substr(2);
    EXPECT_EQ(ReadLines({"ly7", layerLine})->Current.Layer, expected) << layerLine;
  }
}

TEST(AttributeRecordsTest, LayerTablesTakeValuesAndNames) {
  const auto r = ReadLines({"lg3 5", "lg2 6", "lg3", "ly4 7", "lg2", "ly4 8", "lynWALL", "lgnFLOOR", "lg1",
                            "lgn\"TWO WORDS", "ly2", "lynAB CD"});
  const DrawingState& d = r->Drawing;
  EXPECT_EQ((Ints{d.GroupValues[3], d.GroupValues[2], d.LayerValues[3 * 16 + 4], d.LayerValues[2 * 16 + 4]}),
            (Ints{5, 6, 7, 8}));  // "lg3" alone left its value
  EXPECT_EQ(d.LayerNames[36], "WALL");
  EXPECT_EQ(d.GroupNames[2], "FLOOR");
  EXPECT_EQ(d.GroupNames[1], "TWO WORDS");
  EXPECT_EQ(d.LayerNames[18], "AB");
  // Name records are not layer-group or layer records.
  const auto names = ReadLines({"lgnX", "lynY"});
  EXPECT_EQ((Ints{names->Current.LayerGroup, names->Current.Layer}), (Ints{0, 0}));
  EXPECT_TRUE(names->Drawing.FirstSeenFlags[kFirstLayerGroup] && names->Drawing.FirstSeenFlags[kFirstLayer]);
  EXPECT_EQ(ReadLines({"lgnX", "lgn"})->Drawing.GroupNames[0], "");
}

TEST(AttributeRecordsTest, ColourTypeWidthAndSolidColour) {
  const auto r = ReadLines({"lc5", "lt3", "lw4"});
  EXPECT_EQ((Ints{r->Current.LineColour, r->Current.LineType, r->Current.LineWidth}), (Ints{5, 3, 4}));
  EXPECT_TRUE(r->Drawing.LineWidthSeen);
  EXPECT_FALSE(ReadLines({"lc5"})->Drawing.LineWidthSeen);
  // Line colour, then solid colour, after "lc10 3".
  const std::tuple<std::string_view, int32_t, int32_t> cases[] = {
      // clang-format off
      {"lc101", 101, 3}, {"lc$A", 10, 3}, {"lcx", 0, 3}, {"lc", 0, 3}, {"lc-3", -3, 3}, {"lc10 7", 10, 7},
      {"lc5 7", 5, 3}, {"lc10", 10, 3}, {"lc$A 8", 10, 8}, {"lc10 x", 10, 0}, {"lc010 6", 10, 6}
      // clang-format on
  };
  for (const auto& [line, colour, solid] : cases) {
    const auto c = ReadLines({"lc10 3", line});
    EXPECT_EQ((Ints{c->Current.LineColour, c->Current.SolidColour}), (Ints{colour, solid})) << line;
  }
}

TEST(AttributeRecordsTest, FirstSeenValuesKeepTheFirstRecordUntilTheNextReset) {
  const std::pair<std::string, int32_t DrawingState::*> cases[] = {
      {"lg", &DrawingState::FirstLayerGroup}, {"ly", &DrawingState::FirstLayer},
      {"lc", &DrawingState::FirstLineColour}, {"lt", &DrawingState::FirstLineType},
      {"lw", &DrawingState::FirstLineWidth},  {"cn", &DrawingState::FirstTextKind}};
  for (const auto& [keyword, field] : cases) {
    SCOPED_TRACE(keyword);
    auto r = ReadLines({keyword + "3", keyword + "4"});
    EXPECT_EQ(r->Drawing.*field, 3);
    r->ResetCurrentAttributes();
    EXPECT_EQ(r->Drawing.*field, 3);
    r->ParseLine(keyword + "5");
    EXPECT_EQ(r->Drawing.*field, 5);
  }
  const auto r = ReadLines({"lc3"});
  EXPECT_TRUE(r->Drawing.FirstSeenFlags[kFirstLayerGroup] && r->Drawing.FirstSeenFlags[kFirstTextKind]);
  EXPECT_FALSE(r->Drawing.FirstSeenFlags[kFirstLineColour]);
}

Reals FreeValues(const JwwGaibu& r) {
  const CurrentAttributes& c = r.Current;
  const DrawingState& d = r.Drawing;
  return {1.0 * c.TextKind,           c.FreeCharWidth,        c.FreeCharHeight,
          c.FreeCharSpacing,          1.0 * c.FreeCharColour, 1.0 * d.FirstTextKind,
          d.FirstFreeCharWidth,       d.FirstFreeCharHeight,  d.FirstFreeCharSpacing,
          1.0 * d.FirstFreeCharColour};
}

TEST(AttributeRecordsTest, TextKindAndItsFreeValues) {
  // The current kind and free values, then the first-seen ones.
  EXPECT_EQ(FreeValues(*ReadLines({"cn"})), (Reals{0, 2, 2, 0, 1, 0, 2, 2, 0, 1}));
  EXPECT_EQ(FreeValues(*ReadLines({"cn0 2.5 3 0.5 4", "cn0 1 1 1 5", "cn3"})),
            (Reals{3, 1, 1, 1, 5, 0, 2.5, 3, 0.5, 4}));
  EXPECT_EQ(FreeValues(*ReadLines({"cn0 7 7 7"})), (Reals{0, 2, 2, 0, 1, 0, 2, 2, 0, 1}));  // too few values
  EXPECT_EQ(FreeValues(*ReadLines({"cn5 7 7 7 7", "cn0 6 6 6 6"})), (Reals{0, 6, 6, 6, 6, 5, 2, 2, 0, 1}));
  EXPECT_EQ(ReadLines({"cn0 7 7 7"})->EntityCount(), 0);  // four tokens, but a text-kind record
}

TEST(AttributeRecordsTest, FontNames) {
  const auto r = ReadLines({"cn$AB CD"});
  EXPECT_EQ(r->Current.FontName + "|" + r->Drawing.FirstFontName, "AB|AB");
  EXPECT_EQ(r->Current.TextKind, 1);  // not a text-kind record
  EXPECT_TRUE(r->Drawing.FirstSeenFlags[kFirstTextKind]);
  const auto quoted = ReadLines({"cn$\"\x82\x6c\x82\x72 \x96\xbe\x92\xa9", "cn$B"});
  EXPECT_EQ(quoted->Current.FontName + "|" + quoted->Drawing.FirstFontName,
            "B|\x82\x6c\x82\x72 \x96\xbe\x92\xa9");
  // An empty name leaves the first font name open for the next one.
  const auto empty = ReadLines({"cn$", "cn$X", "cn$Y"});
  EXPECT_EQ(empty->Current.FontName + "|" + empty->Drawing.FirstFontName, "Y|X");
}

TEST(AttributeRecordsTest, CcCodeAndZFlags) {
  const std::pair<std::string_view, int32_t> cases[] = {{"cc0", 0},  {"cc8", 8}, {"cc9", 0},  {"ccx", 0},
                                                        {"cc12", 1}, {"cc", 0},  {"cc-1", 0}, {"cc3 9", 3}};
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(ReadLines({"cc5", line})->Current.CcCode, expected) << line;
  EXPECT_EQ(ReadLines({"z2", "z2", "z1"})->Current.AttributeFlags, 3);
  EXPECT_EQ(ReadLines({"z1", "z2", "z3", "z4", "z5"})->Current.AttributeFlags, 31);
  EXPECT_EQ(ReadLines({"z4", "z5 1 2 3"})->Current.AttributeFlags, 24);
  EXPECT_EQ(ReadLines({"z6", "z0", "z11", "Z1"})->Current.AttributeFlags, 0);
}

TEST(AttributeRecordsTest, PolylineAndDimensionFlags) {
  EXPECT_EQ(ReadLines({"pn7"})->Current.PointColour, 7);
  const auto poly = ReadLines({"msg", "pl", "pl"});
  EXPECT_EQ((Ints{poly->Current.PolylineCount, poly->Current.InPolyline, poly->Current.DimensionPending}),
            (Ints{2, 1, 0}));
  const auto msg = ReadLines({"pl", "msg"});
  EXPECT_EQ((Ints{msg->Current.PolylineCount, msg->Current.InPolyline, msg->Current.DimensionPending}),
            (Ints{1, 0, 1}));
  EXPECT_FALSE(ReadLines({"msg", "#"})->Current.DimensionPending);
  EXPECT_FALSE(ReadLines({"pl", "#"})->Current.InPolyline);
  // Attribute records end a polyline run but keep a pending dimension; other records keep both.
  for (std::string_view line : {"lg1", "ly1", "lc1", "lt1", "lw1", "cn$A", "cn1", "cc1", "pn1"}) {
    EXPECT_FALSE(ReadLines({"pl", line})->Current.InPolyline) << line;
    EXPECT_TRUE(ReadLines({"msg", line})->Current.DimensionPending) << line;
  }
  for (std::string_view line :
       {"file=x", "hk 1", "bz", "lgnA", "lynA", "z1", "hp1 1 2", "hhp3", "pl1", "BL 1 2"}) {
    EXPECT_TRUE(ReadLines({"pl", line})->Current.InPolyline) << line;
    EXPECT_TRUE(ReadLines({"msg", line})->Current.DimensionPending) << line;
  }
}

TEST(NumberedPointTest, SuffixesGiveTheKindAndEndTheNumber) {
  const std::tuple<std::string_view, int, int32_t> cases[] = {
      // clang-format off
      {"hp5 10 20", 5, 0}, {"hp5- 10 20", 5, 1}, {"hp5ln 10 20", 5, 2}, {"hp5ci 10 20", 5, 3},
      {"hp5ch 10 20", 5, 4}, {"hp99ln 10 20", 99, 2}, {"hp5 10 20 30", 5, 0} /* four tokens */,
      {"hp12ci7ln 10 20", 12, 3},     // "ci" is looked for after "ln" and wins
      {"hp5ch- 10 20", 5, 4},         // "ch" after "-"
      {"hp5-\x82" "ci 10 20", 5, 1},  // this "ci" starts on a second byte: no suffix
      // No numbered point:
      {"hp0 10 20", 0, 0}, {"hp100 10 20", 0, 0}, {"hp 10 20", 0, 0}, {"hp5x 10 20", 0, 0},
      {"hp5-ln 10 20", 0, 0} /* "ln" leaves "5-" */, {"hp5 10", 0, 0} /* two tokens */
      // clang-format on
  };
  for (const auto& [line, number, kind] : cases) {
    SCOPED_TRACE(line);
    const auto r = ReadLines({line});
    EXPECT_EQ(r->EntityCount(), 0);
    EXPECT_EQ(r->Drawing.HpCount, number == 0 ? 0 : 1);
    EXPECT_EQ(std::count_if(r->Drawing.HpPoints.begin(), r->Drawing.HpPoints.end(),
                            [](const HpPoint& p) { return p.Used; }),
              number == 0 ? 0 : 1);
    const HpPoint& p = r->Drawing.HpPoints[number];
    if (number != 0) {
      EXPECT_EQ((Reals{1.0 * p.Used, p.X, p.Y, 1.0 * p.Kind}), (Reals{1, 10, 20, 1.0 * kind}));
    }
  }
  // A number given twice counts twice and keeps the later values.
  const auto twice = ReadLines({"hp5 1 2", "hp5ln 3 4"});
  const HpPoint& p = twice->Drawing.HpPoints[5];
  EXPECT_EQ((Reals{1.0 * twice->Drawing.HpCount, p.X, p.Y, 1.0 * p.Kind}), (Reals{2, 3, 4, 2}));
}

TEST(HhpNumberTest, SuffixesEndTheNumber) {
  const std::pair<std::string_view, int32_t> cases[] = {
      // clang-format off
      {"hhp7ci", 7}, {"hhp12ln", 12}, {"hhp12", 12}, {"hhp12ch", 12}, {"hhp12-", 0}, {"hhp", 0},
      {"hhp12ci7ln", 12}, {"hhp5ln\x82" "ci", 5} /* "ci" on a second byte */, {"hhp5ci 1 2 3", 5},
      {"hhp$10", 16}, {"hhpln", 0}, {"hhp-3", -3}
      // clang-format on
  };
  for (const auto& [line, expected] : cases) {
    const auto r = ReadLines({"hhp9", line});
    EXPECT_EQ(r->Current.HhpNumber, expected) << line;
    EXPECT_EQ(r->EntityCount(), 0) << line;
  }
}

}  // namespace
}  // namespace jwcount
