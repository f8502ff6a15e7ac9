// CSV for spreadsheets: quoting, the formula guard on names from other people's drawings, and the file
// around the fields (byte-order mark, first line, CR LF, Shift-JIS converted).
#include "report/CsvWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/ReportTexts.h"

namespace jwcount {
namespace {

TEST(CsvField, QuotesWhatSplitsAFieldAndGuardsFormulas) {
  const struct {
    std::string text;
    std::string field;
  } cases[] = {
      {"", ""},
      {"0－3 壁", "0－3 壁"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"a\nb", "\"a\nb\""},
      // Each text a spreadsheet would take as a formula gets an apostrophe in front.
      {"=SUM(1)", "'=SUM(1)"},
      {"+1", "'+1"},
      {"-1", "'-1"},
      {"@cmd", "'@cmd"},
      {"\tx", "'\tx"},
      {"\r=1", "\"'\r=1\""},
      {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
      // Only the first character counts, and an apostrophe or a digit there starts no formula.
      {"a=b", "a=b"},
      {"'=1", "'=1"},
      {"12", "12"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string out = "x";
    AppendCsvField(out, c.text);
    EXPECT_EQ(out, "x" + c.field);
  }
}

TEST(CsvFile, ByteOrderMarkFirstLineAndShiftJisRows) {
  const std::vector<std::vector<std::string>> rows = {
      {"\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC", "\x90\x94"},  // ブロック名, 数
      {"=1", "2"},
      {"\x87\x40\x87\x75", ""},  // ①㎡, CP932 only
      {"a\x81\"b", "3"},         // a byte that starts no character, then a quote
  };
  EXPECT_EQ(CsvFile(rows, AsChars(kShortReadWarning)),
            "\xEF\xBB\xBF"
            "JWC_TEMP.TXT を最後まで読めませんでした。表示は読めた分の数です。\r\n"
            "ブロック名,数\r\n'=1,2\r\n①㎡,\r\n\"a\xEF\xBF\xBD\"\"b\",3\r\n");
  EXPECT_EQ(CsvFile({{"a"}}),
            "\xEF\xBB\xBF"
            "a\r\n");
}

}  // namespace
}  // namespace jwcount
