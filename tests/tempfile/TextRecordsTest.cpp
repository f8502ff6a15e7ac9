// Text records, their sizes from the text kind, 255-byte texts, and the dimension state machine.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/tempfile/TempFileTestSupport.h"

namespace jwcount {
namespace {

using test::Entries;
using test::IndexEntries;
using test::ReadLines;
using Ints = std::vector<int32_t>;
using Reals = std::vector<double>;

Reals SizesAndParams(const TJwwEntText& t) {
  return {t.CharWidth, t.CharHeight, t.CharSpacing, t.Param1, t.Param2, t.Param3, t.Param4};
}

TEST(TextRecordsTest, TextTypeFollowsTheKeyword) {
  const std::pair<std::string, int32_t> keywords[] = {{"ch", 0}, {"cv", 1}, {"cs", 2}, {"cr", 3}, {"co", 4},
                                                      {"cp", 5}, {"ct", 6}, {"ck", 7}, {"cz", 8}, {"c2", 9}};
  for (const auto& [keyword, type] : keywords) {
    SCOPED_TRACE(keyword);
    const auto r = ReadLines({keyword + " 1.5 2 -3 4e1 abc"});
    ASSERT_EQ(IndexEntries(*r), (Entries{{4, 0}}));
    const TJwwEntText& t = r->Stores.Texts[0];
    EXPECT_EQ((Ints{t.TextType, t.TextKind, t.CcCode}), (Ints{type, 1, 0}));
    EXPECT_EQ(SizesAndParams(t), (Reals{3, 3, 0, 1.5, 2, -3, 40}));
    EXPECT_EQ(t.Text.View(), "abc");
    EXPECT_EQ(t.FontName.View(), kDefaultFontName);
    EXPECT_EQ(test::HeaderValues(t.Attrs), (Ints{0, 0, 0, 2, 1, 0, 0}));  // the colour of text kind 1
  }
}

TEST(TextRecordsTest, TokenCountDecidesWhatATextLineBecomes) {
  // Five tokens: ignored. A trailing blank makes six: an empty text. Four: a plain line.
  const auto r = ReadLines({"ch 1 2 3 4", "ch 1 2 3 4 ", "ch 1 2 3", "CH 1 2 3 4 x", "ch1 1 2 3 4 x",
                            "ch 0 0 1 1 \"a b c", "ch 1 2 3 4 first second"});
  EXPECT_EQ(IndexEntries(*r), (Entries{{4, 0}, {1, 0}, {4, 1}, {4, 2}}));
  EXPECT_EQ(r->Stores.Texts[0].Text.View(), "");
  EXPECT_EQ(r->Stores.Texts[1].Text.View(), "a b c");
  EXPECT_EQ(r->Stores.Texts[2].Text.View(), "first");
  EXPECT_EQ(r->Stores.Lines[0].X1, 0.0);
}

TEST(TextRecordsTest, SizesAndColourComeFromTheTextKind) {
  const std::initializer_list<std::string_view> table = {"hcw 11 12 13 14 15 16 17 18 19 20",
                                                         "hch 21 22 23 24 25 26 27 28 29 30",
                                                         "hcd 31 32 33 34 35 36 37 38 39 40",
                                                         "hcc 41 42 43 44 45 46 47 48 49 50",
                                                         "cn0 5 6 0.5 7",
                                                         "lc9",
                                                         "cc5"};
  const std::tuple<std::string_view, int32_t, Reals, int32_t> cases[] = {
      // clang-format off
      {"cn1", 1, {11, 21, 31}, 41}, {"cn3", 3, {13, 23, 33}, 43}, {"cn10", 10, {20, 30, 40}, 50},
      {"cn", 0, {5, 6, 0.5}, 7}, {"cn11", 11, {5, 6, 0.5}, 7}, {"cn-1", -1, {5, 6, 0.5}, 7}
      // clang-format on
  };
  for (const auto& [kindLine, kind, sizes, colour] : cases) {
    auto r = test::ReadLineList(table);
    r->ParseLine(kindLine);
    r->ParseLine("ct 0 0 0 0 x");
    const TJwwEntText& t = r->Stores.Texts[0];
    EXPECT_EQ((Ints{t.TextKind, t.CcCode, t.Attrs.LineColour, r->Current.LineColour}),
              (Ints{kind, 5, colour, 9}))
        << kindLine;
    EXPECT_EQ((Reals{t.CharWidth, t.CharHeight, t.CharSpacing}), sizes) << kindLine;
  }
}

TEST(TextRecordsTest, FontNameAndTextKeepAtMost255Bytes) {
  const std::string longFont(300, 'f');
  const std::string longText(300, 't');
  // Byte 255 is the first byte of a double-byte character: the stored text ends with that byte alone.
  const std::string split = std::string(254, 'a') + "\x82\xA0\x82\xA2";
  const std::string lines[] = {
      "cn$" + longFont,      "ch 0 0 0 0 " + longText, "ch 0 0 0 0 " + std::string(255, 'e'),
      "ch 0 0 0 0 " + split, "cn$\x82\x6c\x82\x72",    "ch 0 0 0 0 \x93\xFA\x96\x7B"};
  const auto r = test::ReadLineList(lines);
  ASSERT_EQ(r->StoreCount(kText), 4);
  EXPECT_EQ(r->Stores.Texts[0].FontName.View(), longFont.substr(0, 255));
  EXPECT_EQ(r->Stores.Texts[0].Text.View(), longText.substr(0, 255));
  EXPECT_EQ(r->Stores.Texts[1].Text.View(), std::string(255, 'e'));
  EXPECT_EQ(r->Stores.Texts[2].Text.View(), std::string(254, 'a') + "\x82");
  EXPECT_EQ(r->Stores.Texts[3].FontName.View(), "\x82\x6c\x82\x72");
  EXPECT_EQ(r->Stores.Texts[3].Text.View(), "\x93\xFA\x96\x7B");
}

TEST(TextRecordsTest, ManyTextsKeepTheirOwnBytes) {
  const auto body = [](int i) { return std::to_string(i) + std::string(100 + i % 150, char('a' + i % 26)); };
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) {
    if (i % 500 == 0) lines.push_back("cn$F" + std::to_string(i));
    lines.push_back("ch 0 0 0 0 " + body(i));
  }
  const auto r = test::ReadLineList(lines);
  ASSERT_EQ(r->StoreCount(kText), 3000);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(r->Stores.Texts[i].Text.View(), body(i)) << i;
    ASSERT_EQ(r->Stores.Texts[i].FontName.View(), "F" + std::to_string(i / 500 * 500)) << i;
  }
}

