// Marks in the drawing: every row marks exactly the elements it counts, the point of every kind, the
// division into sheet millimetres, points that are no number, and the cap.
#include "report/MarkReply.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/PlanGenerator.h"
#include "counting/Marks.h"
#include "counting/RunSequence.h"
#include "report/CountReport.h"
#include "report/DiffSection.h"
#include "report/NameSection.h"
#include "report/SectionList.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

const std::filesystem::path kFolder = "tool";
const std::filesystem::path kFile = TempFilePath(kFolder);

// One count of an exchange file; the reader and the tables stay for the test.
struct Counted {
  test::FakeFileSystem files;
  JwwGaibu reader{files};
  CountReport report;
  CountTables& tables = report.Tables;

  explicit Counted(const std::string& bytes) {
    files.files[kFile] = bytes;
    ReadForCount(reader, kFile, &report.State);
    test::QuietHost host;
    CountElements(reader, tables, kFolder, host);
  }
};

std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

std::string SampleBytes() {
  std::FILE* file = std::fopen(JWCOUNT_EXAMPLES "/JWC_TEMP.TXT", "rb");
  std::string bytes;
  if (file == nullptr) return bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

std::string GeneratedBytes(long elements) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&data, &size);
  const bool written = file != nullptr && GeneratePlan(elements, file, PlanStyle::kReal);
  if (file != nullptr) std::fclose(file);
  std::string bytes = written ? std::string(data, size) : std::string();
  std::free(data);
  return bytes;
}

// Every element of the drawing: the total row of the table by layer group.
ElementCover Everything(const CountTables& tables) {
  ElementCover cover;
  cover.From = ElementCover::Source::kCountRow;
  cover.Table = CountTableId::kSG2;
  cover.Row = kSg2TotalRow;
  cover.Label = "all";
  cover.Count = tables.SG2.Count(1, kSg2TotalRow);
  for (int column = 2; column < CountTable::kColumns; ++column)
    cover.Count += tables.SG2.Count(column, kSg2TotalRow);
  return cover;
}

// The "ci" records of a reply, as text.
std::vector<std::string> Circles(const MarkReply& reply) {
  std::vector<std::string> circles;
  for (const std::string& line : reply.Lines)
    if (line.rfind("ci ", 0) == 0) circles.push_back(line);
  return circles;
}

// The rule the window and the CLI rely on: what a row marks is what it counts. Every row of every section,
// on the sample and on a generated drawing as real captures look (duplicates, copies, empty texts, all
// kinds), sorted rows of names and of page 11 included.
TEST(Marks, EveryRowMarksExactlyTheElementsItCounts) {
  for (const std::string& bytes : {SampleBytes(), GeneratedBytes(20000)}) {
    ASSERT_FALSE(bytes.empty());
    const Counted counted(bytes);
    // Page 11 against a baseline of nothing: every figure rose, and each row marks the elements behind it.
    CountComparison comparison;
    comparison.State = CountComparison::Outcome::kCompared;
    comparison.Diff = CompareCounts({}, SnapshotOf(counted.report));
    const SectionData data{counted.tables, counted.reader.Drawing, &comparison};
    int covering = 0;
    int coveringDiffs = 0;
    for (const SectionRow& row : Sections()) {
      const std::unique_ptr<Section> section = row.Make(data);
      section->Refresh();
      if (section->SortBy(section->ColumnCount() - 1)) section->SortBy(section->ColumnCount() - 1);
      for (int r = 0; r < section->RowCount(); ++r) {
        const ElementCover cover = section->RowCover(r);
        SCOPED_TRACE(std::string(row.Id) + " row " + std::to_string(r));
        if (!cover.CoversAny()) continue;
        const ElementCover covers[] = {cover};
        EXPECT_EQ(SelectElements(counted.reader, covers).Size(), cover.Count);
        ++covering;
        coveringDiffs += row.Id == "diff";
      }
    }
    EXPECT_GT(covering, 40);
    EXPECT_GT(coveringDiffs, 100);
  }
}

