// The reply buffer and WriteReplyFile: byte-exact output, the double-quote join, and failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/QuietCount.h"
#include "tests/tempfile/TempFileTestSupport.h"

namespace jwcount {
namespace {

using test::FakeFileSystem;
using Lines = std::vector<std::string>;

const std::filesystem::path kReplyPath = "folder/JWC_TEMP.TXT";
// "要素数をカウントしました", the message of the count's reply
const std::string kCounted(test::kReply.substr(2, 24));

// The bytes WriteReplyFile gives for the buffer lines, through a file system in memory.
std::string WrittenReply(const Lines& lines) {
  FakeFileSystem fs;
  JwwGaibu reader(fs);
  for (const std::string& line : lines) reader.AppendReplyLine(line);
  EXPECT_TRUE(reader.WriteReplyFile(kReplyPath));
  return fs.files.count(kReplyPath) ? fs.files[kReplyPath] : "<no file>";
}

TEST(ReplyFileTest, WritesTheLinesByteForByte) {
  EXPECT_EQ(WrittenReply({}), "hq\r\n");
  FakeFileSystem fs;
  JwwGaibu reader(fs);
  reader.AppendReplyMessage(kCounted);
  ASSERT_TRUE(reader.WriteReplyFile(kReplyPath));
  EXPECT_EQ(fs.files[kReplyPath], test::kReply);
}

TEST(ReplyFileTest, ALineEndingInAQuoteTakesTheNextLineAlong) {
  const std::pair<Lines, std::string> cases[] = {
      // clang-format off
      {{"a", "b"}, "a\r\nb\r\n"}, {{"a\"", "b"}, "a\"b\r\n"},
      {{"a\"", "b\"", "c"}, "a\"b\"\r\nc\r\n"},  // the joined line's own quote is not tested
      {{"a\"", "b\"", "c\""}, "a\"b\"\r\nc\""}, {{"a", "b\""}, "a\r\nb\""},  // no line end after a last quote
      {{"\""}, "\""}, {{"\"", "\""}, "\"\"\r\n"}, {{"a\"", ""}, "a\"\r\n"}, {{"a\"", "", "b"}, "a\"\r\nb\r\n"},
      {{"", "x"}, "\r\nx\r\n"}, {{"", "", ""}, "\r\n\r\n\r\n"}, {{"\"a", "b"}, "\"a\r\nb\r\n"},
      {{"h#\x82\xA0\"", "x"}, "h#\x82\xA0\"x\r\n"}
      // clang-format on
  };
  for (const auto& [lines, file] : cases) {
    std::string trace;
    for (const std::string& line : lines) trace += "[" + line + "]";
    EXPECT_EQ(WrittenReply(lines), file) << trace;
  }
}

TEST(ReplyFileTest, LinesKeepTheirFirst255Bytes) {
  JwwGaibu reader;
  reader.AppendReplyLine(std::string(300, 'a'));
  reader.AppendReplyMessage(std::string(300, 'b'));
  reader.AppendReplyLine(std::string(254, 'c') + "\x82\xA0");
  reader.AppendReplyLine(std::string(255, 'd'));
  ASSERT_EQ(reader.Reply.LineCount, 4);
  EXPECT_EQ((Lines(reader.Reply.Lines.begin(), reader.Reply.Lines.begin() + 4)),
            (Lines{std::string(255, 'a'), "h#" + std::string(253, 'b'), std::string(254, 'c') + "\x82",
                   std::string(255, 'd')}));
  // A quote beyond byte 255 is cut away and joins nothing.
  EXPECT_EQ(WrittenReply({std::string(255, 'a') + "\"", "b"}), std::string(255, 'a') + "\r\nb\r\n");
}

TEST(ReplyFileTest, TheBufferGrowsInStepsOfAThousandLinesAndWritingLeavesIt) {
  FakeFileSystem fs;
  fs.files[kReplyPath] = std::string(100000, 'x');  // what the host wrote is replaced
  JwwGaibu reader(fs);
  std::string expected;
  for (int i = 1; i <= 1001; ++i) {
    reader.AppendReplyLine("line " + std::to_string(i));
    expected += "line " + std::to_string(i) + "\r\n";
    if (i == 1 || i == 1000) {
      EXPECT_EQ(reader.Reply.Lines.size(), 1000u) << i;
    }
  }
  EXPECT_EQ(reader.Reply.Lines.size(), 2000u);
  ASSERT_TRUE(reader.WriteReplyFile(kReplyPath));
  ASSERT_TRUE(reader.WriteReplyFile(kReplyPath));
  EXPECT_EQ(fs.files[kReplyPath], expected);
  EXPECT_EQ(reader.Reply.LineCount, 1001);

  reader.ResetReaderState();  // empties the buffer
  ASSERT_TRUE(reader.WriteReplyFile(kReplyPath));
  EXPECT_EQ(fs.files[kReplyPath], "hq\r\n");
}

TEST(ReplyFileTest, AFailedWriteReturnsFalseLeavesNoFileAndKeepsTheBuffer) {
  const std::pair<const char*, void (*)(FakeFileSystem&)> failures[] = {
      {"create", [](FakeFileSystem& fs) { fs.createFails = true; }},
      {"first write", [](FakeFileSystem& fs) { fs.failWriteAtByte = 0; }},
      {"later write", [](FakeFileSystem& fs) { fs.failWriteAtByte = 3; }},  // part of the reply lands first
      {"close", [](FakeFileSystem& fs) { fs.closeOutputFails = true; }}};
  for (const auto& [what, fail] : failures) {
    for (const int lineCount : {0, 1500}) {
      SCOPED_TRACE(std::string(what) + ", lines " + std::to_string(lineCount));
      FakeFileSystem fs;
      fs.files[kReplyPath] = "what the host wrote";
      fail(fs);
      JwwGaibu reader(fs);
      Lines lines;
      for (int i = 0; i < lineCount; ++i) lines.push_back(std::to_string(i) + (i % 7 == 0 ? "\"" : ""));
      for (const std::string& line : lines) reader.AppendReplyLine(line);
      EXPECT_FALSE(reader.WriteReplyFile(kReplyPath));
      if (std::string(what) != "create") {
        EXPECT_EQ(fs.files.count(kReplyPath), 0u);
      }
      ASSERT_EQ(reader.Reply.LineCount, lineCount);
      EXPECT_EQ(Lines(reader.Reply.Lines.begin(), reader.Reply.Lines.begin() + lineCount), lines);
    }
  }
}

TEST(ReplyFileTest, WritesRealFiles) {
  test::ScratchFolder folder;
  const auto path = folder / "JWC_TEMP.TXT";
  test::WriteBytes(path, std::string(10000, 'x'));
  JwwGaibu reader;
  reader.AppendReplyMessage(kCounted);
  ASSERT_TRUE(reader.WriteReplyFile(path));
  EXPECT_EQ(test::ReadBytes(path), test::kReply);
  // A folder that does not exist: false, and no file or folder is made.
  EXPECT_FALSE(reader.WriteReplyFile(folder / "missing" / "JWC_TEMP.TXT"));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

}  // namespace
}  // namespace jwcount
