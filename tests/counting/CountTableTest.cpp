// The count tables: heads, labels, the rows an element lands in, subtotals, totals and SG2.
#include "counting/CountTables.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <string>
#include <vector>

namespace jwcount {
namespace {

const std::string kDash = "\x81\x7C";           // －
const std::string kTotal = "\x8D\x87\x8C\x76";  // 合計
const std::string kOther = "\x81\x48";          // ？
const char* const kHex = "0123456789ABCDEF";

EntityAttributes Attrs(int group, int layer, int colour, int type, int width) {
  EntityAttributes a;
  a.LayerGroup = group;
  a.Layer = layer;
  a.LineColour = colour;
  a.LineType = type;
  a.LineWidth = width;
  return a;
}

// Built once: the layout tests only read it.
const CountTables& PreparedTables() {
  static const CountTables tables = [] {
    CountTables t;
    PrepareCountTables(t);
    return t;
  }();
  return tables;
}

std::vector<const CountTable*> AllTables(const CountTables& t) {
  return {&t.SG1, &t.SG2, &t.SG3, &t.SG4, &t.SG5};
}

TEST(CountTableLayout, RowCountsAndNewTablesAreEmpty) {
  CountTables t;
  const int rows[] = {290, 18, 269, 54, 30004};
  const auto tables = AllTables(t);
  for (std::size_t i = 0; i < tables.size(); ++i) {
    EXPECT_EQ(tables[i]->RowCount(), rows[i]);
    for (int r = 0; r < rows[i]; r += 7) {
      for (int k = 0; k < CountTable::kColumns; ++k) EXPECT_EQ(tables[i]->CellText(k, r), "");
    }
  }
  EXPECT_EQ(t.SG1.CellText(-1, 0), "");
  EXPECT_EQ(t.SG1.CellText(14, 1), "");
  EXPECT_EQ(t.SG1.CellText(1, 290), "");
}

TEST(CountTableLayout, ColumnHeadsInEveryTable) {
  const std::vector<std::string> heads = {"\x90\xFC",
                                          "\x89\x7E\x8C\xCA",
                                          "\x95\xB6\x8E\x9A",
                                          "\x93\x5F",
                                          "\x93\x5F\x83\x7D",
                                          "\x90\xA1\x96\x40",
                                          "BLOCK",
                                          "\x90\xFC"
                                          "SLD",
                                          "\x82\x52"
                                          "SLD",
                                          "\x82\x53"
                                          "SLD",
                                          "\x89\x7E"
                                          "SLD",
                                          "\x89\x7E\x8E\xFC"
                                          "S",
                                          "\x89\x7E\x8A\xC2"
                                          "S"};
  for (const CountTable* table : AllTables(PreparedTables())) {
    for (int k = 1; k <= 13; ++k) EXPECT_EQ(table->CellText(k, 0), heads[k - 1]) << k;
  }
  const auto tables = AllTables(PreparedTables());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(tables[i]->CellText(0, 0), "");
  EXPECT_EQ(PreparedTables().SG5.CellText(0, 0), "\x90\xFC\x95\x9D");  // 線幅
}

TEST(CountTableLayout, LayerTableLabels) {
  const CountTable& sg1 = PreparedTables().SG1;
  for (int g = 0; g < 16; ++g) {
    for (int l = 0; l < 16; ++l) {
      EXPECT_EQ(sg1.CellText(0, g * 18 + l + 1), kHex[g] + kDash + kHex[l]);
    }
    EXPECT_EQ(sg1.CellText(0, g * 18 + 17), kHex[g] + kDash + "\x8C\x76");  // g－計
    EXPECT_EQ(sg1.CellText(0, g * 18 + 18), "");                            // separator
  }
  EXPECT_EQ(sg1.CellText(0, 1),
            "0\x81\x7C"
            "0");
  EXPECT_EQ(sg1.CellText(0, 47),
            "2\x81\x7C"
            "A");
  EXPECT_EQ(sg1.CellText(0, 286),
            "F\x81\x7C"
            "F");
  EXPECT_EQ(sg1.CellText(0, 289), kTotal);
}

TEST(CountTableLayout, GroupColourTypeAndWidthLabels) {
  const CountTables& t = PreparedTables();
  for (int g = 0; g < 16; ++g) EXPECT_EQ(t.SG2.CellText(0, g + 1), std::string("[") + kHex[g] + "]");
  EXPECT_EQ(t.SG2.CellText(0, 17), kTotal);

  for (int c = 1; c <= 10; ++c) EXPECT_EQ(t.SG3.CellText(0, c), "\x90\xFC\x90\x46" + std::to_string(c));
  for (int s = 1; s <= 256; ++s) EXPECT_EQ(t.SG3.CellText(0, s + 10), "SXF" + std::to_string(s));
  EXPECT_EQ(t.SG3.CellText(0, 267), kOther);
  EXPECT_EQ(t.SG3.CellText(0, 268), kTotal);

  for (int y = 1; y <= 19; ++y) EXPECT_EQ(t.SG4.CellText(0, y), "\x90\xFC\x8E\xED" + std::to_string(y));
  for (int s = 1; s <= 32; ++s) EXPECT_EQ(t.SG4.CellText(0, s + 19), "SXF" + std::to_string(s));
  EXPECT_EQ(t.SG4.CellText(0, 52), kOther);
  EXPECT_EQ(t.SG4.CellText(0, 53), kTotal);

  for (int r = 1; r <= 30001; ++r) ASSERT_EQ(t.SG5.CellText(0, r), std::to_string(r - 1));
  EXPECT_EQ(t.SG5.CellText(0, 30002), kOther);
  EXPECT_EQ(t.SG5.CellText(0, 30003), kTotal);
}

// Every attribute range boundary, with the row and the label it lands on.
TEST(CountTableTally, AttributeBoundaries) {
  struct Case {
    int colour, type, width;
    int colourRow, typeRow, widthRow;
  };
  const Case cases[] = {
      {1, 1, 0, 1, 1, 1},
      {10, 19, 30000, 10, 19, 30001},
      {101, 31, 1, 11, 20, 2},
      {356, 62, 29999, 266, 51, 30000},
      {0, 0, -1, 267, 52, 30002},
      {11, 20, 30001, 267, 52, 30002},
      {100, 30, INT32_MIN, 267, 52, 30002},
      {357, 63, INT32_MAX, 267, 52, 30002},
      {-5, -1, -30000, 267, 52, 30002},
  };
  for (const Case& c : cases) {
    CountTables t;
    PrepareCountTables(t);
    TallyEntity(t, kLine, Attrs(0, 0, c.colour, c.type, c.width));
    EXPECT_EQ(t.SG3.CellText(1, c.colourRow), "1") << "colour " << c.colour;
    EXPECT_EQ(t.SG4.CellText(1, c.typeRow), "1") << "type " << c.type;
    EXPECT_EQ(t.SG5.CellText(1, c.widthRow), "1") << "width " << c.width;
    FinishCountTables(t);
    EXPECT_EQ(t.SG3.CellText(1, 268), "1");
    EXPECT_EQ(t.SG4.CellText(1, 53), "1");
    EXPECT_EQ(t.SG5.CellText(1, 30003), "1");
  }
}

TEST(CountTableTally, KindsToColumns) {
  const int columnOfKind[16] = {0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13};
  CountTables t;
  PrepareCountTables(t);
  for (int kind = 1; kind <= 15; ++kind) TallyEntity(t, kind, Attrs(0, 0, 1, 1, 0));
  for (int kind : {0, 16, -1, 100}) TallyEntity(t, kind, Attrs(0, 0, 1, 1, 0));
  for (int k = 1; k <= 13; ++k) {
    int expected = 0;
    for (int kind = 1; kind <= 15; ++kind) expected += columnOfKind[kind] == k;
    EXPECT_EQ(t.SG1.CellText(k, 1), std::to_string(expected)) << k;
    EXPECT_EQ(t.SG3.CellText(k, 1), std::to_string(expected)) << k;
  }
}

TEST(CountTableTally, OneLineThroughAllTables) {
  CountTables t;
  PrepareCountTables(t);
  TallyEntity(t, kLine, Attrs(2, 10, 5, 1, 0));
  FinishCountTables(t);
  EXPECT_EQ(t.SG1.CellText(1, 47), "1");
  EXPECT_EQ(t.SG3.CellText(1, 5), "1");
  EXPECT_EQ(t.SG4.CellText(1, 1), "1");
  EXPECT_EQ(t.SG5.CellText(1, 1), "1");
  EXPECT_EQ(t.SG1.CellText(1, 53), "1");
  EXPECT_EQ(t.SG1.CellText(1, 289), "1");
  EXPECT_EQ(t.SG2.CellText(1, 3), "1");
  EXPECT_EQ(t.SG2.CellText(1, 17), "1");
  EXPECT_EQ(t.SG1.CellText(1, 46), "");
  EXPECT_EQ(t.SG1.CellText(2, 47), "");
  EXPECT_EQ(t.SG1.CellText(1, 35), "0");  // group 1's subtotal
}

TEST(CountTableTotals, EmptyTablesHaveZeroTotalsAndBlankCounts) {
  CountTables t;
  PrepareCountTables(t);
  FinishCountTables(t);
  for (int k = 1; k <= 13; ++k) {
    for (int g = 0; g < 16; ++g) {
      for (int l = 0; l < 16; ++l) EXPECT_TRUE(t.SG1.IsBlank(k, g * 18 + l + 1));
      EXPECT_EQ(t.SG1.CellText(k, g * 18 + 17), "0");
      EXPECT_EQ(t.SG1.CellText(k, g * 18 + 18), "");
      EXPECT_EQ(t.SG2.CellText(k, g + 1), "0");
    }
    EXPECT_EQ(t.SG1.CellText(k, 289), "0");
    EXPECT_EQ(t.SG2.CellText(k, 17), "0");
    for (int r = 1; r <= 267; ++r) EXPECT_TRUE(t.SG3.IsBlank(k, r));
    EXPECT_EQ(t.SG3.CellText(k, 268), "0");
    for (int r = 1; r <= 52; ++r) EXPECT_TRUE(t.SG4.IsBlank(k, r));
    EXPECT_EQ(t.SG4.CellText(k, 53), "0");
    for (int r = 1; r <= 30002; ++r) ASSERT_TRUE(t.SG5.IsBlank(k, r));
    EXPECT_EQ(t.SG5.CellText(k, 30003), "0");
  }
}

TEST(CountTableTotals, SubtotalsTotalsAndGroupTableFromSpreadEntities) {
  CountTables t;
  PrepareCountTables(t);
  // Group g gets g + 1 texts spread over its layers; group 15 also gets three arcs on layer F.
  int expectedTotal = 0;
  for (int g = 0; g < 16; ++g) {
    for (int i = 0; i <= g; ++i) TallyEntity(t, kText, Attrs(g, i % 16, 2, 2, 25));
    expectedTotal += g + 1;
  }
  for (int i = 0; i < 3; ++i) TallyEntity(t, kArc, Attrs(15, 15, 200, 40, 30000));
  FinishCountTables(t);

  for (int g = 0; g < 16; ++g) {
    EXPECT_EQ(t.SG1.CellText(3, g * 18 + 17), std::to_string(g + 1));
    EXPECT_EQ(t.SG2.CellText(3, g + 1), std::to_string(g + 1));
    for (int k = 1; k <= 13; ++k) EXPECT_EQ(t.SG1.CellText(k, g * 18 + 18), "") << "separator";
  }
  EXPECT_EQ(t.SG1.CellText(3, 289), std::to_string(expectedTotal));  // not twice the subtotals
  EXPECT_EQ(t.SG2.CellText(3, 17), std::to_string(expectedTotal));
  EXPECT_EQ(t.SG3.CellText(3, 2), std::to_string(expectedTotal));
  EXPECT_EQ(t.SG5.CellText(3, 26), std::to_string(expectedTotal));
  EXPECT_EQ(t.SG1.CellText(2, 286), "3");
  EXPECT_EQ(t.SG1.CellText(2, 287), "3");
  EXPECT_EQ(t.SG2.CellText(2, 16), "3");
  EXPECT_EQ(t.SG3.CellText(2, 110), "3");  // SXF100
  EXPECT_EQ(t.SG4.CellText(2, 29), "3");   // SXF10
  EXPECT_EQ(t.SG5.CellText(2, 30001), "3");
  EXPECT_EQ(t.SG3.CellText(2, 268), "3");
  EXPECT_EQ(t.SG2.CellText(1, 16), "0");
}

TEST(CountTableCells, BlankIsDistinctFromZeroAndPrepareEmptiesTables) {
  CountTable table(5);
  EXPECT_TRUE(table.IsBlank(1, 1));
  table.Set(1, 1, 0);
  EXPECT_FALSE(table.IsBlank(1, 1));
  EXPECT_EQ(table.CellText(1, 1), "0");
  table.Set(0, 1, 7);  // label cells take no numbers
  table.Set(1, 0, 7);  // nor do heads
  EXPECT_EQ(table.CellText(0, 1), "");
  EXPECT_EQ(table.CellText(1, 0), "");

  CountTables t;
  PrepareCountTables(t);
  TallyEntity(t, kLine, Attrs(0, 0, 1, 1, 0));
  FinishCountTables(t);
  PrepareCountTables(t);
  EXPECT_EQ(t.SG1.CellText(1, 1), "");
  EXPECT_EQ(t.SG1.CellText(1, 289), "");
  EXPECT_EQ(t.SG2.CellText(1, 1), "");
}

TEST(CountTableCells, CountsNeverWrapNegative) {
  CountTable table(2);
  table.Set(1, 1, INT32_MAX - 1);
  table.Increment(1, 1);
  table.Increment(1, 1);
  EXPECT_EQ(table.CellText(1, 1), "2147483647");
}

// The tables empty and total only the rows a count wrote. A count into tables that held another count must
// read exactly as the same count into new tables, every cell blank or not and every row's quantities to
// the bit; and a total must be the sum of every row in row order. The rows lie at the edges of 64-row and
// 4096-row steps and at the ends of the tables; the first count also leaves rows written by Set and
// SetQuantities alone.
TEST(CountTableTotals, ARecountReadsAsNewTablesAndTotalsFollowRowOrder) {
  struct Element {
    int group, layer, colour, width;
    double length;
  };
  const std::vector<Element> first = {{0, 0, 1, 62, 5.0},      {3, 15, 356, 63, 0.0}, {15, 15, 9, 127, 2.5},
                                      {7, 1, 400, 29999, 1.0}, {0, 0, 1, 30000, 7.0}, {2, 3, 5, -1, 0.25},
                                      {4, 4, 4, 4095, 3.0}};
  // 1e16 first: each 1.0 added after it is lost to rounding, which a sum in another order would keep.
  const std::vector<Element> second = {{0, 0, 1, 0, 1e16},     {0, 0, 10, 63, 1.0},    {5, 4, 101, 64, 1.0},
                                       {15, 15, 10, 128, 1.0}, {9, 9, 11, 30000, 0.0}, {1, 2, 3, 4094, 1.0}};
  auto count = [](CountTables& t, const std::vector<Element>& elements) {
    PrepareCountTables(t);
    for (const Element& e : elements) {
      TallyEntity(t, e.length > 0 ? kLine : kText, Attrs(e.group, e.layer, e.colour, 1, e.width),
                  {.LineLength = e.length});
    }
    FinishCountTables(t);
  };
  auto used = std::make_unique<CountTables>();
  count(*used, first);
  used->SG5.Set(4, 500, 0);
  used->SG5.SetQuantities(1000, {1, 2, 3, 4});
  used->SG1.SetQuantities(18, {1, 2, 3, 4});  // a separator row
  count(*used, second);
  auto fresh = std::make_unique<CountTables>();
  count(*fresh, second);

  auto bits = [](const RowQuantities& q) {
    return std::vector<uint64_t>{std::bit_cast<uint64_t>(q.LineLength),
                                 std::bit_cast<uint64_t>(q.CurveLength), std::bit_cast<uint64_t>(q.Length),
                                 std::bit_cast<uint64_t>(q.Area)};
  };
  const auto usedTables = AllTables(*used);
  const auto freshTables = AllTables(*fresh);
  for (std::size_t i = 0; i < usedTables.size(); ++i) {
    for (int r = 0; r < freshTables[i]->RowCount(); ++r) {
      ASSERT_EQ(bits(usedTables[i]->Quantities(r)), bits(freshTables[i]->Quantities(r))) << i << " " << r;
      for (int k = 1; k < CountTable::kColumns; ++k) {
        ASSERT_EQ(usedTables[i]->IsBlank(k, r), freshTables[i]->IsBlank(k, r)) << i << " " << r << " " << k;
        ASSERT_EQ(usedTables[i]->Count(k, r), freshTables[i]->Count(k, r)) << i << " " << r << " " << k;
      }
    }
  }

  auto rowOrderSum = [](const CountTable& table, const std::vector<int>& rows) {
    RowQuantities sum;
    for (const int r : rows) {
      sum += table.Quantities(r);
    }
    return sum;
  };
  std::vector<int> widthRows(30002);
  for (int r = 1; r <= 30002; ++r) widthRows[r - 1] = r;
  std::vector<int> layerRows;
  for (int g = 0; g < 16; ++g) {
    for (int l = 0; l < 16; ++l) layerRows.push_back(LayerRow(g, l));
  }
  EXPECT_EQ(bits(used->SG5.Quantities(kSg5TotalRow)), bits(rowOrderSum(fresh->SG5, widthRows)));
  EXPECT_EQ(bits(used->SG1.Quantities(kSg1TotalRow)), bits(rowOrderSum(fresh->SG1, layerRows)));
  EXPECT_EQ(used->SG5.Quantities(kSg5TotalRow).Length, 1e16);
  EXPECT_EQ(used->SG5.CellText(1, kSg5TotalRow), "5");
  EXPECT_EQ(used->SG5.CellText(3, kSg5TotalRow), "1");
}

TEST(CountTableTally, LayerOutsideItsRangeIsNotCounted) {
  CountTables t;
  PrepareCountTables(t);
  TallyEntity(t, kLine, Attrs(16, 0, 1, 1, 0));
  TallyEntity(t, kLine, Attrs(0, -1, 1, 1, 0));
  FinishCountTables(t);
  EXPECT_EQ(t.SG1.CellText(1, 289), "0");
  EXPECT_EQ(t.SG3.CellText(1, 268), "0");
}

}  // namespace
}  // namespace jwcount
