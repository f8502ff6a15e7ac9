// The count run through a fake host: order of the host calls, progress, Escape, summaries and the reply.
#include "counting/CountRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/QuietCount.h"
#include "tests/support/ScratchFolder.h"

namespace jwcount {
namespace {

const std::string kStart =
    "\x97\x76\x91\x66\x90\x94\x82\xF0\x83\x4A\x83\x45\x83\x93\x83\x67\x82\xB5\x82\xDC\x82\xB7";
const std::string kDone =
    "\x97\x76\x91\x66\x90\x94\x82\xF0\x83\x4A\x83\x45\x83\x93\x83\x67\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
const std::string kProgress =
    "\x97\x76\x91\x66\x90\x94\x83\x4A\x83\x45\x83\x93\x83\x67\x92\x86(ESC:\x92\x86\x92\x66)\x81\x46";
const std::string kSlash = "\x81\x5E";

std::string Progress(int entity, int total) {
  return "status:" + kProgress + std::to_string(entity) + kSlash + std::to_string(total);
}

// Records every call in order; Escape reads as down at the polls listed (0 is the first poll).
class FakeHost : public CountHost {
 public:
  explicit FakeHost(std::vector<int> escapeAtPolls = {}) : escapeAtPolls_(std::move(escapeAtPolls)) {}
  void ShowStatus(std::string_view text) override { calls.push_back("status:" + std::string(text)); }
  bool EscapePressed() override {
    calls.push_back("escape?");
    return std::find(escapeAtPolls_.begin(), escapeAtPolls_.end(), polls_++) != escapeAtPolls_.end();
  }
  void ShowSummary(int label, std::string_view text) override {
    calls.push_back("summary" + std::to_string(label) + ":" + std::string(text));
  }
  void ShowFirstPage() override { calls.push_back("page1"); }

  std::vector<std::string> Statuses() const {
    std::vector<std::string> out;
    for (const auto& c : calls) {
      if (c.rfind("status:", 0) == 0) out.push_back(c);
    }
    return out;
  }

  std::vector<std::string> calls;

 private:
  std::vector<int> escapeAtPolls_;
  int polls_ = 0;
};

// A scratch folder of its own for every test.
class CountRunTest : public ::testing::Test {
 protected:
  void AddEntities(int32_t kind, int count, int group = 0, int layer = 0) {
    EntityAttributes attrs;
    attrs.LayerGroup = group;
    attrs.Layer = layer;
    attrs.LineColour = 1;
    attrs.LineType = 1;
    for (int i = 0; i < count; ++i) {
      int32_t position = 0;
      VisitStore(reader_.Stores, kind, [&](auto& store) {
        position = store.Count();
        store.Reserve();
        store.Commit().Attrs = attrs;
      });
      reader_.AppendEntityIndex(kind, position);
    }
  }

  bool Run(FakeHost& host) { return CountElements(reader_, tables_, folder_.Path(), host); }

  std::string ReplyFile() const { return test::ReadBytes(folder_ / "JWC_TEMP.TXT"); }

  test::ScratchFolder folder_;
  JwwGaibu reader_;
  CountTables tables_;
};

using test::kReply;

TEST_F(CountRunTest, EmptyIndexShowsNoProgressAndStillReplies) {
  FakeHost host;
  Run(host);
  ASSERT_EQ(host.calls.size(), 16u);
  EXPECT_EQ(host.calls[0], "page1");
  EXPECT_EQ(host.calls[1], "status:" + kStart);
  EXPECT_EQ(host.calls[2],
            "summary1:\x90\xFC\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46"
            "0");
  for (int label = 1; label <= 13; ++label) {
    EXPECT_EQ(host.calls[1 + label],
              "summary" + std::to_string(label) + ":" + std::string(kSummaryCaptions[label - 1]) + "0");
  }
  EXPECT_EQ(host.calls[15], "status:" + kDone);
  EXPECT_EQ(tables_.SG1.CellText(1, 289), "0");
  EXPECT_EQ(tables_.SG5.CellText(13, 30003), "0");
  EXPECT_EQ(tables_.SG1.CellText(0, 289), "\x8D\x87\x8C\x76");
  EXPECT_EQ(ReplyFile(), kReply);
}

TEST_F(CountRunTest, OneEntityShowsOneProgressTextThenPolls) {
  AddEntities(kLine, 1);
  FakeHost host;
  Run(host);
  const std::vector<std::string> tail(host.calls.begin() + 15, host.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{Progress(1, 1), "escape?", "status:" + kDone}));
  EXPECT_EQ(tables_.SG1.CellText(1, 1), "1");
}

TEST_F(CountRunTest, ProgressEveryHundredEntities) {
  AddEntities(kText, 250, 3, 4);
  FakeHost host;
  EXPECT_TRUE(Run(host));
  EXPECT_EQ(host.Statuses(),
            (std::vector<std::string>{"status:" + kStart, Progress(1, 250), Progress(101, 250),
                                      Progress(201, 250), "status:" + kDone}));
  EXPECT_EQ(tables_.SG1.CellText(3, 3 * 18 + 5), "250");
  EXPECT_EQ(tables_.SG2.CellText(3, 4), "250");
  EXPECT_EQ(ReplyFile(), kReply);
}

TEST_F(CountRunTest, EscapeAtStartTalliesNothingButSummariesAreFull) {
  AddEntities(kCircle, 10);
  AddEntities(kArc, 5);
  FakeHost host({0});
  Run(host);
  EXPECT_EQ(host.calls[3], "summary2:" + std::string(kSummaryCaptions[1]) + "15");
  EXPECT_EQ(host.Statuses(),
            (std::vector<std::string>{"status:" + kStart, Progress(1, 15), "status:" + kDone}));
  EXPECT_EQ(tables_.SG1.CellText(2, 1), "");
  EXPECT_EQ(tables_.SG1.CellText(2, 289), "0");
  EXPECT_EQ(tables_.SG3.CellText(2, 268), "0");
  EXPECT_EQ(ReplyFile(), kReply);
}

// The stop is final: no progress text or poll follows it, and the rest is not tallied.
TEST_F(CountRunTest, EscapeAtThePollBefore201CountsTheFirst200) {
  AddEntities(kLine, 350);
  FakeHost host({2});
  EXPECT_FALSE(Run(host));
  EXPECT_EQ(host.Statuses(),
            (std::vector<std::string>{"status:" + kStart, Progress(1, 350), Progress(101, 350),
                                      Progress(201, 350), "status:" + kDone}));
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "escape?"), 3);
  EXPECT_EQ(tables_.SG1.CellText(1, 289), "200");
  EXPECT_EQ(tables_.SG5.CellText(1, 30003), "200");
  EXPECT_EQ(host.calls[2], "summary1:" + std::string(kSummaryCaptions[0]) + "350");
  EXPECT_EQ(ReplyFile(), kReply);
}

