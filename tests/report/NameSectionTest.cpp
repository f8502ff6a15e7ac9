// The order of a list of names (by name in JIS order, by count, stable both ways) and the list as page 7
// shows it.
#include "report/NameSection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/CountTexts.h"
#include "report/CsvWriter.h"

namespace jwcount {
namespace {

TEST(SortNameRows, ByNameInJisOrderAndByCountKeepingTiesInTheirFirstOrder) {
  const std::vector<std::pair<std::string, int>> names = {
      {"\x95\xD6\x8A\xED", 1},          // 0 便器 (べん)
      {"\x88\xD6\x8E\x71", 6},          // 1 椅子 (い)
      {"\x8F\xC6\x96\xBE\x87\x40", 3},  // 2 照明① (しょう)
      {"\x97\xAC\x82\xB5\x91\xE4", 1},  // 3 流し台 (りゅう)
      {"\xC4\xB2\xDA", 3},              // 4 ﾄｲﾚ, half-width
      {"\x83\x67\x83\x43\x83\x8C", 2},  // 5 トイレ: the same name to the sort, so after ﾄｲﾚ
      {"", 1},                          // 6 a block without a name
      {"b", 2},                         // 7
      {"A", 1},                         // 8 before b: case does not count
      {"\xB6\xDE\xBD", 1},              // 9 ｶﾞｽ, as ガス: after カス
      {"\x83\x4A\x83\x58", 6},          // 10 カス
      {"\x81", 1},                      // 11 a lone lead byte
  };
  NameCountTable table;
  for (const auto& [name, count] : names) {
    for (int i = 0; i < count; ++i) table.Tally(name);
  }
  const std::vector<int32_t> byName = {6, 8, 7, 11, 10, 9, 4, 5, 1, 2, 0, 3};
  EXPECT_EQ(SortNameRows(table, NameOrder::kName, false), byName);
  EXPECT_EQ(SortNameRows(table, NameOrder::kName, true),
            (std::vector<int32_t>{3, 0, 2, 1, 4, 5, 9, 10, 11, 7, 8, 6}));  // ﾄｲﾚ still before トイレ
  EXPECT_EQ(SortNameRows(table, NameOrder::kCount, false),
            (std::vector<int32_t>{0, 3, 6, 8, 9, 11, 5, 7, 2, 4, 1, 10}));
  EXPECT_EQ(SortNameRows(table, NameOrder::kCount, true),
            (std::vector<int32_t>{1, 10, 2, 4, 5, 7, 0, 3, 6, 8, 9, 11}));
  EXPECT_EQ(SortNameRows(table, NameOrder::kAppearance, false),
            (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(NameSection, HeadsNamesAndTotalLastWhateverTheOrder) {
  NameCountTable table;
  NameSection source(NameSection::kBlocks, table);
  source.Reset();
  // No blocks: the heads and the total 0, which is also what the CSV save writes.
  EXPECT_EQ(CsvFile(GridRows(source)),
            "\xEF\xBB\xBF\xE3\x83\x96\xE3\x83\xAD\xE3\x83\x83\xE3\x82\xAF\xE5\x90\x8D,"
            "\xE6\x95\xB0\r\n\xE5\x90\x88\xE8\xA8\x88,0\r\n");  // ブロック名,数 / 合計,0
  for (const char* name : {"x", "y", "y", "=1", "y"}) table.Tally(name);
  source.Reset();
  EXPECT_EQ(source.RowCount(), 5);
  EXPECT_EQ(source.FixedColumns(), 0);
  EXPECT_EQ(source.SortMark(0), 0);
  source.SortBy(NameSection::kCountColumn);
  EXPECT_EQ(source.SortMark(NameSection::kCountColumn), 1);
  EXPECT_EQ(source.CellText(0, 1) + source.CellText(1, 1), "x1");
  source.SortBy(NameSection::kCountColumn);  // the same head again: the other way round
  EXPECT_EQ(source.SortMark(NameSection::kCountColumn), -1);
  EXPECT_EQ(source.SortMark(NameSection::kNameColumn), 0);
  EXPECT_EQ(source.CellText(0, 1) + source.CellText(1, 1), "y3");
  source.SortBy(NameSection::kNameColumn);  // another head: ascending by it
  EXPECT_EQ(source.SortMark(NameSection::kNameColumn), 1);
  const std::string csv = CsvFile(GridRows(source));
  EXPECT_EQ(csv.substr(csv.find("\r\n") + 2),                          // after the heads
            "'=1,1\r\nx,1\r\ny,3\r\n\xE5\x90\x88\xE8\xA8\x88,5\r\n");  // the total stays last
  EXPECT_EQ(source.CellText(2, 1), "");
  EXPECT_EQ(source.CellText(0, 5), "");
}

}  // namespace
}  // namespace jwcount
