// Two counts compared: what is new, gone, up or down in the tables, the lengths and areas, the names and
// the checks; a changed selection range; and kept counts that cannot be read, which are never fatal.
#include "report/CountDiff.h"

#include "report/BaselineStore.h"
#include "report/DiffSection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/PlanGenerator.h"
#include "counting/RunSequence.h"
#include "report/DiffReport.h"
#include "report/GridSource.h"
#include "report/JsonReport.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"

namespace jwcount {
namespace {

const std::filesystem::path kFolder = "tool";
const std::filesystem::path kFile = TempFilePath(kFolder);

// A count of the bytes, with its report, as the window makes it.
struct Counted {
  test::FakeFileSystem files;
  JwwGaibu reader{files};
  CountReport report;

  explicit Counted(const std::string& bytes) {
    files.files[kFile] = bytes;
    report.ReadOk = ReadForCount(reader, kFile, &report.State);
    test::QuietHost host;
    CountElements(reader, report.Tables, kFolder, host);
  }

  // The baseline file of the count, as the window keeps it.
  std::string Baseline() const {
    std::string json;
    OutputBuffer out(json);
    Utf8Text utf8;
    WriteBaselineFile(out, utf8, report, reader, "2026-12-09T10:00:00+09:00");
    out.Flush();
    return json;
  }
};

std::string BaselineOf(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return Counted(bytes).Baseline();
}

CountSnapshot Snapshot(const std::string& json) {
  const SnapshotRead read = ReadSnapshot(json);
  EXPECT_EQ(read.Error, SnapshotError::kNone) << read.Detail;
  return read.Snapshot;
}

// The rows of the diff outside the tables SG2 to SG5, which repeat SG1's changes by other attributes, as
// "section head item: baseline → current (change)"; unknown figures as "?".
std::vector<std::string> Rows(const CountDiff& diff) {
  std::vector<std::string> rows;
  auto figure = [](const std::optional<double>& v) { return v ? std::to_string(*v) : std::string("?"); };
  for (const DiffRow& row : diff.Rows) {
    if (row.Section != "SG1" && row.Section.rfind("SG", 0) == 0) continue;
    if (row.Section == "SG1" && row.Head.find("計") != std::string::npos) continue;  // subtotals and total
    rows.push_back(row.Section + " " + row.Head + " " + row.Item + ": " + figure(row.Baseline) + " -> " +
                   figure(row.Current) + " (" + figure(row.Change) + ")");
  }
  return rows;
}

struct DiffCase {
  const char* what;
  std::vector<std::string> before;
  std::vector<std::string> now;
  std::vector<std::string> rows;
};

TEST(CountDiff, NewGoneUpAndDown) {
  const DiffCase cases[] = {
      {"a line more, and longer in all",
       {" 0 0 10 0"},
       {" 0 0 10 0", " 0 5 30 5"},
       {"SG1 0－0 線: 1.000000 -> 2.000000 (1.000000)",
        "SG1 0－0 長さ(mm): 10.000000 -> 40.000000 (30.000000)"}},
      {"a triangle solid gone",
       {"sl 0 0 2 0 0 2", " 0 0 1 0"},
       {" 0 0 1 0"},
       {"SG1 0－0 ３SLD: 1.000000 -> 0.000000 (-1.000000)",
        "SG1 0－0 面積(mm2): 2.000000 -> 0.000000 (-2.000000)"}},
      {"a block renamed: the new name in this count's order, the gone one after",
       {"BL 0 0 \"A", "BL 0 0 \"B"},
       {"BL 0 0 \"A", "BL 0 0 \"C"},
       {"blocks C 数: 0.000000 -> 1.000000 (1.000000)", "blocks B 数: 1.000000 -> 0.000000 (-1.000000)"}},
      {"a text less, moved to another layer",
       {"ch 0 0 1 0 \"WD1", "ch 5 0 1 0 \"WD1"},
       {"ly1", "ch 0 0 1 0 \"WD1"},
       {"SG1 0－0 文字: 2.000000 -> 0.000000 (-2.000000)", "SG1 0－1 文字: 0.000000 -> 1.000000 (1.000000)",
        "texts WD1 数: 2.000000 -> 1.000000 (-1.000000)"}},
      {"a duplicate fixed",
       {" 0 0 10 0", " 0 0 10 0"},
       {" 0 0 10 0"},
       {"SG1 0－0 線: 2.000000 -> 1.000000 (-1.000000)",
        "SG1 0－0 長さ(mm): 20.000000 -> 10.000000 (-10.000000)",
        "checks duplicates.total 数: 1.000000 -> 0.000000 (-1.000000)",
        "checks duplicates.same_layer 数: 1.000000 -> 0.000000 (-1.000000)",
        "checks duplicates.by_kind.1 数: 1.000000 -> 0.000000 (-1.000000)"}},
      {"nothing changed", {" 0 0 10 0", "BL 0 0 \"A"}, {" 0 0 10 0", "BL 0 0 \"A"}, {}},
  };
  for (const DiffCase& c : cases) {
    SCOPED_TRACE(c.what);
    const CountDiff diff = CompareCounts(Snapshot(BaselineOf(c.before)), Snapshot(BaselineOf(c.now)));
    EXPECT_EQ(Rows(diff), c.rows);
    EXPECT_FALSE(diff.RangeDiffers);
  }
}

TEST(CountDiff, ARangeOfItsOwnIsNoRevision) {
  const CountDiff same = CompareCounts(Snapshot(BaselineOf({"hn 0 0 100 100", " 0 0 1 0"})),
                                       Snapshot(BaselineOf({"hn 0 0 100 100", " 0 0 1 0"})));
  EXPECT_FALSE(same.RangeDiffers);
  EXPECT_TRUE(same.Rows.empty());
  const CountDiff other = CompareCounts(Snapshot(BaselineOf({"hn 0 0 100 100", " 0 0 1 0"})),
                                        Snapshot(BaselineOf({"hn 0 0 50 100", " 0 0 1 0"})));
  EXPECT_TRUE(other.RangeDiffers);
  ASSERT_TRUE(other.Current.Range.has_value());
  EXPECT_EQ((*other.Current.Range)[2], 50);
  EXPECT_EQ(other.Baseline.Time, "2026-12-09T10:00:00+09:00");
}

// A kept count that cannot be compared says why; a name whose bytes are no Shift-JIS is still a name.
TEST(CountDiff, KeptCountsThatCannotBeRead) {
  const std::string good = BaselineOf({" 0 0 10 0", "BL 0 0 \"A"});
  std::string newer = good;
  newer.replace(newer.find("\"version\":\"1."), 13, "\"version\":\"9.");
  std::string odd = BaselineOf({"BL 0 0 \"\x81"});  // a lead byte alone
  struct Case {
    const char* what;
    std::string text;
    SnapshotError error;
  };
  const Case cases[] = {
      {"empty", "", SnapshotError::kEmpty},
      {"blanks", " \r\n", SnapshotError::kEmpty},
      {"cut in the middle", good.substr(0, good.size() / 2), SnapshotError::kCut},
      {"not JSON", "hq\r\n 0 0 1 1\r\n", SnapshotError::kNotJson},
      {"a number beyond a double", "{\"summary\": 1e999}", SnapshotError::kNotJson},
      {"JSON of another shape", "{\"tables\": []}", SnapshotError::kWrongShape},
      {"a list", "[1, 2]", SnapshotError::kWrongShape},
      {"bytes that are no hex",
       std::string(good).replace(good.find("\"bytes\":\"41\""), 12, "\"bytes\":\"4G\""),
       SnapshotError::kWrongShape},
      {"from a newer version", newer, SnapshotError::kNewerVersion},
      {"a name of no Shift-JIS", odd, SnapshotError::kNone},
      {"a plain report, no baseline member", good.substr(0, good.rfind(",\n\"baseline\"")) + "}",
       SnapshotError::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadSnapshot(c.text).Error, c.error);
  }
  const CountDiff renamed = CompareCounts(Snapshot(good), Snapshot(odd));
  ASSERT_FALSE(renamed.Rows.empty());
  EXPECT_EQ(renamed.Rows.back().Bytes, "41");
}

// The window compares its own count, taken as it stands, with a baseline read back from its file: the two
// must read alike to the last bit of every sum, so that an unchanged drawing shows no difference.
TEST(CountDiff, ACountReadsAsItsOwnReport) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&data, &size);
  ASSERT_TRUE(file != nullptr && GeneratePlan(20000, file, PlanStyle::kReal));
  std::fclose(file);
  const Counted counted(std::string(data, size));
  std::free(data);
  const CountSnapshot direct = SnapshotOf(counted.report);
  const CountSnapshot read = Snapshot(counted.Baseline());
  EXPECT_TRUE(CompareCounts(read, direct).Rows.empty());
  for (std::size_t t = 0; t < 5; ++t) {
    EXPECT_EQ(direct.Tables[t].RowHeads, read.Tables[t].RowHeads);
    EXPECT_EQ(direct.Tables[t].ColumnHeads, read.Tables[t].ColumnHeads);
  }
  EXPECT_EQ(direct.LayerNames, read.LayerNames);
  EXPECT_EQ(direct.Info.File, read.Info.File);
  EXPECT_EQ(direct.Info.Range, read.Info.Range);
}

