// The count run through a fake host: order of the host calls, progress, Escape, summaries and the reply.
#include "CountRun.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// A scratch folder of its own for every test, removed afterwards.
class CountRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("jwcount-count-" + std::to_string(::getpid()) + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

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

  void Run(FakeHost& host) { CountElements(reader_, tables_, folder_, host); }

  std::string ReplyFile() const {
    std::ifstream in(folder_ / "JWC_TEMP.TXT", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder_;
  JwwGaibu reader_;
  CountTables tables_;
};

const std::string kReply = "h#" + kDone + "\r\n";

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
  EXPECT_EQ(ReplyFile().size(), 28u);
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
  Run(host);
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
  Run(host);
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

TEST(CountRunReply, UnwritableFolderIsSilent) {
  JwwGaibu reader;
  CountTables tables;
  FakeHost host;
  const auto missing = std::filesystem::temp_directory_path() / "jwcount-count-no-such-folder" / "deeper";
  CountElements(reader, tables, missing, host);
  EXPECT_EQ(host.calls.back(), "status:" + kDone);
  EXPECT_FALSE(std::filesystem::exists(missing / "JWC_TEMP.TXT"));
}

}  // namespace
}  // namespace jwcount
