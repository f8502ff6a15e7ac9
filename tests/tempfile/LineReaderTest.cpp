// LineReader: line breaks, lone CRs and Ctrl-Z, with lines that run over block boundaries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tempfile/LineReader.h"
#include "tests/support/FakeFileSystem.h"

namespace jwcount {
namespace {

using Lines = std::vector<std::string>;

// All lines the reader hands out, and how it stopped.
std::pair<Lines, LineReader::Result> ReadAll(const std::string& bytes, std::size_t blockSize,
                                             std::size_t chunk, int failAtRead = 0) {
  test::FakeFileSystem fs;
  fs.files["f"] = bytes;
  fs.readChunk = chunk;
  fs.failAtRead = failAtRead;
  const auto file = fs.OpenForRead("f");
  LineReader reader(*file, blockSize);
  Lines lines;
  std::string_view line;
  LineReader::Result result = LineReader::Result::kLine;
  while (lines.size() < 1000 && (result = reader.Next(line)) == LineReader::Result::kLine)
    lines.emplace_back(line);
  return {lines, result};
}

TEST(LineReaderTest, SplitsLinesByTheExchangeFileRules) {
  const std::pair<std::string, Lines> cases[] = {
      // clang-format off
      {"", {}}, {"a\nb\n", {"a", "b"}}, {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\r\nb", {"a", "b"}},
      {"\n", {""}}, {"\r\n\r\n", {"", ""}}, {"\n\nx", {"", "", "x"}},
      {"line one spans blocks\r\nline two\r\n", {"line one spans blocks", "line two"}},
      // A CR not followed by LF is dropped and does not end the line.
      {"a\rb\r\n", {"ab"}}, {"a\r\r\nb", {"a", "b"}}, {"\rab\rc\r", {"abc"}},
      {"0123456789\r01234567\t9\r\n", {"012345678901234567\t9"}}, {"0123456789\r\r\n", {"0123456789"}},
      // Ctrl-Z where a line would begin ends the input.
      {"\x1A", {}}, {"\x1A" "a\nb\n", {}}, {"a\n\x1A" "b\nc\n", {"a"}}, {"a\r\n\x1A\r\nb\r\n", {"a"}},
      // Ctrl-Z inside a line ends it; the rest up to the next LF is skipped and reading goes on.
      {"a\x1A" "xyz\nb\n", {"a", "b"}}, {"ab\x1A\r\ncd", {"ab", "cd"}}, {"a\x1A" "x\x1A" "y\nb", {"a", "b"}},
      {"abcdefgh\x1A" "ijklmnopqrstuvwxyz\nrest\n", {"abcdefgh", "rest"}}, {"a\x1A" "b", {"a"}},
      {"a\x1A\n\x1A" "b\nc\n", {"a"}},
      // Other bytes pass through; an LF ends the line even after a lead byte.
      {std::string("a\0\t\x82\x0A", 5) + "b\n", {std::string("a\0\t\x82", 4), "b"}}
      // clang-format on
  };
  // Short reads (chunk 1 or 2) put a Ctrl-Z inside a line at the start of a refilled block too.
  for (const std::size_t blockSize : {1, 3, 7, 4096}) {
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{2}, blockSize}) {
      for (const auto& [bytes, lines] : cases) {
        const auto [read, result] = ReadAll(bytes, blockSize, chunk);
        EXPECT_EQ(read, lines) << "block " << blockSize << ", chunk " << chunk << ", \"" << bytes << "\"";
        EXPECT_EQ(result, LineReader::Result::kEnd);
      }
    }
  }
}

TEST(LineReaderTest, ACtrlZAtABlockStartEndsTheInputOnlyWhereALineBegins) {
  EXPECT_EQ(ReadAll("abc\x1A"
                    "def\ng\n",
                    3, 3)
                .first,
            (Lines{"abc", "g"}));
  EXPECT_EQ(ReadAll("ab\n\x1A"
                    "x\ny\n",
                    3, 3)
                .first,
            (Lines{"ab"}));
}

TEST(LineReaderTest, AReadErrorEndsReadingWithAnErrorAndNoPartLine) {
  const std::pair<Lines, LineReader::Result> error = {Lines{"ab"}, LineReader::Result::kError};
  EXPECT_EQ(ReadAll("ab\ncd\nef\n", 3, 3, 2), error);
  EXPECT_EQ(ReadAll("ab\ncdef\n", 3, 3, 3), error);  // the error falls inside the second line
  EXPECT_EQ(ReadAll("ab\ncd", 3, 3, 3), error);      // a last line without a break is not complete yet
  EXPECT_EQ(ReadAll("abc\n", 4096, 4096, 1), std::make_pair(Lines{}, LineReader::Result::kError));
}

TEST(LineReaderTest, ReadsLongLinesAcrossManyBlocks) {
  const std::string longLine(100000, 'x');
  EXPECT_EQ(ReadAll(longLine + "\r\n" + longLine, 7, 7).first, (Lines{longLine, longLine}));
}

// Reads that fill the block make it larger (64 KiB, 128 KiB, ... up to the size asked for): lines of every
// length, with a CR on every other one, come out whole across the edges of each larger block.
TEST(LineReaderTest, LinesComeOutWholeWhileTheBlockGrows) {
  std::string bytes;
  Lines expected;
  for (int i = 0; bytes.size() < 600000; ++i) {
    expected.emplace_back(static_cast<std::size_t>(i * 7919 % 2000), static_cast<char>('a' + i % 26));
    bytes += expected.back() + (i % 2 == 0 ? "\n" : "\r\n");
  }
  for (const std::size_t chunk : {bytes.size(), std::size_t{100000}}) {
    EXPECT_EQ(ReadAll(bytes, std::size_t{1} << 20, chunk), std::make_pair(expected, LineReader::Result::kEnd))
        << chunk;
  }
}

}  // namespace
}  // namespace jwcount
