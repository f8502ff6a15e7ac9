// The workbook's cells as the sections give them: the names formulas use for cells, and which cells of a
// grid become numbers (only figures of a column of figures; a name is never read as one).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "report/SectionSink.h"

namespace jwcount {
namespace {

TEST(SheetCells, CellNamesAsFormulasWriteThem) {
  const struct {
    int column;
    int64_t row;
    std::string name;
  } cases[] = {{0, 0, "A1"},    {6, 1, "G2"},     {25, 9, "Z10"},
               {26, 0, "AA1"},  {51, 0, "AZ1"},   {52, 0, "BA1"},
               {701, 0, "ZZ1"}, {702, 0, "AAA1"}, {16383, 1048575, "XFD1048576"}};
  for (const auto& c : cases) EXPECT_EQ(CellName(c.column, c.row), c.name) << c.column << "," << c.row;
}

// One head row over a column of names and a column of figures.
class TwoColumns final : public GridSource {
 public:
  explicit TwoColumns(std::vector<std::string> cells) : cells_(std::move(cells)) {}
  int ColumnCount() const override { return 2; }
  int RowCount() const override { return static_cast<int>(cells_.size()) + 1; }
  std::string CellText(int /*column*/, int row) const override {
    return row == 0 ? "head" : cells_[static_cast<std::size_t>(row - 1)];
  }
  bool RightAligned(int column) const override { return column == 1; }

 private:
  std::vector<std::string> cells_;
};

TEST(SheetCells, OnlyFiguresOfAColumnOfFiguresAreNumbers) {
  const struct {
    std::string text;
    std::optional<double> value;
    int decimals;
  } cases[] = {
      {"12", 12, 0},
      {"-3", -3, 0},
      {"+0.5", 0.5, 1},
      {"87.36", 87.36, 2},
      {"21.143437692925886", 21.143437692925886, 3},
      {"", std::nullopt, 0},
      {"1,234", std::nullopt, 0},
      {"1e5", std::nullopt, 0},
      {"1-2", std::nullopt, 0},
      {"-", std::nullopt, 0},
      {".", std::nullopt, 0},
      {"1.2.3", std::nullopt, 0},
      {"\x81\x5C", std::nullopt, 0},  // ―, a figure too large to give
  };
  std::vector<std::string> cells;
  for (const auto& c : cases) cells.push_back(c.text);
  const TwoColumns grid(cells);
  for (int row = 1; row < grid.RowCount(); ++row) {
    const auto& c = cases[row - 1];
    EXPECT_FALSE(GridFigure(grid, 0, row)) << "a name is never a number: " << c.text;
    const std::optional<CellFigure> figure = GridFigure(grid, 1, row);
    ASSERT_EQ(figure.has_value(), c.value.has_value()) << c.text;
    if (!figure) continue;
    EXPECT_EQ(figure->Value, *c.value) << c.text;
    EXPECT_EQ(figure->Decimals, c.decimals) << c.text;
  }
  EXPECT_FALSE(GridFigure(grid, 1, 0)) << "the head is no figure";
}

}  // namespace
}  // namespace jwcount
