// Page 8: the rows that measure something under each grouping, their figures for people and for the CSV
// save, and the sort that keeps 合計 last.
#include "app/view/QuantityPage.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "counting/CountTexts.h"
#include "report/CountReport.h"
#include "report/CountSection.h"

namespace jwcount {
namespace {

const std::string kTotal = "\x8D\x87\x8C\x76";  // 合計

EntityAttributes At(int group, int layer, int colour) {
  EntityAttributes a;
  a.LayerGroup = group;
  a.Layer = layer;
  a.LineColour = colour;
  a.LineType = 1;
  return a;
}

std::vector<std::string> Column(const GridSource& source, int column) {
  std::vector<std::string> cells;
  for (int row = 1; row < source.RowCount(); ++row) cells.push_back(source.CellText(column, row));
  return cells;
}

class QuantityPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareCountTables(tables);
    TallyEntity(tables, kLine, At(0, 3, 2), {.LineLength = 1500});
    TallyEntity(tables, kArc, At(0, 3, 2), {.CurveLength = 500.25});
    TallyEntity(tables, kText, At(0, 4, 2));  // measures nothing: no row of its own
    TallyEntity(tables, kSolidQuad, At(1, 0, 7), {.Area = 2.5e6});
    TallyEntity(tables, kLine, At(2, 5, 1), {.LineLength = 1234567891.4});
    const double largest = std::numeric_limits<double>::max();
    TallyEntity(tables, kLine, At(2, 6, 1), {.LineLength = largest});
    TallyEntity(tables, kLine, At(2, 6, 1), {.LineLength = largest});  // the sum goes beyond a double
    FinishCountTables(tables);
  }
  CountTables tables;
  DrawingState drawing;
};

TEST_F(QuantityPageTest, RowsFiguresAndCsvByLayer) {
  QuantityTableSource source(tables, drawing);
  EXPECT_EQ(Column(source, 0), (std::vector<std::string>{"0\x81\x7C"
                                                         "3",
                                                         "0\x81\x7C\x8C\x76",
                                                         "1\x81\x7C"
                                                         "0",
                                                         "1\x81\x7C\x8C\x76",
                                                         "2\x81\x7C"
                                                         "5",
                                                         "2\x81\x7C"
                                                         "6",
                                                         "2\x81\x7C\x8C\x76", kTotal}));
  EXPECT_EQ(source.CellText(0, 0), kQuantityGroupings[0]);
  const std::vector<std::string> row1 = {source.CellText(2, 1), source.CellText(3, 1), source.CellText(4, 1),
                                         source.CellText(5, 1)};
  EXPECT_EQ(row1, (std::vector<std::string>{"1.500", "0.500", "2.000", "0.000"}));
  EXPECT_EQ(source.CellText(5, 3), "2.500");          // ㎡
  EXPECT_EQ(source.CellText(2, 5), "1,234,567.891");  // three decimals, thousands apart
  EXPECT_EQ(source.CellText(2, 6), "\x81\x48");       // ？: beyond the range of a double
  EXPECT_EQ(source.CsvText(3, 1), "0.50025");         // the CSV save writes the figure whole
  EXPECT_EQ(source.CsvText(2, 6), "");
  EXPECT_TRUE(source.RightAligned(2) && !source.RightAligned(1));
}

TEST_F(QuantityPageTest, ChoicesRegroupAndSortingKeepsTheTotalLast) {
  QuantityTableSource source(tables, drawing);
  ASSERT_EQ(source.Choices().size(), 5u);
  ASSERT_TRUE(source.Choose(2));  // by line colour
  EXPECT_EQ(source.Chosen(), 2);
  EXPECT_EQ(Column(source, 0), (std::vector<std::string>{"\x90\xFC\x90\x46"
                                                         "1",
                                                         "\x90\xFC\x90\x46"
                                                         "2",
                                                         "\x90\xFC\x90\x46"
                                                         "7",
                                                         kTotal}));
  EXPECT_FALSE(source.Choose(5));
  ASSERT_TRUE(source.SortBy(4));
  ASSERT_TRUE(source.SortBy(4));  // 長さ計, largest first
  EXPECT_EQ(source.SortMark(4), -1);
  EXPECT_EQ(Column(source, 0).front(),
            "\x90\xFC\x90\x46"
            "1");
  EXPECT_EQ(Column(source, 0).back(), kTotal);
  ASSERT_TRUE(source.Choose(0));  // another grouping starts unsorted
  EXPECT_EQ(source.SortMark(4), 0);
  EXPECT_EQ(Column(source, 0).front(),
            "0\x81\x7C"
            "3");
}

// Under every grouping and sorted, a row covers what the row of the same head covers on its count page.
TEST_F(QuantityPageTest, RowsCoverWhatTheirCountRowsCover) {
  QuantityTableSource source(tables, drawing);
  for (int grouping = 0; grouping < 5; ++grouping) {
    ASSERT_TRUE(source.Choose(grouping));
    ASSERT_TRUE(source.SortBy(4) && source.SortBy(4));  // 長さ計, largest first: no longer the table's order
    const auto id = static_cast<CountTableId>(grouping);
    const CountTable& table = kCountTableList[static_cast<std::size_t>(grouping)].Of(tables);
    const CountSection section(table, drawing, id);
    EXPECT_FALSE(source.RowCover(0).CoversAny());
    for (int row = 1; row < source.RowCount(); ++row) {
      int tableRow = 1;
      while (tableRow < table.RowCount() && table.CellText(0, tableRow) != source.CellText(0, row))
        ++tableRow;
      const ElementCover cover = source.RowCover(row);
      const ElementCover expected = section.RowCover(tableRow);
      EXPECT_EQ(cover.From, ElementCover::Source::kCountRow);
      EXPECT_EQ(cover.Table, id);
      EXPECT_EQ(cover.Row, expected.Row) << "grouping " << grouping << ", row " << row;
      EXPECT_EQ(cover.Label, expected.Label);
      EXPECT_EQ(cover.Count, expected.Count);
    }
    EXPECT_EQ(source.RowCover(source.RowCount() - 1).Count, 7);  // 合計: all seven elements tallied
  }
}

}  // namespace
}  // namespace jwcount
