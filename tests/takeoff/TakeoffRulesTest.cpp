// The rules file read from Excel's CSV.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "takeoff/Sha256.h"
#include "takeoff/TakeoffRules.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// The fixtures are written here in UTF-8; a file "saved by Excel as CSV" is their code-page-932 form.
std::string Sjis(std::string_view utf8) {
  return Utf8ToShiftJis(utf8);
}
std::string Utf8(std::string_view shiftJis) {
  return ShiftJisToUtf8(shiftJis);
}

std::string Numbers(const std::vector<int32_t>& values) {
  std::string out;
  for (const int32_t v : values) out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Everything read, one line per item, rule, ignored column and error, texts in UTF-8.
std::string Describe(const TakeoffRules& rules) {
  std::string out;
  for (const TakeoffItemDef& i : rules.Items) {
    out += "item " + std::to_string(i.Line) + " trade=" + Utf8(i.Trade) + " name=" + Utf8(i.Name) +
           " grade=" + Utf8(i.Grade) + " unit=" + Utf8(i.Unit) +
           " source=" + std::to_string(static_cast<int>(i.Source)) + " loss=" + Number(i.LossPercent) +
           " rounding=" + std::to_string(static_cast<int>(i.Rounding)) +
           " digits=" + std::to_string(i.Digits) +
           " price=" + (i.UnitPriceMicros ? std::to_string(*i.UnitPriceMicros) : "none") +
           " note=" + Utf8(i.Note) + "\n";
  }
  for (const TakeoffRule& r : rules.Rules) {
    char kinds[16];
    std::snprintf(kinds, sizeof kinds, "%x", r.Columns);
    out += "rule " + std::to_string(r.Line) + " item=" + std::to_string(r.Item) + " kinds=" + kinds +
           " group=" + std::to_string(r.LayerGroup) + " groupname=" + Utf8(r.LayerGroupName.Text()) +
           " layer=" + std::to_string(r.LayerOfGroup) + "," + std::to_string(r.Layer) +
           " layername=" + Utf8(r.LayerName.Text()) + " colours=" + Numbers(r.Colours) +
           " types=" + Numbers(r.Types) + " widths=" + Numbers(r.Widths) +
           " block=" + Utf8(r.BlockName.Text()) + " text=" + Utf8(r.Text.Text()) +
           " factor=" + Number(r.Factor) + " continue=" + (r.Continue ? "1" : "0") + "\n";
  }
  for (const std::string& head : rules.IgnoredColumns) out += "ignored " + Utf8(head) + "\n";
  for (const TakeoffError& e : rules.Errors)
    out += "error " + std::to_string(e.Line) + " " + Utf8(e.Column) + " " + Utf8(e.Message) + "\n";
  return out;
}

// A sheet as office staff keep it: every column, in their own order, with an extra column of their own,
// full-width digits and marks, quoted cells, one item over two rows, half-width katakana and CR LF.
TEST(TakeoffRules, ReadsTheSameFromCodePage932AndUtf8WithOrWithoutMark) {
  const std::string utf8 =
      "工種,品名,規格,単位,数量元,種別,レイヤグループ,レイヤ,線色,線種,線幅,ブロック名,文字,係数,ロス率,丸め,"
      "桁,"
      "単価,継続,備考,担当\r\n"
      "電気設備,照明器具,\"LED 40W, 直付\",台,個数,BLOCK,,,,,,LIGHT-*,,,,,,\"¥12,800\",,器具は支給,山田\r\n"
      "電気設備,VVFケーブル,2.0-3C,,長さ,線／円弧,２,２－Ａ,線色2/SXF12/2,線種1,,,,1.05,5%,切上げ,1,"
      "１２０．５円,○,\r\n"
      "電気設備,VVFケーブル,2.0-3C,,長さ,線,2,*-B,,,,,,1,５％,切り上げ,1,120.5,, 予備配線 \r\n"
      "建築,床仕上げ,ﾀｲﾙｶｰﾍﾟｯﾄ,,面積,ソリッド,,床*,,SXF3,\"1,000/0\",,,,,四捨五入,2,\"3,200\",,\r\n"
      "　,凡例,,,,文字,F,,,,,,凡例?,,,,,,0,\r\n";
  const std::string expected =
      "item 2 trade=電気設備 name=照明器具 grade=LED 40W, 直付 unit=台 source=0 loss=0 rounding=0 digits=0 "
      "price=12800000000 note=器具は支給\n"
      "item 3 trade=電気設備 name=VVFケーブル grade=2.0-3C unit=m source=1 loss=5 rounding=1 digits=1 "
      "price=120500000 note=予備配線\n"
      "item 5 trade=建築 name=床仕上げ grade=ﾀｲﾙｶｰﾍﾟｯﾄ unit=㎡ source=2 loss=0 rounding=2 digits=2 "
      "price=3200000000 note=\n"
      "item 6 trade= name=凡例 grade= unit=個 source=0 loss=0 rounding=0 digits=0 price=none note=\n"
      "rule 2 item=0 kinds=80 group=-1 groupname= layer=-1,-1 layername= colours= types= widths= "
      "block=LIGHT-* text= factor=1 continue=0\n"
      "rule 3 item=1 kinds=6 group=2 groupname= layer=2,10 layername= colours=2,112 types=1 widths= block= "
      "text= factor=1.05 continue=1\n"
      "rule 4 item=1 kinds=2 group=2 groupname= layer=-1,11 layername= colours= types= widths= block= text= "
      "factor=1 continue=0\n"
      "rule 5 item=2 kinds=3f00 group=-1 groupname= layer=-1,-1 layername=床* colours= types=33 "
      "widths=0,1000 block= text= factor=1 continue=0\n"
      "rule 6 item=3 kinds=8 group=15 groupname= layer=-1,-1 layername= colours= types= widths= block= "
      "text=凡例? factor=1 continue=0\n"
      "ignored 担当\n";
  const std::string shiftJis = Sjis(utf8);
  ASSERT_NE(shiftJis, utf8);
  EXPECT_EQ(Describe(ReadTakeoffRules(shiftJis)), expected);
  EXPECT_EQ(Describe(ReadTakeoffRules(utf8)), expected);
  EXPECT_EQ(Describe(ReadTakeoffRules("\xEF\xBB\xBF" + utf8)), expected);
  // The texts are Shift-JIS bytes, as the drawing's names are.
  const TakeoffRules rules = ReadTakeoffRules(utf8);
  ASSERT_EQ(rules.Items.size(), 4u);
  EXPECT_EQ(rules.Items[2].Unit, "\x87\x75");
  EXPECT_EQ(rules.Items[0].UnitPriceMicros, 12'800'000'000);
}

// Rows as "line:name:grade", or the errors as "error line column".
std::string Rows(const TakeoffRules& rules) {
  std::string out;
  for (const TakeoffError& e : rules.Errors)
    out += "error " + std::to_string(e.Line) + " " + Utf8(e.Column) + ";";
  for (const TakeoffRule& r : rules.Rules) {
    const TakeoffItemDef& item = rules.Items[static_cast<std::size_t>(r.Item)];
    out += std::to_string(r.Line) + ":" + Utf8(item.Name) + ":" + Utf8(item.Grade) + ";";
  }
  return out;
}

TEST(TakeoffRules, SplitsCellsAsExcelWritesThem) {
  const struct {
    std::string_view csv;
    std::string_view rows;
  } cases[] = {
      {"品名,規格\n\"A,1\",\"say \"\"hi\"\"\"\n", "2:A,1:say \"hi\";"},
      // A line break in a quoted cell: the next row starts two lines on.
      {"品名,規格\nA,\"x\ny\"\nB,z\n", "2:A:x\ny;4:B:z;"},
      {"品名,規格\r\nA,\"x\r\ny\"\r\n\r\nB,2", "2:A:x\r\ny;5:B:2;"},
      // Blank rows, also of commas and blanks alone, are left out; so is one before the heads.
      {"\n品名,規格\n , \n,　\n\"\",\nA,1\n", "6:A:1;"},
      // What follows a closing quote belongs to the cell; a quote inside an unquoted cell is a quote.
      {"品名,規格\n\"A\"x,\"1\" 2\nB\"C,\n", "2:Ax:1 2;3:B\"C:;"},
      {"品名,規格\nA\nB,1,extra\n", "2:A:;3:B:1;"},
      // A quote that is never closed swallows the rest of the file: an error at the row where it opens.
      {"品名,規格\nA,1\nB,\"open\nC,3\n", "error 3 ;"},
      {"\"品名,規格\nA,1\n", "error 1 ;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    EXPECT_EQ(Rows(ReadTakeoffRules(Sjis(c.csv))), c.rows);
  }
}

TEST(TakeoffRules, ReadsValuesAndRefusesWhatItCannotRead) {
  const struct {
    std::string_view head;
    std::string_view cell;
    std::string_view expected;  // part of the description, or "error" for an error in the cell's column
  } cases[] = {
      {"係数", "\"1,234.5\"", "factor=1234.5 "},
      {"係数", "１２．５", "factor=12.5 "},
      {"係数", "0", "factor=0 "},
      {"係数", "\"12,34\"", "error"},
      {"係数", "\"1234,567\"", "error"},
      {"係数", "-1", "error"},
      {"係数", "1e3", "error"},
      {"係数", "1.2.3", "error"},
      {"係数", ".", "error"},
      {"ロス率", "５％", "loss=5 "},
      {"ロス率", "2.5 %", "loss=2.5 "},
      {"ロス率", "%", "error"},
      {"単価", "\"¥3,200円\"", "price=3200000000 "},
      {"単価", "￥ 0.000001", "price=1 "},
      {"単価", "999999999999.999999", "price=999999999999999999 "},
      {"単価", "1000000000000", "error 2 単価 単価は整数 12 桁、小数 6 桁までです"},
      {"単価", "1.0000001", "error 2 単価 単価は整数 12 桁、小数 6 桁までです"},
      {"単価", "円", "error 2 単価 数として読めません"},
      {"線色", "線色10/SXF256/101/１", "colours=1,10,101,356 "},
      {"線色", "11", "error"},
      {"線色", "100", "error"},
      {"線色", "SXF0", "error"},
      {"線色", "線色11", "error"},
      {"線種", "線種19/SXF32/31", "types=19,31,62 "},
      {"線種", "20", "error"},
      {"線種", "63", "error"},
      {"線幅", "30000/0/0", "widths=0,30000 "},
      {"線幅", "30001", "error"},
      {"線幅", "1.5", "error"},
      {"線幅", "/", "error"},
      {"種別", "3SLD/４SLD", "kinds=600 "},
      {"種別", "ソリッド/線", "kinds=3f02 "},
      {"種別", "円SLD／円環S/点マ/寸法", "kinds=2860 "},
      {"種別", "円", "error"},
      {"レイヤ", "2-*", "layer=2,-1 layername= "},
      {"レイヤ", "＊－ｆ", "layer=-1,15 layername= "},
      {"レイヤ", "*", "layer=-1,-1 layername= "},
      {"レイヤ", "2-G", "layer=-1,-1 layername=2-G "},
      {"レイヤ", "1F-2", "layer=-1,-1 layername=1F-2 "},
      {"レイヤグループ", "a", "group=10 groupname= "},
      {"レイヤグループ", "1階", "group=-1 groupname=1階 "},
      {"数量元", "面積", "unit=㎡ source=2 "},
      {"数量元", "重さ", "error"},
      {"丸め", "切り捨て", "rounding=3 "},
      {"丸め", "切り下げ", "error"},
      {"桁", "３", "digits=3 "},
      {"桁", "4", "error 2 桁 0 から 3 の整数にしてください"},
      {"桁", "1.0", "error"},
      {"継続", "○", "continue=1"},
      {"継続", "0", "continue=0"},
      {"継続", "はい", "error"},
  };
  for (const auto& c : cases) {
    const std::string csv = "品名," + std::string(c.head) + "\nA," + std::string(c.cell) + "\n";
    SCOPED_TRACE(csv);
    const std::string expected =
        c.expected == "error" ? "error 2 " + std::string(c.head) + " " : std::string(c.expected);
    const std::string described = Describe(ReadTakeoffRules(Sjis(csv)));
    EXPECT_NE(described.find(expected), std::string::npos) << described;
    EXPECT_EQ(Describe(ReadTakeoffRules("\xEF\xBB\xBF" + csv)), described);
  }
}

TEST(TakeoffRules, ErrorsNameLineAndColumnAndLeaveNoRules) {
  // Errors in file order and, within a row, from left to right; every one found, not just the first.
  const TakeoffRules rules =
      ReadTakeoffRules(Sjis("品名,線色,線色,桁,ブロック名,文字,メモ\n"
                            "A,1,,5,,,\n"
                            ",,,,,,x\n"
                            "B,x,,,X*,*Y,\n"
                            "C,,,,,,\n"));
  EXPECT_EQ(Describe(rules),
            "ignored メモ\n"
            "error 1 線色 同じ見出しの列が二つあります\n"
            "error 2 桁 0 から 3 の整数にしてください\n"
            "error 3 品名 品名がありません\n"
            "error 4 線色 線色の番号ではありません\n"
            "error 4 文字 ブロック名と文字は一つの行に両方書けません\n");

  const struct {
    std::string name;
    std::string bytes;
    std::string errors;
  } cases[] = {
      {"empty file", "", "error 1 品名 品名の列がありません\n"},
      {"no name column", Sjis("規格\nA\n"), "error 1 品名 品名の列がありません\n"},
      // In a UTF-8 file a character code page 932 lacks is an error in its cell, unless nobody reads it.
      {"not Shift-JIS", "品名,規格,メモ\nA,é,\nB,,é\n",
       "ignored メモ\nerror 2 規格 Shift-JIS にない文字があります\n"},
      {"too large", std::string(kMaxRulesFileBytes + 1, 'a'), "error 0  ファイルが 4 MB を超えています\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Describe(ReadTakeoffRules(c.bytes)), c.errors);
  }

  // 10,000 rows are taken; at the 10,001st the reading stops, with blank rows not counted.
  std::string rows = Sjis("品名\n\n");
  for (int32_t i = 0; i < kMaxRuleRows; ++i) rows += "A\n";
  const TakeoffRules most = ReadTakeoffRules(rows);
  EXPECT_TRUE(most.Errors.empty());
  EXPECT_EQ(most.Rules.size(), static_cast<std::size_t>(kMaxRuleRows));
  EXPECT_EQ(most.Items.size(), 1u);
  const TakeoffRules tooMany = ReadTakeoffRules(rows + "\nB\n,\"");
  ASSERT_EQ(tooMany.Errors.size(), 1u);
  EXPECT_EQ(tooMany.Errors[0].Line, kMaxRuleRows + 4);
  EXPECT_TRUE(tooMany.Rules.empty());
  EXPECT_TRUE(tooMany.Items.empty());
}

TEST(TakeoffRules, RowsOfOneItemAgreeOnEverythingButTheirFactor) {
  const TakeoffRules rules =
      ReadTakeoffRules(Sjis("工種,品名,単位,係数,桁,備考\n"
                            "電気,照明,,1,0,\n"
                            "電気,照明,個,2,,最初の備考\n"
                            "電気,照明,台,,,\n"
                            "建築,照明,,,,\n"
                            "電気,照明,,,,別の備考\n"));
  ASSERT_TRUE(rules.Errors.empty());
  std::vector<int32_t> itemOfRule;
  for (const TakeoffRule& r : rules.Rules) itemOfRule.push_back(r.Item);
  EXPECT_EQ(itemOfRule, (std::vector<int32_t>{0, 0, 1, 2, 0}));
  ASSERT_EQ(rules.Items.size(), 3u);
  EXPECT_EQ(Utf8(rules.Items[0].Note), "最初の備考");
  EXPECT_EQ(rules.Items[1].Line, 4);
  EXPECT_EQ(rules.Rules[1].Factor, 2);

  // The first column that differs from the item's first row, which the message names.
  EXPECT_EQ(Describe(ReadTakeoffRules(Sjis("品名,単位,数量元,桁,単価\n"
                                           "A,,,1,100\n"
                                           "A,,個数,1,\"¥100\"\n"
                                           "A,,,2,200\n"
                                           "A,,長さ,1,200\n"
                                           "A,m,,1,200\n"))),
            "error 4 桁 行 2 の同じ品目と違います\n"
            "error 6 数量元 行 5 の同じ品目と違います\n");
}

TEST(NamePattern, MatchesWholeNamesCharacterByCharacter) {
  const std::string a255(255, 'a');
  const struct {
    std::string pattern;
    std::string name;
    bool matches;
  } cases[] = {
      {"", "", true},
      {"", "a", false},
      {"abc", "abc", true},
      {"abc", "abC", false},
      {"abc", "abcd", false},
      {"*", "", true},
      {"**", "xyz", true},
      {"a*", "a", true},
      {"*c", "abc", true},
      {"a*c", "ac", true},
      {"a*a", "a", false},
      {"a*b*c", "aXbYc", true},
      {"a*b*c", "acb", false},
      {"*ab*ab", "abab", true},
      {"*ab*ab", "aba", false},
      {"*?b*", "ab", true},
      {"LIGHT-*", "LIGHT-A", true},
      // ? takes a double-byte character whole; a trail byte is never a character of its own.
      {"?", "\x82\xA0", true},
      {"??", "\x82\xA0", false},
      {"?", "ab", false},
      {"\x82\xA0*", "\x82\xA0\x82\xA2", true},
      {"*\\", "\x95\x5C", false},   // 表 ends in 0x5C
      {"*\\", "\x95\x5C\\", true},  // 表 and a backslash
      {"?\\", "\x95\x5C", false},
      {"*A*", "\x82\x41", false},  // 0x82 0x41 is one character
      {"\x81*", "\x81*", true},    // a star after a lead byte is that character's second byte
      {"\x81*", "\x81x", false},
      {"*a*a*a*a*a*a*a*b", a255, false},
      {"*a*a*a*a*a*a*a*", a255, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern + " / " + c.name.substr(0, 20));
    EXPECT_EQ(NamePattern(c.pattern).Matches(c.name), c.matches);
  }
  EXPECT_TRUE(NamePattern().Matches(""));
  EXPECT_TRUE(NamePattern().Empty());
}

TEST(Sha256, StandardVectorsAndBlockEdges) {
  const struct {
    std::string bytes;
    std::string_view hex;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    EXPECT_EQ(Sha256Hex(c.bytes), c.hex);
  }
}

}  // namespace
}  // namespace jwcount
