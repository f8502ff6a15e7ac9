// ReadTempFile: whole files, from memory and from disk (failing reads: tests/hardening/IoFaultTest.cpp).
#include <gtest/gtest.h>

#include <string>

#include "tests/tempfile/TempFileTestSupport.h"

namespace jwcount {
namespace {

using test::Entries;
using test::FakeFileSystem;

const std::filesystem::path kTempFile = "folder/JWC_TEMP.TXT";

TEST(ReadTempFileTest, ReadsEveryLineWithTheLineBreakRules) {
  FakeFileSystem fs;
  fs.readChunk = 3;
  // LF and CR LF, a lone CR inside a line, a Ctrl-Z inside a line, then a Ctrl-Z at a line start.
  fs.files[kTempFile] =
      "lg2\r\nly3\nlc5\r\n1 2 3 4\n5 6\r 7 8\r\nci 1 2 3\x1A"
      "junk\nlt3\n\x1A"
      "ci 9 9 9\n";
  JwwGaibu reader(fs);
  EXPECT_TRUE(reader.ReadTempFile(kTempFile));
  EXPECT_EQ(test::IndexEntries(reader), (Entries{{1, 0}, {1, 1}, {2, 0}}));
  EXPECT_EQ(test::Ends(reader.Stores.Lines[1]), (std::vector<double>{5, 6, 7, 8}));
  EXPECT_EQ(test::HeaderValues(reader.Stores.Circles[0].Attrs), (std::vector<int32_t>{0, 2, 3, 5, 1, 0, 0}));
  EXPECT_EQ(reader.Current.LineType, 3);

  fs.files[kTempFile] = "";
  EXPECT_TRUE(reader.ReadTempFile(kTempFile));  // an empty file has no lines
  EXPECT_EQ(reader.EntityCount(), 3);
}

TEST(ReadTempFileTest, ReadsRealFilesFromDisk) {
  test::ScratchFolder folder;
  const auto path = folder / "JWC_TEMP.TXT";
  std::string bytes = "hzs 420 297\r\nlg1\r\nch 0 0 1 1 \x82\xA0\x82\xA2\r\n";
  const int lineCount = 150000;  // well beyond one read block
  for (int i = 0; i < lineCount; ++i) bytes += std::to_string(i) + " 1.5 2.5 3.5\r\n";
  test::WriteBytes(path, bytes);
  JwwGaibu reader;
  EXPECT_TRUE(reader.ReadTempFile(path));
  EXPECT_EQ(reader.Drawing.SheetWidth, 420.0);
  ASSERT_EQ(reader.StoreCount(kText), 1);
  EXPECT_EQ(reader.Stores.Texts[0].Text.View(), "\x82\xA0\x82\xA2");
  ASSERT_EQ(reader.StoreCount(kLine), lineCount);
  for (int i = 0; i < lineCount; i += 997) EXPECT_EQ(reader.Stores.Lines[i].X1, i);
  EXPECT_EQ(test::Ends(reader.Stores.Lines[lineCount - 1]),
            (std::vector<double>{lineCount - 1, 1.5, 2.5, 3.5}));

  EXPECT_FALSE(reader.ReadTempFile(folder / "none.txt"));
  EXPECT_FALSE(reader.ReadTempFile(folder / "no folder" / "JWC_TEMP.TXT"));
  EXPECT_FALSE(reader.ReadTempFile(folder.Path()));  // a folder is no file
  EXPECT_EQ(reader.EntityCount(), lineCount + 1);
}

}  // namespace
}  // namespace jwcount
