// A section this test alone defines, of one class and one row: the window's pages, the text, CSV and JSON
// reports, a count read back from its JSON and the comparison of two counts all take it from its row.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/view/PageTable.h"
#include "counting/RunSequence.h"
#include "report/CountDiff.h"
#include "report/CsvReport.h"
#include "report/JsonReport.h"
#include "report/TextReport.h"
#include "tempfile/NoWriteFileSystem.h"
#include "tests/support/QuietCount.h"

namespace jwcount {
namespace {

constexpr std::string_view kTitle =
    "\x83u\x83\x8D\x83"
    "b\x83N\x88\xEA\x97\x97";  // ブロック一覧

// The blocks as a grid of name and count.
class BlockGrid final : public Section {
 public:
  explicit BlockGrid(const NameCountTable& blocks) : blocks_(blocks) {}
  static std::unique_ptr<Section> Make(const SectionData& data) {
    return std::make_unique<BlockGrid>(data.Tables.Blocks);
  }
  std::string_view Id() const override { return "block_grid"; }
  std::string_view Title() const override { return kTitle; }
  int ColumnCount() const override { return 2; }
  int RowCount() const override { return static_cast<int>(blocks_.Rows().size()) + 1; }
  std::string CellText(int column, int row) const override {
    if (row == 0) return column == 0 ? "name" : "count";
    const NameCountRow& entry = blocks_.Rows()[static_cast<std::size_t>(row - 1)];
    return column == 0 ? std::string(entry.Name) : std::to_string(entry.Count);
  }

 private:
  const NameCountTable& blocks_;
};

std::vector<SectionRow> SectionsWithBlockGrid() {
  std::vector<SectionRow> rows(Sections().begin(), Sections().end());
  rows.push_back({"block_grid", kTitle, BlockGrid::Make});
  return rows;
}

struct Counted {
  NoWriteFileSystem files{NativeFileSystem()};
  JwwGaibu reader{files};
  CountReport report;

  explicit Counted(const std::filesystem::path& file) {
    report.ReadOk = ReadForCount(reader, file, &report.State);
    test::QuietHost host;
    CountElements(reader, report.Tables, file.parent_path(), host);
  }
};

template <class Write>
std::string Written(Write write) {
  std::string text;
  {
    OutputBuffer out(text);
    Utf8Text utf8;
    write(out, utf8);
  }
  return text;
}

TEST(NewSection, OneClassAndOneRowReachEveryOutputAndTheComparison) {
  const std::vector<SectionRow> sections = SectionsWithBlockGrid();
  const Counted before(std::filesystem::path(JWCOUNT_EXAMPLES) / "JWC_TEMP.TXT");
  const Counted after(std::filesystem::path(JWCOUNT_EXAMPLES) / "revised" / "JWC_TEMP.TXT");
  const std::string chairs = "\x88\xD6\x8Eq";  // 椅子, 6 before and 5 after

  const std::vector<PageRow> pages = PagesOf(sections);
  ASSERT_EQ(pages.back().Id, "block_grid");
  EXPECT_TRUE(pages.back().Caption == u8"Page(13)");
  EXPECT_TRUE(pages.back().CsvSubject == u8"ブロック一覧");
  const std::unique_ptr<GridSource> grid =
      pages.back().MakeSource({before.report.Tables, before.reader.Drawing});
  EXPECT_EQ(grid->CellText(0, 2), chairs);

  auto text = [&](OutputBuffer& out, Utf8Text& utf8) { WriteTextReport(out, utf8, before.report, sections); };
  const std::string report = Written(text);
  EXPECT_NE(report.find("\n\nブロック一覧\nname    count\n便器        1\n椅子        6\n"),
            std::string::npos);
  auto csv = [&](OutputBuffer& out, Utf8Text& utf8) { WriteCsvReport(out, utf8, before.report, sections); };
  EXPECT_NE(Written(csv).find("ブロック一覧,椅子,,count,6\r\n"), std::string::npos);
  auto json = [&](const Counted& counted) {
    return Written([&](OutputBuffer& out, Utf8Text& utf8) {
      WriteJsonReport(out, utf8, counted.report, counted.reader, sections);
    });
  };
  const std::string kept = json(before);
  EXPECT_NE(kept.find("\"block_grid\":[\n[\"name\",\"count\"],\n[\"便器\",\"1\"],\n[\"椅子\",\"6\"]"),
            std::string::npos);

  // The count read back from its JSON holds the grid as the count itself does, and the comparison finds
  // the chair that went.
  const SnapshotRead read = ReadSnapshot(kept);
  ASSERT_EQ(read.Error, SnapshotError::kNone) << read.Detail;
  const CountSnapshot own = SnapshotOf(before.report, sections);
  ASSERT_EQ(read.Snapshot.Grids.size(), 1u);
  EXPECT_EQ(read.Snapshot.Grids[0].Rows, own.Grids[0].Rows);
  const CountDiff diff = CompareCounts(read.Snapshot, SnapshotOf(after.report, sections));
  const auto row = std::find_if(diff.Rows.begin(), diff.Rows.end(),
                                [](const DiffRow& r) { return r.Section == "block_grid"; });
  ASSERT_NE(row, diff.Rows.end());
  EXPECT_EQ(row->Head, "椅子");
  EXPECT_EQ(row->Item, "count");
  EXPECT_EQ(row->Baseline, 6.0);
  EXPECT_EQ(row->Current, 5.0);
  EXPECT_EQ(row->Change, -1.0);
  EXPECT_EQ(std::count_if(diff.Rows.begin(), diff.Rows.end(),
                          [](const DiffRow& r) { return r.Section == "block_grid"; }),
            1);
}

}  // namespace
}  // namespace jwcount