TEST(Marks, PointOfEveryKind) {
  const Counted counted(Lines({
      "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
      " 0 0 10 4",            // line: its midpoint
      " 3 3 3 3",             // a line of no length: its point
      "ci 1 2 3",             // circle: the centre
      "ci 3 4 5 0 90 0.5 0",  // elliptic arc: the centre
      "ch 5 6 1 0 \"abc",     // text: its position
      "pt 7 8",               // point
      "pt 9 10 1 2 3",        // point marker
      "msg",
      " 0 -2 8 -2",
      "cs 4 -1 1 0 \"8",              // dimension: the midpoint of its line
      "BL 11 12 \"door",              // block: the insertion point
      "sl 0 0 4 0",                   // linear solid: the mean of its two ends
      "sl 0 0 3 0 0 3",               // triangle: the mean of three corners
      "sl 0 0 4 0 4 4 0 4",           // quadrilateral: of four
      "sl 0 0 6 0 6 6 6 6",           // four corners that reduce to a triangle: of the three kept
      "sc 13 14 1 1 0 0 6.2832 100",  // circle solids, rings: the centre
      "se 15 16 1 1 0 0 6.2832 1",
      "so 17 18 2 1 0 0 6.2832 1",
      "sg 19 20 2 1 0 0 6.2832 1",
  }));
  const ElementCover covers[] = {Everything(counted.tables)};
  const MarkReply reply = MakeMarkReply(counted.reader, covers);
  const std::vector<std::string> expected = {
      "ci 5 2 2.5",  "ci 3 3 2.5",   "ci 1 2 2.5",   "ci 3 4 2.5",   "ci 5 6 2.5",   "ci 7 8 2.5",
      "ci 9 10 2.5", "ci 4 -2 2.5",  "ci 11 12 2.5", "ci 2 0 2.5",   "ci 1 1 2.5",   "ci 2 2 2.5",
      "ci 4 2 2.5",  "ci 13 14 2.5", "ci 15 16 2.5", "ci 17 18 2.5", "ci 19 20 2.5",
  };
  EXPECT_EQ(Circles(reply), expected);
  ASSERT_GE(reply.Lines.size(), 4u);
  EXPECT_EQ(reply.Lines[1], "bz");
  EXPECT_EQ(reply.Lines[2], "lc9");
  EXPECT_EQ(reply.Lines[3], "lt9");
  EXPECT_EQ(ShiftJisToUtf8(reply.Lines[0]), "h#印を付けました: all 17");
}

// Sheet millimetres: divided by the scale of the element's own layer group, never by a scale that is no
// scale, and not at all when the file is in sheet millimetres already. A point that is no number after the
// division gets no mark and is counted in the notice.
TEST(Marks, PointsInSheetMillimetres) {
  const std::vector<std::string> drawing = {
      "hs 100 50 0 -2 1e-300 1 1 1 1 1 1 1 1 1 1 1",
      "lg0",
      "pt 100 -200",  // 1:100
      "lg1",
      "pt 100 -200",  // 1:50
      "lg2",
      "pt 100 -200",  // a scale of 0 counts as 1
      "lg3",
      "pt 100 -200",  // so does a negative one
      "lg4",
      "pt 1e300 0",  // beyond any number once divided; beyond any sheet undivided
      "lg5",
      "pt 0.0000004 1234567.8912345",  // to the micrometre, in plain decimal
  };
  struct Case {
    std::vector<std::string> before;  // records ahead of the drawing
    std::vector<std::string> circles;
  };
  const Case cases[] = {
      {{}, {"ci 1 -2 2.5", "ci 2 -4 2.5", "ci 100 -200 2.5", "ci 100 -200 2.5", "ci 0 1234567.891235 2.5"}},
      {{"bz"},
       {"ci 100 -200 2.5", "ci 100 -200 2.5", "ci 100 -200 2.5", "ci 100 -200 2.5",
        "ci 0 1234567.891235 2.5"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = c.before;
    lines.insert(lines.end(), drawing.begin(), drawing.end());
    const Counted counted(Lines(lines));
    const ElementCover covers[] = {Everything(counted.tables)};
    const MarkReply reply = MakeMarkReply(counted.reader, covers);
    EXPECT_EQ(Circles(reply), c.circles);
    EXPECT_EQ(reply.NoPoint, 1);
    EXPECT_NE(ShiftJisToUtf8(reply.Lines[0]).find(" (位置のない 1 件)"), std::string::npos) << reply.Lines[0];
  }
  // Without "hs" every scale is 1.
  const Counted plain(Lines({"lg1", "pt 100 -200"}));
  const ElementCover covers[] = {Everything(plain.tables)};
  EXPECT_EQ(Circles(MakeMarkReply(plain.reader, covers)), std::vector<std::string>{"ci 100 -200 2.5"});
}

// At most 10,000 marks; the notice says how many more there were and stays within 200 bytes, whatever the
// names of the rows.
TEST(Marks, CapAndNoticeLength) {
  std::vector<std::string> lines;
  for (int i = 0; i <= kMaxMarks; ++i) lines.push_back("pt " + std::to_string(i) + " 0");
  const std::string longText(300, 'W');
  lines.push_back("ch 0 0 1 0 \"" + longText);
  const Counted counted(Lines(lines));
  ElementCover text = NameSection::NameCover(NameSection::kTexts, counted.tables.Texts.Rows()[0]);
  // The same row four times: marked once, named four times.
  const ElementCover covers[] = {text, text, text, text, Everything(counted.tables)};
  const MarkReply reply = MakeMarkReply(counted.reader, covers);
  EXPECT_EQ(reply.Marked, kMaxMarks);
  EXPECT_EQ(reply.OverCap, 2);
  EXPECT_EQ(Circles(reply).size(), static_cast<std::size_t>(kMaxMarks));
  EXPECT_EQ(Circles(reply).back(), "ci 9999 0 2.5");
  const std::string notice = ShiftJisToUtf8(reply.Lines[0]);
  EXPECT_LE(reply.Lines[0].size(), kMaxMarkNotice);
  EXPECT_EQ(notice.rfind("h#印を付けました: WWW", 0), 0u) << notice;
  EXPECT_EQ(notice.substr(notice.size() - 37), "… (上限を超えた ほか 2 件)") << notice;
}

}  // namespace
}  // namespace jwcount