TEST(BaselineStore, OneFilePerDrawing) {
  const std::filesystem::path folder = "tool";
  const std::filesystem::path a = BaselinePath(folder, "C:\\jww\\a.jww");
  EXPECT_EQ(a.parent_path(), BaselineFolder(folder));
  EXPECT_EQ(a.filename().string().substr(0, 6), "a.jww_");
  EXPECT_EQ(BaselinePath(folder, "c:\\JWW\\A.jww").filename().string().substr(5),
            a.filename().string().substr(5))
      << "Windows paths are one whatever the case of their letters";
  EXPECT_NE(BaselinePath(folder, "C:\\other\\a.jww"), a);
  // 表 ends in the byte of a backslash, which is no separator there.
  EXPECT_EQ(BaselinePath(folder, "C:\\jww\\\x95\\.jww").filename().string().substr(0, 8), "表.jww_");
  EXPECT_TRUE(BaselinePath(folder, "").empty());
}

// The window's comparison: none kept, kept and unchanged, kept and damaged (left as it is).
TEST(BaselineStore, ComparesWithTheBaselineKeptForTheDrawing) {
  const Counted counted(std::string("file=C:\\jww\\a.jww\r\n 0 0 10 0\r\n"));
  test::FakeFileSystem files;
  const std::filesystem::path folder = "tool";
  EXPECT_EQ(CompareWithKept(counted.report, files, folder).State, CountComparison::Outcome::kNoBaseline);
  const std::filesystem::path path = BaselinePath(folder, counted.report.State.Drawing.FileName);
  files.files[path] = BaselineBytes(counted.report, counted.reader, "2026-12-09T10:00:00+09:00");
  const CountComparison same = CompareWithKept(counted.report, files, folder);
  EXPECT_EQ(same.State, CountComparison::Outcome::kCompared);
  EXPECT_TRUE(same.Diff.Rows.empty());
  files.files[path].resize(100);
  const CountComparison cut = CompareWithKept(counted.report, files, folder);
  EXPECT_EQ(cut.State, CountComparison::Outcome::kUnreadable);
  EXPECT_EQ(cut.Error, SnapshotError::kCut);
  EXPECT_EQ(files.files[path].size(), 100u);
  const Counted unsaved(std::string(" 0 0 10 0\r\n"));
  EXPECT_EQ(CompareWithKept(unsaved.report, files, folder).State, CountComparison::Outcome::kNoDrawing);
}

