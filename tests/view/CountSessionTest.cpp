// CountSession: one count from the read to the reply, as the window and jwcount-cli run it. Only a count of
// the whole drawing is compared with the kept baseline or marks elements; keeping a baseline makes the
// next comparison find nothing changed, and a changed drawing finds the rows that differ.
#include "app/view/CountSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/RunSequence.h"
#include "report/CheckSection.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"

namespace jwcount {
namespace {

const std::filesystem::path kFolder = "tool";
const std::filesystem::path kFile = TempFilePath(kFolder);
// A saved drawing with a line drawn twice, which the checks find.
const std::string kDrawing = "file=C:\\jww\\plan.jww\r\n0 0 1 1\r\n0 0 1 1\r\nci 0 0 5\r\n";
constexpr std::string_view kTime = "2026-12-09T10:00:00+09:00";
constexpr auto kNotCompared = CountComparison::Outcome::kNotCompared;

class EscapeHost final : public test::QuietHost {
 public:
  bool EscapePressed() override { return true; }
};

// Reads and counts kFile; Escape stops the tally at once when `escape`.
bool ReadAndCount(CountSession& session, bool escape) {
  session.Read(kFile);
  test::QuietHost quiet;
  EscapeHost stop;
  return session.Count(kFolder, escape ? static_cast<CountHost&>(stop) : quiet);
}

TEST(CountSessionTest, OnlyAWholeCountIsComparedOrMarked) {
  struct Case {
    const char* name;
    bool present;
    int failAtRead;  // 0: read to its end
    bool escape;
    bool completed, shortRead, whole, markable;
    CountComparison::Outcome outcome;  // with a baseline of the drawing kept
  } cases[] = {
      {"whole", true, 0, false, true, false, true, true, CountComparison::Outcome::kCompared},
      {"stopped by Escape", true, 0, true, false, false, false, false, kNotCompared},
      {"read in part", true, 4, false, true, true, false, false, kNotCompared},
      {"no file: nothing to mark, no drawing", false, 0, false, true, false, true, false,
       CountComparison::Outcome::kNoDrawing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeFileSystem files;
    files.readChunk = 8;
    files.failAtRead = c.failAtRead;
    if (c.present) files.files[kFile] = kDrawing;
    CountSession session(files);
    EXPECT_EQ(session.Comparison().State, kNotCompared);  // before the count
    EXPECT_EQ(ReadAndCount(session, c.escape), c.completed);
    EXPECT_EQ(session.Completed(), c.completed);
    EXPECT_EQ(session.ShortRead(), c.shortRead);
    EXPECT_EQ(session.WholeCount(), c.whole);
    EXPECT_EQ(session.Markable(), c.markable);
    EXPECT_EQ(files.files[kFile], test::kReply);  // the plain reply, in every case
    if (const auto kept = session.BaselineFile(kFolder); !kept.empty())
      files.files[kept] = session.Baseline(kTime);
    EXPECT_EQ(session.CompareWithBaseline(kFolder).State, c.outcome);
  }
}

// The sequence the window runs: no baseline yet, one kept, the same count again finds nothing changed, a
// revision finds its rows; then the reply that marks what the checks found.
TEST(CountSessionTest, ComparesWithTheKeptBaselineAndRepliesWithMarks) {
  test::FakeFileSystem files;
  files.files[kFile] = kDrawing;
  CountSession first(files);
  ASSERT_TRUE(ReadAndCount(first, false));
  EXPECT_EQ(first.CompareWithBaseline(kFolder).State, CountComparison::Outcome::kNoBaseline);
  const std::filesystem::path kept = first.BaselineFile(kFolder);
  EXPECT_EQ(kept.parent_path().parent_path(), kFolder);
  files.files[kept] = first.Baseline(kTime);
  EXPECT_EQ(first.CompareWithBaseline(kFolder).State, CountComparison::Outcome::kCompared);
  EXPECT_TRUE(first.Comparison().Diff.Rows.empty());

  files.files[kFile] = kDrawing + "0 0 2 2\r\n";
  CountSession revised(files);
  ASSERT_TRUE(ReadAndCount(revised, false));
  EXPECT_EQ(revised.BaselineFile(kFolder), kept);
  EXPECT_EQ(revised.CompareWithBaseline(kFolder).State, CountComparison::Outcome::kCompared);
  EXPECT_FALSE(revised.Comparison().Diff.Rows.empty());
  files.files[kept] = "{";
  EXPECT_EQ(revised.CompareWithBaseline(kFolder).State, CountComparison::Outcome::kUnreadable);

  EXPECT_FALSE(revised.MarkedReply({}).has_value());
  const std::vector<ElementCover> checks = CheckCovers(revised.Report().Tables.Checks);
  const std::optional<std::string> marked = revised.MarkedReply(checks);
  ASSERT_TRUE(marked.has_value());
  EXPECT_EQ(marked->rfind("h#", 0), 0u);
  EXPECT_NE(marked->find("\r\nci "), std::string::npos);
  EXPECT_EQ(marked->substr(marked->size() - 2), "\r\n");
}

// The take-off comes after the reply: whatever the rules file is (missing, unreadable, damaged, good),
// the reply and the counts are those of a count without rules, and the sheet says why it has no figures.
// Reading the rules again makes the sheet anew from the drawing as read. The sheet made beside the tally
// (the CLI's way) is the same in every case.
TEST(CountSessionTest, RulesNeverChangeTheReply) {
  const std::filesystem::path rules = kFolder / "takeoff.csv";
  struct Case {
    const char* name;
    const char* bytes;  // nullptr: no rules file
    bool unreadable;
    bool escape;
    TakeoffResult::Outcome outcome;
  } cases[] = {
      {"no rules file", nullptr, false, false, TakeoffResult::Outcome::kNoRules},
      {"held by Excel", "品名\n線\n", true, false, TakeoffResult::Outcome::kUnreadable},
      {"damaged", "品名,係数\n線,x\n", false, false, TakeoffResult::Outcome::kErrors},
      {"count stopped by Escape", "品名\n線\n", false, true, TakeoffResult::Outcome::kNotComplete},
      {"good", "品名,種別\n線,線\n", false, false, TakeoffResult::Outcome::kApplied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeFileSystem files;
    files.files[kFile] = kDrawing;
    CountSession session(files);
    ReadAndCount(session, c.escape);
    const std::string reply = files.files[kFile];
    if (c.bytes != nullptr) files.files[rules] = c.bytes;
    files.openFails = c.unreadable;
    const TakeoffResult& takeoff = session.ApplyRules(rules, "takeoff.csv");
    EXPECT_EQ(takeoff.State, c.outcome);
    EXPECT_EQ(files.files[kFile], reply);

    files.files[kFile] = kDrawing;
    files.openFails = false;
    CountSession beside(files);
    beside.Read(kFile);
    files.openFails = c.unreadable;
    test::QuietHost quiet;
    EscapeHost stop;
    beside.CountWithRules(kFolder, c.escape ? static_cast<CountHost&>(stop) : quiet, rules, "takeoff.csv");
    EXPECT_EQ(files.files[kFile], reply);
    ASSERT_TRUE(beside.Report().Takeoff.has_value());
    EXPECT_EQ(beside.Report().Takeoff->State, c.outcome);
    EXPECT_EQ(beside.Report().Takeoff->Sheet.Items.size(), takeoff.Sheet.Items.size());
    if (c.outcome != TakeoffResult::Outcome::kApplied) continue;
    EXPECT_EQ(takeoff.Sheet.Items[0].Elements, 2);
    // The file changed in Excel: read again, the sheet follows without reading the drawing again.
    files.files[rules] = "品名,種別\n線,線\n円,円弧\n";
    EXPECT_EQ(session.ApplyRules(rules, "takeoff.csv").Sheet.Items.size(), 2u);
    EXPECT_EQ(session.Report().Takeoff->Sheet.Unassigned.Elements, 0);
  }
}

}  // namespace
}  // namespace jwcount
