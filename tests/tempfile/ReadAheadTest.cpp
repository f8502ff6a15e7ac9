// ReadAhead: the batches of lines, on a second thread and on the caller's, against the lines LineReader
// hands out one by one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tempfile/LineReader.h"
#include "tempfile/MyFunc.h"
#include "tempfile/ReadAhead.h"
#include "tests/support/FakeFileSystem.h"

namespace jwcount {
namespace {

// A line as the reader stores it: the text, or "P" and the four values of a plain line.
using Lines = std::vector<std::string>;

std::unique_ptr<InputFile> Open(const std::string& bytes, int failAtRead) {
  static test::FakeFileSystem fs;
  fs.files["f"] = bytes;
  fs.readChunk = 1000;
  fs.failAtRead = failAtRead;
  return fs.OpenForRead("f");
}

std::pair<Lines, LineReader::Result> ByBatches(const std::string& bytes, int failAtRead, bool secondThread) {
  const auto file = Open(bytes, failAtRead);
  ReadAhead ahead(*file, secondThread);
  Lines lines;
  while (const LineBatch* batch = ahead.Next()) {
    auto values = batch->Values.begin();
    for (const LineBatch::Line& line : batch->Lines) {
      if (line.Size != LineBatch::kPlain) {
        lines.emplace_back(batch->Text(line));
        continue;
      }
      std::string plain = "P";
      for (const double value : (values++)->Values) AppendNumber(plain.append(" "), value);
      lines.push_back(plain);
    }
  }
  return {lines, ahead.Ending()};
}

TEST(ReadAheadTest, GivesTheLinesInOrderOnEitherThreadAndEndsAsTheFileDoes) {
  // Many batches: plain lines, texts, CR and Ctrl-Z rules, lines across read and block boundaries.
  std::string bytes;
  for (int i = 0; i < 40000; ++i) {
    bytes += std::to_string(i) + " -2.5 1e+06 7\r\n";
    if (i % 3 == 0) bytes += "ch 1 2 3 4 \"text" + std::to_string(i) + "\r\n";
    if (i % 1000 == 0)
      bytes +=
          "a\rb\x1A"
          "cut\r\n" +
          std::string(3000, 'x') + "\n";
  }
  const auto [lines, ending] = ByBatches(bytes, 0, true);
  EXPECT_EQ(ending, LineReader::Result::kEnd);
  ASSERT_EQ(lines.size(), 40000u + 13334u + 80u);
  EXPECT_EQ(lines[0], "P 0 -2.5 1e+06 7");
  EXPECT_EQ(lines[1], "ch 1 2 3 4 \"text0");
  EXPECT_EQ(lines[2], "ab");
  EXPECT_EQ(lines.back(), "ch 1 2 3 4 \"text39999");
  EXPECT_EQ(ByBatches(bytes, 0, false), std::make_pair(lines, ending));

  // A read that fails part way: the lines before it, then kError, the same on both threads.
  for (const bool secondThread : {true, false}) {
    const auto [cut, cutEnding] = ByBatches(bytes, 500, secondThread);
    EXPECT_EQ(cutEnding, LineReader::Result::kError);
    ASSERT_GT(cut.size(), 1000u);
    ASSERT_LT(cut.size(), lines.size());
    EXPECT_TRUE(std::equal(cut.begin(), cut.end(), lines.begin())) << secondThread;
  }
  // A Ctrl-Z where a line begins ends the lines; an empty file has none.
  EXPECT_EQ(ByBatches("1 2 3 4\n\x1A"
                      "5 6 7 8\n",
                      0, true),
            std::make_pair(Lines{"P 1 2 3 4"}, LineReader::Result::kEnd));
  EXPECT_EQ(ByBatches("", 0, true), std::make_pair(Lines{}, LineReader::Result::kEnd));
}

}  // namespace
}  // namespace jwcount