// Page 11 with no row to show is its heads alone, the words that say why going above the grid; jwcount-cli
// diff of an unchanged drawing still writes those words under the heads of its text and CSV.
TEST(DiffSection, NoRowsLeaveTheHeadsAlone) {
  using Outcome = CountComparison::Outcome;
  for (const Outcome state : {Outcome::kNoDrawing, Outcome::kNoBaseline, Outcome::kUnreadable,
                              Outcome::kNotCompared, Outcome::kCompared}) {
    SCOPED_TRACE(static_cast<int>(state));
    CountComparison comparison;
    comparison.State = state;
    const DiffSection section(&comparison);
    EXPECT_EQ(GridRows(section).size(), 1u);
    EXPECT_FALSE(section.Message().empty());
  }
  CountComparison changed;
  changed.State = Outcome::kCompared;
  changed.Diff =
      CompareCounts(Snapshot(BaselineOf({" 0 0 10 0"})), Snapshot(BaselineOf({" 0 0 10 0", " 0 0 0 10"})));
  ASSERT_FALSE(changed.Diff.Rows.empty());
  const DiffSection rows(&changed);
  EXPECT_EQ(GridRows(rows).size(), changed.Diff.Rows.size() + 1);
  EXPECT_EQ(rows.Message(), "");

  std::string csv, text;
  OutputBuffer csvOut(csv), textOut(text);
  WriteDiffCsv(csvOut, CountDiff());
  WriteDiffText(textOut, CountDiff());
  csvOut.Flush();
  textOut.Flush();
  EXPECT_EQ(csv, "\xEF\xBB\xBF表,行,項目,基準,今回,増減\r\n基準と同じです。,,,,,\r\n");
  EXPECT_EQ(text, "基準との差\n基準: ? 保存, jwcount ?\n基準と同じです。\n");
}

}  // namespace
}  // namespace jwcount