TEST(DimensionTest, MessageLineAndCsTextMakeOneDimension) {
  const auto r = ReadLines({"lc3", "msg", "hhp5", "z1", "1 2 3 4", "lc5", "hhp6", "z2", "cn0 4 4 0 8",
                            "cs 5 6 7 8 100", "ci 1 2 3"});
  EXPECT_EQ(IndexEntries(*r), (Entries{{7, 0}, {2, 0}}));
  const TJwwEntDim& d = r->Stores.Dimensions[0];
  EXPECT_EQ(test::Ends(d.DimLine), (Reals{1, 2, 3, 4}));
  EXPECT_EQ(d.DimLine.PolylineNo, 0);
  EXPECT_EQ(d.DimText.TextType, 2);
  EXPECT_EQ(SizesAndParams(d.DimText), (Reals{4, 4, 0, 5, 6, 7, 8}));
  EXPECT_EQ(d.DimText.Text.View(), "100");
  // The dimension keeps the line colour in force, its line the one of its own time, its text the
  // character colour.
  EXPECT_EQ(test::HeaderValues(d.Attrs), (Ints{6, 0, 0, 5, 1, 0, 2}));
  EXPECT_EQ(test::HeaderValues(d.DimLine.Attrs), (Ints{5, 0, 0, 3, 1, 0, 1}));
  EXPECT_EQ(test::HeaderValues(d.DimText.Attrs), (Ints{6, 0, 0, 8, 1, 0, 2}));
  EXPECT_EQ(test::HeaderValues(r->Stores.Circles[0].Attrs), (Ints{0, 0, 0, 5, 1, 0, 0}));
  EXPECT_EQ(test::Ends(r->Current.PendingDimensionLine), (Reals{1, 2, 3, 4}));  // kept after the dimension
  EXPECT_FALSE(r->Current.DimensionPending);
}

