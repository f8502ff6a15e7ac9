// The count drawn as a table into the reply: its size from the drawing's text kind, the cap on name rows,
// the answer Jw_cad reads back (and nothing that changes the user's layer, pen or data), and the notice
// alone after Escape or a short read.
#include "report/TableAnswer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/RunSequence.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

const std::filesystem::path kFolder = "tool";
const std::filesystem::path kFile = TempFilePath(kFolder);

// The count host of the table item: answers with the table, as the window does when started with /table.
class TableHost final : public test::QuietHost {
 public:
  bool escape = false;
  bool readToEnd = true;
  bool EscapePressed() override { return escape; }
  void AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) override {
    AppendTableAnswer(reader, tables, complete, readToEnd);
  }
};

// Counts the exchange-file lines with the table host; the reader and tables stay for the test to look at.
struct TableRun {
  test::FakeFileSystem files;
  JwwGaibu reader{files};
  CountTables tables;

  std::string Count(const std::vector<std::string>& lines, TableHost host = {}) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    files.files[kFile] = bytes;
    ReadForCount(reader, kFile);
    CountElements(reader, tables, kFolder, host);
    return files.files[kFile];
  }
};

std::vector<std::string> FileLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < bytes.size(); start = end + 2) {
    end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

const TableText* FindText(const TableLayout& layout, std::string_view text) {
  for (const TableText& t : layout.Texts) {
    if (t.Text == text) return &t;
  }
  return nullptr;
}

const std::string kHeader[] = {"hcw 2 2.5 3 3.5 4 5 6 7 8 10", "hch 2 2.5 3 3.5 4 5 6 7 8 10",
                               "hcd 0 0 0.5 0.5 0.5 1 1 1 1 1"};
const std::string kChair = "AB\x88\xD6\x8E\x71";  // AB椅子: two half-width and two full-width characters

struct SizeCase {
  const char* name;
  std::vector<std::string> lines;  // before a line and a block "AB椅子"
  std::string record;
  double advance;  // a full-width character's width and spacing
  double height;
};

TEST(TableAnswer, LaysOutInTheDrawingsTextSize) {
  const SizeCase cases[] = {
      {"text kind 3 from the header", {kHeader[0], kHeader[1], kHeader[2], "cn3"}, "cn3", 3.5, 3},
      {"a free size", {kHeader[0], "cn0 2.5 2 0.5 4", "cn3"}, "cn0 2.5 2 0.5 4", 3, 2},
      {"nothing given", {}, "cn0 3.5 3.5 0 2", 3.5, 3.5},
      {"a kind but no header", {"cn3"}, "cn0 3.5 3.5 0 2", 3.5, 3.5},
      {"a kind of no size", {"hcw 0 0 0 0 0 0 0 0 0 0", kHeader[1], "cn2"}, "cn0 3.5 3.5 0 2", 3.5, 3.5},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = c.lines;
    lines.insert(lines.end(), {"0 0 1 1", "BL 0 0 \"" + kChair});
    TableRun run;
    run.Count(lines);
    const TableLayout layout = LayOutTable(run.reader.Drawing, CountSummary(run.reader), run.tables.Blocks);
    EXPECT_EQ(layout.Size.Record, c.record);
    // Rows: 種類|数, 線データ|1, ブロックデータ|1, 合計|2, ブロック名|数, AB椅子|1, 合計|1. The widest
    // name, ブロックデータ, is 7 full-width characters; the widest count, 数, one. Half a character of
    // margin on either side of a text, a row twice the text height.
    const double nameWidth = 8 * c.advance;
    const double width = nameWidth + 2 * c.advance;
    EXPECT_DOUBLE_EQ(layout.Width, width);
    EXPECT_DOUBLE_EQ(layout.Height, 7 * 2 * c.height);
    const TableText* chair = FindText(layout, kChair);
    ASSERT_NE(chair, nullptr);
    EXPECT_DOUBLE_EQ(chair->Length, 3 * c.advance);
    EXPECT_DOUBLE_EQ(chair->X, c.advance / 2);
    EXPECT_DOUBLE_EQ(chair->Y, -5 * 2 * c.height - 1.5 * c.height);  // sixth row, vertically centred
    const TableText& count = *(chair + 1);
    EXPECT_EQ(count.Text, "1");
    EXPECT_DOUBLE_EQ(count.X + count.Length, width - c.advance / 2);  // right-aligned
    EXPECT_DOUBLE_EQ(layout.Lines[layout.Lines.size() - 2].X1, nameWidth);
  }
}

TEST(TableAnswer, AtMost200NameRowsThenTheRestInOne) {
  for (const int names : {200, 250}) {
    SCOPED_TRACE(names);
    NameCountTable blocks;
    int rest = 0;
    for (int i = 0; i < names; ++i) {
      for (int k = 0; k <= i % 3; ++k) blocks.Tally("n" + std::to_string(i));
      if (i >= 200) rest += i % 3 + 1;
    }
    const TableLayout layout = LayOutTable(DrawingState{}, SummaryCounts{}, blocks);
    // 種類|数, 合計|0, ブロック名|数, the name rows, (ほか 50 種|rest,) 合計.
    const std::size_t rows = 3 + 200 + (names > 200 ? 1 : 0) + 1;
    EXPECT_DOUBLE_EQ(layout.Height, static_cast<double>(rows) * 7);
    EXPECT_NE(FindText(layout, "n199"), nullptr);
    EXPECT_EQ(FindText(layout, "n200"), nullptr);
    const TableText* others = FindText(layout, "\x82\xD9\x82\xA9 50 \x8E\xED");  // ほか 50 種
    if (names == 200) {
      EXPECT_EQ(others, nullptr);
    } else {
      ASSERT_NE(others, nullptr);
      EXPECT_EQ((others + 1)->Text, std::to_string(rest));
      EXPECT_EQ((others + 3)->Text, std::to_string(blocks.Total()));
    }
  }
}

// The written answer read back by the reader: exactly the lines and texts of the table, each text whole
// (no record joined to the next by a final quote), every line within 255 bytes, and no record that would
// pick a layer, a pen or delete the user's data.
TEST(TableAnswer, ReadsBackAsExactlyTheTable) {
  const std::string longName(300, '\x95');  // 0x95 0x95 ...: 150 full-width characters
  std::string mixed = "a";
  for (int i = 0; i < 150; ++i) mixed += "\x95\x5C";  // 表, whose second byte is a backslash
  const std::vector<std::string> hostile = {"lg3",
                                            "ly5",
                                            "lc4",
                                            "lt2",
                                            "lw30",
                                            "0 0 1 1",
                                            "BL 0 0 \"abc\"",
                                            "BL 0 0 \"\"",
                                            "BL 0 0 \"hd",
                                            "BL 0 0 \"lg1 2",
                                            "BL 0 0 \"x\x81\"",
                                            "BL 0 0 \"" + longName,
                                            "BL 0 0 \"" + mixed,
                                            "BL 0 0 \""};
  const std::vector<std::string> plain = {kHeader[0],          kHeader[1], kHeader[2],
                                          "cn0 2.5 2.5 0.5 3", "ci 0 0 5", "BL 1 1 \"" + kChair};
  for (const auto* lines : {&hostile, &plain}) {
    TableRun run;
    const std::string reply = run.Count(*lines);
    const TableLayout layout = LayOutTable(run.reader.Drawing, CountSummary(run.reader), run.tables.Blocks);

    const std::vector<std::string> written = FileLines(reply);
    ASSERT_EQ(written.size(), 1 + 3 + layout.Lines.size() + layout.Texts.size());
    EXPECT_EQ(written[0] + "\r\n", test::kReply);
    EXPECT_EQ(written[1], "bz");
    EXPECT_EQ(written[2], layout.Size.Record);
    for (const std::string& line : written) {
      EXPECT_LE(line.size(), kMaxReplyLine) << line;
      for (const char* keyword : {"hd", "lg", "ly", "lc", "lt", "lw"}) {
        EXPECT_NE(line.rfind(keyword, 0), 0u) << line;
      }
    }

    JwwGaibu back(run.files);
    ASSERT_TRUE(back.ReadTempFile(kFile));
    EXPECT_TRUE(back.Drawing.BzFlag);
    EXPECT_EQ(back.EntityCount(), static_cast<int32_t>(layout.Lines.size() + layout.Texts.size()));
    ASSERT_EQ(back.Stores.Lines.Count(), static_cast<int32_t>(layout.Lines.size()));
    for (int32_t i = 0; i < back.Stores.Lines.Count(); ++i) {
      const TJwwEntLine& line = back.Stores.Lines[i];
      const TableLine& expected = layout.Lines[static_cast<std::size_t>(i)];
      EXPECT_NEAR(line.X1, expected.X1, 1e-6);
      EXPECT_NEAR(line.Y1, expected.Y1, 1e-6);
      EXPECT_NEAR(line.X2, expected.X2, 1e-6);
      EXPECT_NEAR(line.Y2, expected.Y2, 1e-6);
    }
    ASSERT_EQ(back.Stores.Texts.Count(), static_cast<int32_t>(layout.Texts.size()));
    for (int32_t i = 0; i < back.Stores.Texts.Count(); ++i) {
      const TJwwEntText& text = back.Stores.Texts[i];
      const TableText& expected = layout.Texts[static_cast<std::size_t>(i)];
      EXPECT_EQ(text.Text.View(), expected.Text);
      EXPECT_EQ(text.TextType, 0);
      EXPECT_EQ(text.CcCode, 0);
      EXPECT_NEAR(text.Param1, expected.X, 1e-6);
      EXPECT_NEAR(text.Param2, expected.Y, 1e-6);
      EXPECT_NEAR(text.Param3, expected.Length, 1e-6);
      EXPECT_EQ(text.Param4, 0);
      // Every text a whole run of characters: no half of a double-byte character at a cut.
      const std::string& t = expected.Text;
      for (std::size_t k = 0; k < t.size(); k += IsCp932LeadByte(static_cast<unsigned char>(t[k])) ? 2 : 1) {
        ASSERT_LT(k + (IsCp932LeadByte(static_cast<unsigned char>(t[k])) ? 1 : 0), t.size()) << t;
      }
    }
    if (lines == &hostile) {
      // Names as they can be drawn: a final quote followed by a blank, a byte that starts no character as
      // "?", long names cut before 160 bytes and marked "…"; the block without a name leaves its cell empty.
      for (const char* name : {"abc\" ", "\" ", "hd", "lg1 2", "x?\" "}) {
        EXPECT_NE(FindText(layout, name), nullptr) << name;
      }
      EXPECT_NE(FindText(layout, longName.substr(0, 158) + "\x81\x63"), nullptr);
      EXPECT_NE(FindText(layout, mixed.substr(0, 157) + "\x81\x63"), nullptr);
      EXPECT_EQ(layout.Texts.size(), 2 * (1 + 3 + 1 + 8 + 1) - 1);
    }
  }
}

TEST(TableAnswer, NoTableAfterEscapeOrAShortRead) {
  struct Case {
    bool escape, readToEnd, table;
  } cases[] = {{false, true, true}, {true, true, false}, {false, false, false}};
  for (const Case& c : cases) {
    TableHost host;
    host.escape = c.escape;
    host.readToEnd = c.readToEnd;
    TableRun run;
    const std::string reply = run.Count({"0 0 1 1", "BL 0 0 \"b"}, host);
    EXPECT_EQ(reply == test::kReply, !c.table) << reply;
  }
}

}  // namespace
}  // namespace jwcount