TEST_F(CountRunTest, CirclesAndArcsShareLabelAndColumn) {
  AddEntities(kCircle, 10);
  AddEntities(kArc, 5);
  AddEntities(kSolidRingO, 2);
  AddEntities(kSolidRingG, 3);
  FakeHost host;
  Run(host);
  EXPECT_EQ(host.calls[3], "summary2:" + std::string(kSummaryCaptions[1]) + "15");
  EXPECT_EQ(host.calls[14], "summary13:" + std::string(kSummaryCaptions[12]) + "5");
  EXPECT_EQ(tables_.SG1.CellText(2, 289), "15");
  EXPECT_EQ(tables_.SG1.CellText(13, 289), "5");
}

TEST_F(CountRunTest, ElementsReadFromRecords) {
  for (const char* line :
       {"lg2", "ly3", "lc4", "0 0 1 1", "1 1 2 2", "ci 0 0 5", "lc103", "ci 0 0 5 0 90 1 0"}) {
    reader_.ParseLine(line);
  }
  FakeHost host;
  Run(host);
  EXPECT_EQ(tables_.SG1.CellText(1, 2 * 18 + 3 + 1), "2");
  EXPECT_EQ(tables_.SG1.CellText(2, 2 * 18 + 3 + 1), "2");
  EXPECT_EQ(tables_.SG3.CellText(1, 4), "2");
  EXPECT_EQ(tables_.SG3.CellText(2, 4), "1");
  EXPECT_EQ(tables_.SG3.CellText(2, 13), "1");  // SXF3
  EXPECT_EQ(tables_.SG2.CellText(2, 3), "2");
}

using NameCounts = std::vector<std::pair<std::string, int32_t>>;

NameCounts BlockRows(const CountTables& tables) {
  NameCounts rows;
  for (const NameCountRow& row : tables.Blocks.Rows()) rows.emplace_back(row.Name, row.Count);
  return rows;
}

// Block names are compared byte for byte (a byte that is no Shift-JIS, 0x7F and a name that differs only
// in its last byte stay apart), rows come in order of first appearance, and the total is SG1's BLOCK total,
// also when Escape stops the tally part way.
TEST_F(CountRunTest, BlocksCountedByNameInOrderOfFirstAppearance) {
  const std::string toilet = "\x95\xD6\x8A\xED";  // 便器
  const std::string other = "\x95\xD6\x8A\xEE";
  const std::string invalid = "\xA0";  // no Shift-JIS character
  const std::string names[] = {toilet, "", invalid, other, "\x7F", toilet, "", invalid};
  for (int round = 0; round < 30; ++round) {
    for (const std::string& name : names) {
      reader_.ParseLine("BL 1 2 \"" + name);
      reader_.ParseLine("0 0 1 1");
    }
  }
  FakeHost all;
  Run(all);
  EXPECT_EQ(BlockRows(tables_),
            (NameCounts{{toilet, 60}, {"", 60}, {invalid, 60}, {other, 30}, {"\x7F", 30}}));
  EXPECT_EQ(tables_.Blocks.Total(), tables_.SG1.Count(7, kSg1TotalRow));

  FakeHost stopped({1});  // the poll before entity 101: the first 100 entities, 50 insertions
  Run(stopped);
  EXPECT_EQ(BlockRows(tables_), (NameCounts{{toilet, 13}, {"", 13}, {invalid, 12}, {other, 6}, {"\x7F", 6}}));
  EXPECT_EQ(tables_.Blocks.Total(), 50);
  EXPECT_EQ(tables_.SG1.Count(7, kSg1TotalRow), 50);
}

TEST(CountRunReply, UnwritableFolderIsSilent) {
  JwwGaibu reader;
  CountTables tables;
  FakeHost host;
  const test::ScratchFolder folder;
  const auto missing = folder / "no such folder";
  CountElements(reader, tables, missing, host);
  EXPECT_EQ(host.calls.back(), "status:" + kDone);
  EXPECT_FALSE(std::filesystem::exists(missing / "JWC_TEMP.TXT"));
}

}  // namespace
}  // namespace jwcount