TEST(DimensionTest, StateMachineSequences) {
  // The index after the lines, and the line of the last dimension (if any).
  const std::tuple<std::vector<std::string>, Entries, Reals> cases[] = {
      // clang-format off
      {{"msg", "cs 0 0 0 0 t"}, {{7, 0}}, {0, 0, 1, 0}},  // the line of the reset
      {{"msg", "1 1 2 2", "cs 0 0 0 0 t", "msg", "cs 0 0 0 0 u"}, {{7, 0}, {7, 1}}, {1, 1, 2, 2}},
      {{"msg", "1 1 2 2", "3 3 4 4", "cs 0 0 0 0 t"}, {{7, 0}}, {3, 3, 4, 4}},
      {{"msg", "1 1 2 2", "cs 0 0 0 0 t", "cs 0 0 0 0 u"}, {{7, 0}, {4, 0}}, {1, 1, 2, 2}},
      {{"msg", "1 1 2 2", "ch 0 0 0 0 t", "cs 0 0 0 0 u"}, {{4, 0}, {4, 1}}, {}},
      {{"cs 0 0 0 0 t"}, {{4, 0}}, {}},
      {{"msg", "1 1 2 2", "ci 0 0 1", "cs 0 0 0 0 t"}, {{2, 0}, {4, 0}}, {}},
      {{"msg", "1 1 2 2", "sl 0 0 1 1", "cs 0 0 0 0 t", "5 5 6 6"}, {{9, 0}, {4, 0}, {1, 0}}, {}},
      {{"msg", "1 1 2 2", "pl", "3 3 4 4", "cs 0 0 0 0 t"}, {{1, 0}, {4, 0}}, {}},
      {{"msg", "1 1 2 2", "#", "cs 0 0 0 0 t"}, {{4, 0}}, {}},
      {{"msg", "msg", "1 1 2 2", "cs 0 0 0 0 t"}, {{7, 0}}, {1, 1, 2, 2}},
      {{"msg", "1 1 2 2", "lg1", "ly2", "lc3", "lt4", "lw5", "cn6", "cc7", "pn8", "z1", "hhp2", "hp1 1 1", "hk 1",
        "bz", "xyz", "cs 0 0 0 0 t"}, {{7, 0}}, {1, 1, 2, 2}},
      {{"msg", "1 1 2 2", "cs 1 2 3", "cs 0 0 0 0 t"}, {{7, 0}}, {0, 1, 2, 3}},    // four tokens: a held line
      {{"msg", "1 1 2 2", "cs 1 2 3 4", "cs 0 0 0 0 t"}, {{7, 0}}, {1, 1, 2, 2}},  // five: ignored
      {{"pl", "msg", "1 1 2 2", "cs 0 0 0 0 t", "3 3 4 4"}, {{7, 0}, {1, 0}}, {1, 1, 2, 2}}
      // clang-format on
  };
  for (const auto& [lines, entries, dimLine] : cases) {
    const auto r = test::ReadLineList(lines);
    std::string trace;
    for (const std::string& line : lines) trace += line + " / ";
    EXPECT_EQ(IndexEntries(*r), entries) << trace;
    const int32_t dims = r->StoreCount(kDimension);
    if (dims > 0) {
      EXPECT_EQ(test::Ends(r->Stores.Dimensions[dims - 1].DimLine), dimLine) << trace;
    }
  }
  EXPECT_EQ(ReadLines({"pl", "msg", "1 1 2 2", "cs 0 0 0 0 t", "3 3 4 4"})->Stores.Lines[0].PolylineNo, 0);
  EXPECT_EQ(ReadLines({"msg", "1 1 2 2", "cs 0 0 0 0 t", "cs 0 0 0 0 u"})->Stores.Texts[0].TextType, 2);
  EXPECT_EQ(ReadLines({"msg", "1 1 2 2", "ch 0 0 0 0 t"})->Stores.Texts[0].TextType, 0);
}

}  // namespace
}  // namespace jwcount
