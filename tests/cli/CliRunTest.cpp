// jwcount-cli as a user runs it: the reports of a few small exchange files, the exit codes, and which
// files each command writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "tests/support/QuietCount.h"
#include "tests/support/ScratchFolder.h"
#include "text/ShiftJis.h"

namespace {

namespace fs = std::filesystem;

using jwcount::test::kReply;
using jwcount::test::ReadBytes;
using jwcount::test::WriteBytes;

struct Result {
  int exit = -1;
  std::string out;
  std::string err;
};

// Every test runs in a scratch folder of its own; the program's output goes to a second one.
class CliTest : public testing::Test {
 protected:
  // Runs the program with the arguments (none may hold a single quote) from the scratch folder.
  Result Run(const std::vector<std::string>& args, const fs::path& program = JWCOUNT_CLI) {
    std::string command = "cd '" + scratch_.Path().string() + "' && '" + program.string() + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " >'" + (output_ / "out").string() + "' 2>'" + (output_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    Result result;
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadBytes(output_ / "out");
    result.err = ReadBytes(output_ / "err");
    return result;
  }

  // Writes the lines (Shift-JIS) with CR LF as an exchange file in the scratch folder.
  fs::path ExchangeFile(const std::vector<std::string>& lines, const std::string& name = "JWC_TEMP.TXT") {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    WriteBytes(scratch_ / name, bytes);
    return scratch_ / name;
  }

  std::vector<fs::path> ScratchFiles() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(scratch_.Path()))
      files.push_back(entry.path().filename());
    return files;
  }

  jwcount::test::ScratchFolder scratch_;
  jwcount::test::ScratchFolder output_;
};

// The line of the JSON report that starts with the key (each top-level member stands on its own line).
std::string JsonLine(const std::string& json, const std::string& key) {
  const std::size_t start = json.find("\n\"" + key + "\":");
  if (start == std::string::npos) return "";
  return json.substr(start + 1, json.find('\n', start + 1) - start - 1);
}

// The rows of one table in the JSON report, one text per row.
std::vector<std::string> JsonTableRows(const std::string& json, const std::string& table) {
  std::vector<std::string> rows;
  std::size_t pos = json.find("\"" + table + "\":[\n");
  if (pos == std::string::npos) return rows;
  pos = json.find('\n', pos) + 1;
  for (;;) {
    const std::size_t end = json.find('\n', pos);
    // A row line ends in "," before the next row, and the last one closes its table (and for the last
    // table the whole report) on the same line.
    std::string row = json.substr(pos, end - pos);
    while (!row.empty() && (row.back() == ',' || row.back() == '}')) row.pop_back();
    const bool last = row.size() >= 2 && row.compare(row.size() - 2, 2, "]]") == 0;
    if (last) row.pop_back();
    rows.push_back(row);
    if (last || end == std::string::npos) break;
    pos = end + 1;
  }
  return rows;
}

// A table row as the JSON report writes it: the cells given, then blank cells up to 14.
std::string Row(std::vector<std::string> cells) {
  cells.resize(14);
  std::string row = "[";
  for (const std::string& cell : cells) row += (row.size() > 1 ? ",\"" : "\"") + cell + "\"";
  return row + "]";
}

struct JsonCase {
  const char* name;
  std::vector<std::string> lines;
  std::string summary;
  std::vector<std::pair<std::string, std::string>> rows;  // table and one expected row
  double length = 0;                                      // of every element, all in layer group `group`
  double area = 0;
  int group = 0;
};

std::string Shortest(double value) {
  char digits[32];
  return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// The SG2 member of "quantities" when the only group with a length or an area is `group`: its row and the
// total row hold them, every other row 0.
std::string GroupQuantities(const JsonCase& c) {
  auto array = [&c](double value) {
    std::string text = "[";
    for (int row = 0; row < 18; ++row) {
      if (row > 0) text += ',';
      text += row == c.group + 1 || row == 17 ? Shortest(value) : "0";
    }
    return text + "]";
  };
  return "\"SG2\":{\"length\":" + array(c.length) + ",\n\"area\":" + array(c.area) + "}";
}

TEST_F(CliTest, JsonReportsOfSmallFiles) {
  const JsonCase cases[] = {
      {"no elements",
       {"hk 1"},
       "[0,0,0,0,0,0,0,0,0,0,0,0,0]",
       {{"SG1", R"(["0－計","0","0","0","0","0","0","0","0","0","0","0","0","0"])"},
        {"SG2", R"(["合計","0","0","0","0","0","0","0","0","0","0","0","0","0"])"},
        {"SG5",
         R"(["線幅","線","円弧","文字","点","点マ","寸法","BLOCK","線SLD","３SLD","４SLD","円SLD","円周S","円環S"])"}}},
      {"a line, a circle and a text in group 2, layer A",
       {"lg2", "lyA", "lc5", "0 0 10 10", "ci 0 0 5", "ch 0 0 1 0 \"\x83\x65\x83\x58\x83\x67"},
       "[1,1,1,0,0,0,0,0,0,0,0,0,0]",
       {{"SG1", Row({"2－A", "1", "1", "1"})},
        {"SG2", R"(["[2]","1","1","1","0","0","0","0","0","0","0","0","0","0"])"},
        {"SG3", Row({"線色5", "1", "1"})},
        {"SG3", Row({"線色2", "", "", "1"})}},
       std::sqrt(200.0) + 2 * std::numbers::pi * 5,
       0,
       2},
      {"arcs and rings share a column; odd colours, types and widths",
       {"lc357", "lt62", "lw30001", "ci 0 0 1 0 90 1 0", "ci 0 0 2", "so 1 2 3 4 5 6 7 8",
        "sg 1 2 3 4 5 6 7 8"},
       "[0,2,0,0,0,0,0,0,0,0,0,0,2]",
       {{"SG3", R"(["？","","2","","","","","","","","","","","2"])"},
        {"SG4", R"(["SXF32","","2","","","","","","","","","","","2"])"},
        {"SG5", R"(["？","","2","","","","","","","","","","","2"])"},
        {"SG5", R"(["合計","0","2","0","0","0","0","0","0","0","0","0","0","2"])"}},
       std::numbers::pi / 2 + 2 * std::numbers::pi * 2,
       770 + 770},
      {"a dimension, a block, points and every solid",
       {"msg", "0 0 100 0", "cs 50 10 1 0 \"100", "BL 0 0 \"b", "pn3", "pt 1 1", "pt 1 1 2 0 1", "sl 0 0 1 0",
        "sl 0 0 1 0 1 1", "sl 0 0 1 0 1 1 0 1", "sc 1 2 3 4 5 6 7 8", "se 1 2 3 4 5 6 7 8"},
       "[0,0,0,1,1,1,1,1,1,1,1,1,0]",
       {{"SG3", R"(["線色1","","","","","","1","1","1","1","1","1","1",""])"},
        {"SG3", R"(["線色3","","","","1","1","","","","","","","",""])"}},
       0,
       0.5 + 1 + 126},
  };
  for (const JsonCase& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = ExchangeFile(c.lines, "drawing.txt");
    const Result result = Run({"count", file.string(), "--format", "json"});
    ASSERT_EQ(result.exit, 0) << result.err;
    EXPECT_EQ(result.out.rfind("{\"read_ok\":true,\n", 0), 0u);
    EXPECT_EQ(JsonLine(result.out, "summary"), "\"summary\":" + c.summary + ",");
    const std::vector<std::string> sizes[] = {
        JsonTableRows(result.out, "SG1"), JsonTableRows(result.out, "SG2"), JsonTableRows(result.out, "SG3"),
        JsonTableRows(result.out, "SG4"), JsonTableRows(result.out, "SG5")};
    EXPECT_EQ(sizes[0].size(), 290u);
    EXPECT_EQ(sizes[1].size(), 18u);
    EXPECT_EQ(sizes[2].size(), 269u);
    EXPECT_EQ(sizes[3].size(), 54u);
    EXPECT_EQ(sizes[4].size(), 30004u);
    for (const auto& [table, row] : c.rows) {
      const std::vector<std::string> rows = JsonTableRows(result.out, table);
      EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << table << " lacks " << row;
    }
    // The blocks, the names and the quantities follow the tables, one number per row of each table.
    EXPECT_NE(result.out.find("]]},\n\"blocks\":["), std::string::npos);
    EXPECT_NE(result.out.find("],\n\"names\":{\n\"groups\":[\"\","), std::string::npos);
    EXPECT_NE(result.out.find("\"\"]},\n\"quantities\":{\n\"SG1\":{\"length\":[0,"), std::string::npos);
    EXPECT_NE(result.out.find(GroupQuantities(c)), std::string::npos) << GroupQuantities(c);
    // Then the texts by content and the checks, which find nothing in these files.
    EXPECT_NE(result.out.find("]}},\n\"texts\":["), std::string::npos);
    EXPECT_NE(result.out.find("],\n\"checks\":{\"duplicates\":{\"total\":0,\"same_layer\":0,\"by_kind\":[0,"),
              std::string::npos);
    EXPECT_EQ(result.out.substr(result.out.size() - 18), "\"empty_texts\":0}}\n");
  }
}

TEST_F(CliTest, JsonLabelsAndStatusTexts) {
  std::vector<std::string> lines(150, "0 0 1 1");
  const fs::path file = ExchangeFile(lines, "lines.txt");
  const Result result = Run({"count", file.string(), "--format=json"});
  ASSERT_EQ(result.exit, 0) << result.err;
  EXPECT_EQ(JsonLine(result.out, "status"),
            R"("status":["要素数をカウントします","要素数カウント中(ESC:中断)：1／150",)"
            R"("要素数カウント中(ESC:中断)：101／150","要素数をカウントしました"],)");
  const std::string labels = JsonLine(result.out, "labels");
  EXPECT_EQ(labels.rfind(R"("labels":["線データ数：150","円・円弧・楕円・楕円弧データ数：0",)", 0), 0u)
      << labels;
  EXPECT_NE(labels.find(R"("円環ソリッド図形データ数：0"],)"), std::string::npos) << labels;
}

TEST_F(CliTest, JsonStateHoldsTheReaderStateAfterTheRead) {
  const fs::path file = ExchangeFile({"file=C:\\a b.jww", "hk 0.1", "lg1", "lynWALL", "z1", "hhp7", "pl",
                                      "1e300 -0 0.5 2", "ch 1 2 3 4 \"\x95\x5C", "BL 5 6 blk", "cn$F"},
                                     "state.txt");
  const Result result = Run({"count", file.string(), "--format", "json", "--state"});
  ASSERT_EQ(result.exit, 0) << result.err;
  const std::string& json = result.out;
  auto has = [&json](const std::string& text) {
    EXPECT_NE(json.find(text), std::string::npos) << "missing " << text;
  };
  has(R"("drawing":{"FileName":"433a5c6120622e6a7777","HkValue":0.1,)");
  has(R"("LayerNames":["",)");
  has(R"(,"57414c4c",)");  // WALL at group 1, layer 0
  has(R"("FirstFontName":"46"})");
  has(R"("current":{"attrs":[0,1,0,1,1,0,0],"TextKind":1,)");
  has(R"("FontName":"46","PointColour":1,"SolidColour":0,"PolylineCount":1,"InPolyline":false,)");
  has(R"("PendingDimensionLine":{"attrs":[0,0,0,1,1,0,0],"PolylineNo":0,"X1":0,"Y1":0,"X2":1,"Y2":0}})");
  has("\n\"index\":[[1,0],[4,0],[8,0]],\n");
  has(R"({"attrs":[7,1,0,1,1,0,1],"PolylineNo":1,"X1":1e+300,"Y1":-0,"X2":0.5,"Y2":2})");
  has(R"("Param1":1,"Param2":2,"Param3":3,"Param4":4,"FontName":"3c826c827220835383568362834e3e","Text":"955c"})");
  has(R"({"attrs":[0,1,0,1,1,0,0],"X":5,"Y":6,"BlockText":"626c6b"})");
  has(R"("capacity":{"index":1000,"1":1000,"2":0,"3":0,"4":1000,"5":0,"6":0,"7":0,"8":1000,"9":0,)");
}

TEST_F(CliTest, TextAndCsvReports) {
  const fs::path file = ExchangeFile({"lg2", "lyA", "0 0 1 1", "0 0 2 2", "ci 0 0 5"}, "drawing.txt");
  const Result text = Run({"count", file.string()});
  ASSERT_EQ(text.exit, 0) << text.err;
  EXPECT_EQ(text.out.rfind("線データ数：2\n円・円弧・楕円・楕円弧データ数：1\n", 0), 0u);
  EXPECT_NE(text.out.find("\nレイヤグループ・レイヤ別 要素数\n"), std::string::npos);
  EXPECT_NE(text.out.find("\n2－A    2     1\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\n2－計   2     1     0   0"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("0－計"), std::string::npos);  // rows of zeros stay out
  EXPECT_NE(text.out.find("\n線幅  線  円弧  文字"), std::string::npos);

  const Result csv = Run({"count", file.string(), "--format", "csv"});
  ASSERT_EQ(csv.exit, 0) << csv.err;
  EXPECT_EQ(csv.out.rfind("\xEF\xBB\xBFtable,row,name,column,count\r\n", 0), 0u);
  EXPECT_NE(csv.out.find("\r\nレイヤグループ・レイヤ別 要素数,2－A,,線,2\r\n"), std::string::npos);
  EXPECT_NE(csv.out.find("\r\n線幅別 要素数,合計,,円弧,1\r\n"), std::string::npos);
  EXPECT_EQ(csv.out.find(",0\r\n"), std::string::npos);
}

// Names come from drawings other people made: layer and layer-group names beside their rows, block names
// in their own table, whatever bytes they hold. A name must not break the JSON, move the text report's
// columns, reach the terminal as a control character or become a formula in a spreadsheet.
TEST_F(CliTest, LayerAndBlockNamesInEveryReport) {
  const std::vector<std::string> lines = {
      "lg0",
      "lgn=SUM(1)",  // a formula as the name of layer group 0
      "ly3",
      "lyn\x95\xC7",  // 壁, the name of layer 0－3
      "0 0 1 1",
      "BL 0 0 \"\x95\xD6\x8A\xED",  // 便器
      "BL 0 0 \"",                  // no name
      "BL 1 1 \"\x87\x40\x87\x75",  // ①㎡, code page 932 only
      "BL 0 0 \"=SUM(1)",
      "BL 0 0 \"a\x81\"b",        // a byte that starts no character, then a quote
      "BL 0 0 \"c\x81\x1B[31md",  // the reader keeps the escape with the byte before it
      "BL 2 2 \"\x95\xD6\x8A\xED"};
  const fs::path file = ExchangeFile(lines);

  const Result json = Run({"count", file.string(), "--format", "json"});
  ASSERT_EQ(json.exit, 0) << json.err;
  EXPECT_NE(json.out.find("\n\"blocks\":[\n"
                          R"({"name":"便器","bytes":"95d68aed","count":2},)"
                          "\n"
                          R"({"name":"","bytes":"","count":1},)"
                          "\n"
                          R"({"name":"①㎡","bytes":"87408775","count":1},)"
                          "\n"
                          R"x({"name":"=SUM(1)","bytes":"3d53554d283129","count":1},)x"
                          "\n"
                          R"({"name":"a�\"b","bytes":"61812262","count":1},)"
                          "\n"
                          R"({"name":"c�\u001b[31md","bytes":"63811b5b33316d64","count":1}],)"
                          "\n\"names\":{\n"),
            std::string::npos)
      << json.out.substr(json.out.find("\n\"blocks\""));
  std::string groups = R"x("groups":["=SUM(1)")x";
  for (int i = 1; i < 16; ++i) groups += ",\"\"";
  std::string layers = R"("layers":["","","","壁")";
  for (int i = 4; i < 256; ++i) layers += ",\"\"";
  EXPECT_EQ(JsonLine(json.out, "groups"), groups + "],");
  EXPECT_EQ(JsonLine(json.out, "layers"), layers + "]},");

  const Result csv = Run({"count", file.string(), "--format", "csv"});
  ASSERT_EQ(csv.exit, 0) << csv.err;
  EXPECT_NE(csv.out.find("\r\nレイヤグループ・レイヤ別 要素数,0－3,壁,線,1\r\n"), std::string::npos);
  EXPECT_NE(csv.out.find("\r\nレイヤグループ別 要素数,[0],'=SUM(1),BLOCK,7\r\n"), std::string::npos);
  const std::string blocks =
      "\r\nブロック名別 要素数,1,便器,数,2\r\n"
      "ブロック名別 要素数,2,,数,1\r\n"
      "ブロック名別 要素数,3,①㎡,数,1\r\n"
      "ブロック名別 要素数,4,'=SUM(1),数,1\r\n"
      "ブロック名別 要素数,5,\"a�\"\"b\",数,1\r\n"
      "ブロック名別 要素数,6,c�\x1B[31md,数,1\r\n"
      "ブロック名別 要素数,合計,,数,7\r\n";
  EXPECT_NE(csv.out.find(blocks), std::string::npos) << csv.out;

  const Result text = Run({"run", scratch_.Path().string()});
  ASSERT_EQ(text.exit, 0) << text.err;
  EXPECT_NE(text.out.find("\n0－3 壁         1 "), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\n[0] =SUM(1)   1 "), std::string::npos) << text.out;
  const std::string blockTable =
      "\nブロック名別 要素数\n"
      "ブロック名  数\n"
      "便器         2\n"
      "             1\n"
      "①㎡          1\n"
      "=SUM(1)      1\n"
      "a�\"b         1\n"
      "c��[31md     1\n"
      "合計         7\n";
  EXPECT_NE(text.out.find(blockTable + "\n文字列別 要素数\n"), std::string::npos) << text.out;
}

// --check lets a script vet a drawing: exit 6 when a check found something, the report written all the
// same; 0 for a clean drawing; nothing changes without it.
TEST_F(CliTest, CheckExitsSixWhenACheckFoundSomething) {
  const fs::path clean = ExchangeFile({"0 0 10 0", "ch 0 0 1 0 \"WD1"}, "clean.txt");
  const fs::path twice = ExchangeFile({"ly1", "0 0 10 0", "ly2", "10 0 0 0"}, "twice.txt");
  EXPECT_EQ(Run({"count", clean.string(), "--check"}).exit, 0);
  const Result found = Run({"count", twice.string(), "--check", "--format", "csv"});
  EXPECT_EQ(found.exit, 6);
  EXPECT_NE(found.out.find("\r\n点検,重複,,別のレイヤ,1\r\n"), std::string::npos) << found.out;
  EXPECT_EQ(Run({"count", twice.string()}).exit, 0);
  EXPECT_EQ(Run({"run", scratch_.Path().string(), "--check"}).exit, 2);
}

TEST_F(CliTest, CountWritesNoFile) {
  const std::string sample = ReadBytes(fs::path(JWCOUNT_EXAMPLES) / "JWC_TEMP.TXT");
  ASSERT_FALSE(sample.empty());
  WriteBytes(scratch_ / "JWC_TEMP.TXT", sample);
  const Result result = Run({"count", "JWC_TEMP.TXT", "--format", "json"});
  ASSERT_EQ(result.exit, 0) << result.err;
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT"), sample);
  EXPECT_EQ(ScratchFiles(), std::vector<fs::path>{"JWC_TEMP.TXT"});
}

TEST_F(CliTest, RunCountsAndWritesExactlyTheReply) {
  ExchangeFile({"0 0 1 1", "ci 0 0 5"});
  const Result result = Run({"run", scratch_.Path().string(), "--format", "json"});
  ASSERT_EQ(result.exit, 0) << result.err;
  EXPECT_EQ(JsonLine(result.out, "summary"), "\"summary\":[1,1,0,0,0,0,0,0,0,0,0,0,0],");
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT"), kReply);
  EXPECT_EQ(ScratchFiles(), std::vector<fs::path>{"JWC_TEMP.TXT"});
}

TEST_F(CliTest, RunWithoutExchangeFileCountsNothingAndStillReplies) {
  const Result result = Run({"run", scratch_.Path().string()});
  EXPECT_EQ(result.exit, 0);
  EXPECT_NE(result.err.find("no JWC_TEMP.TXT"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("線データ数：0\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT"), kReply);
}

TEST_F(CliTest, RunWithoutFolderUsesTheProgramsOwnFolder) {
  const fs::path programFolder = scratch_ / "tool";
  fs::create_directories(programFolder);
  fs::copy_file(JWCOUNT_CLI, programFolder / "jwcount-cli");
  WriteBytes(programFolder / "JWC_TEMP.TXT", "0 0 1 1\r\n");
  ExchangeFile({"ci 0 0 1"});  // in the working folder, which plays no part
  const Result result = Run({"run", "--format", "csv"}, programFolder / "jwcount-cli");
  ASSERT_EQ(result.exit, 0) << result.err;
  EXPECT_NE(result.out.find(",線,1\r\n"), std::string::npos);
  EXPECT_EQ(result.out.find(",円弧,"), std::string::npos);
  EXPECT_EQ(ReadBytes(programFolder / "JWC_TEMP.TXT"), kReply);
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT"), "ci 0 0 1\r\n");
}

TEST_F(CliTest, RunReportsAReplyThatCannotBeWritten) {
  // JWC_TEMP.TXT is a folder that holds a file: it can be neither read, written nor deleted.
  fs::create_directories(scratch_ / "JWC_TEMP.TXT");
  WriteBytes(scratch_ / "JWC_TEMP.TXT" / "keep", "x");
  const Result result = Run({"run", scratch_.Path().string()});
  EXPECT_EQ(result.exit, 5);
  EXPECT_NE(result.err.find("cannot write the reply"), std::string::npos) << result.err;
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT" / "keep"), "x");
}

// The table answer: `count --table` prints the reply `run --table` writes, line for line in UTF-8; the
// window's own reply is left as it is without the option.
TEST_F(CliTest, TableAnswerPrintedByCountIsTheReplyOfRun) {
  ExchangeFile({"0 0 1 1", "BL 0 0 \"\x88\xD6\x8E\x71"});  // 椅子
  const Result printed = Run({"count", "JWC_TEMP.TXT", "--table"});
  ASSERT_EQ(printed.exit, 0) << printed.err;
  EXPECT_EQ(printed.out.rfind("h#要素数をカウントしました\nbz\ncn0 3.5 3.5 0 2\ncc0\n 0 0 ", 0), 0u)
      << printed.out;
  EXPECT_NE(printed.out.find(" 0 \"椅子\n"), std::string::npos) << printed.out;

  const Result run = Run({"run", scratch_.Path().string(), "--table"});
  ASSERT_EQ(run.exit, 0) << run.err;
  EXPECT_NE(run.out.find("線データ数：1\n"), std::string::npos) << "the report as without --table";
  std::string reply = ReadBytes(scratch_ / "JWC_TEMP.TXT");
  EXPECT_EQ(reply.find('\n'), reply.find("\r\n") + 1);
  reply.erase(std::remove(reply.begin(), reply.end(), '\r'), reply.end());
  EXPECT_EQ(jwcount::ShiftJisToUtf8(reply), printed.out);

  const Result window = Run({"run", scratch_.Path().string()});
  ASSERT_EQ(window.exit, 0) << window.err;
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT"), kReply);
}

// `mark` on the sample: the selectors add up and an element two of them take is marked once; --reply
// writes into the file the very bytes the command prints, and nothing else.
TEST_F(CliTest, MarkWritesTheReplyWithACircleAtEachElement) {
  WriteBytes(scratch_ / "JWC_TEMP.TXT", ReadBytes(fs::path(JWCOUNT_EXAMPLES) / "JWC_TEMP.TXT"));
  const auto marks = [](const std::string& reply) {
    std::vector<std::string> circles;
    for (std::size_t at = reply.find("\r\nci "); at != std::string::npos; at = reply.find("\r\nci ", at + 1))
      circles.push_back(reply.substr(at + 2, reply.find('\r', at + 2) - at - 2));
    return circles;
  };
  const Result checks = Run({"mark", "JWC_TEMP.TXT", "--checks"});
  ASSERT_EQ(checks.exit, 0) << checks.err;
  EXPECT_EQ(jwcount::ShiftJisToUtf8(checks.out.substr(0, checks.out.find("ci "))),
            "h#印を付けました: 重複 2, 長さ 0 の線 2, 空の文字 4\r\nbz\r\nlc9\r\nlt9\r\n");
  EXPECT_EQ(marks(checks.out).size(), 8u);

  const Result both = Run({"mark", "JWC_TEMP.TXT", "--checks=empty-texts", "--text", ""});
  ASSERT_EQ(both.exit, 0) << both.err;
  const Result empty = Run({"mark", "JWC_TEMP.TXT", "--checks=empty-texts"});
  EXPECT_EQ(marks(both.out), marks(empty.out)) << "the text of nothing is one of the empty texts";
  EXPECT_EQ(marks(empty.out).size(), 4u);
  const Result chairs = Run({"mark", "JWC_TEMP.TXT", "--block", "椅子"});
  EXPECT_EQ(marks(chairs.out).size(), 6u);

  const Result replied = Run({"mark", "JWC_TEMP.TXT", "--block", "椅子", "--reply"});
  ASSERT_EQ(replied.exit, 0) << replied.err;
  EXPECT_EQ(replied.out, "");
  EXPECT_EQ(ReadBytes(scratch_ / "JWC_TEMP.TXT"), chairs.out);
  EXPECT_EQ(ScratchFiles(), std::vector<fs::path>{"JWC_TEMP.TXT"});
}

// diff: a kept baseline against the drawing it was kept from and against its next revision; the exit code
// says whether something changed.
TEST_F(CliTest, DiffSaysWhetherSomethingChanged) {
  const fs::path sample = fs::path(JWCOUNT_EXAMPLES) / "JWC_TEMP.TXT";
  const fs::path revised = fs::path(JWCOUNT_EXAMPLES) / "revised" / "JWC_TEMP.TXT";
  ASSERT_EQ(Run({"count", sample.string(), "--baseline-out", "kept.json"}).exit, 0);
  const Result same = Run({"diff", "kept.json", sample.string()});
  EXPECT_EQ(same.exit, 0) << same.err;
  EXPECT_NE(same.out.find("基準と同じです。"), std::string::npos) << same.out;
  const Result changed = Run({"diff", "kept.json", revised.string(), "--format", "json"});
  EXPECT_EQ(changed.exit, 7) << changed.err;
  EXPECT_NE(changed.out.find("{\"section\":\"blocks\",\"row\":null,\"head\":\"椅子\",\"bytes\":\"88d68e71\","
                             "\"item\":\"数\",\"baseline\":6,\"current\":5,\"change\":-1}"),
            std::string::npos)
      << changed.out;
  EXPECT_EQ(ScratchFiles(), std::vector<fs::path>{"kept.json"}) << "diff writes no file";
}

struct ExitCase {
  std::vector<std::string> args;
  int exit;
  std::string message;  // a part of the one-line error
};

TEST_F(CliTest, ExitCodesAndOneLineErrors) {
  fs::create_directories(scratch_ / "folder");
  WriteBytes(scratch_ / "file.txt", "0 0 1 1\r\n");
  WriteBytes(scratch_ / "empty.json", "");
  WriteBytes(scratch_ / "cut.json", "{\"read_ok\":true,\"tables\":{\"SG1\":[[\"\"");
  WriteBytes(scratch_ / "array.json", "\xEF\xBB\xBF [1,2,3]\n");
  WriteBytes(scratch_ / "rules.csv", "品名,種別\n線,線\n");
  const ExitCase cases[] = {
      {{"count", "missing.txt"}, 3, "cannot find 'missing.txt'"},
      {{"count", "folder"}, 4, "is a folder"},
      {{"count", "/dev/null"}, 4, "is not a plain file"},
      {{"run", "missing-folder"}, 3, "is not a folder"},
      {{"run", "file.txt"}, 3, "is not a folder"},
      {{}, 2, "missing command"},
      {{"count"}, 2, "count needs a FILE"},
      {{"count", "file.txt", "--format", "xml"}, 2, "unknown format 'xml'"},
      {{"count", "file.txt", "--state"}, 2, "--state goes with --format json only"},
      {{"count", "file.txt", "--bogus"}, 2, "unknown option '--bogus'"},
      {{"count", "file.txt", "--table", "--format", "text"}, 2, "drop --format"},
      {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
      {{"mark", "file.txt"}, 2, "mark needs something to mark"},
      {{"mark", "file.txt", "--checks"}, 2, "the drawing checks found nothing"},
      {{"mark", "file.txt", "--checks=bogus"}, 2, "unknown check 'bogus'"},
      {{"mark", "file.txt", "--block", "nope"}, 2, "no block is named 'nope'"},
      {{"mark", "file.txt", "--text=WD1"}, 2, "no text reads 'WD1'"},
      {{"mark", "file.txt", "--row", "SG1:2"}, 2, "row 2 of SG1 counts no element"},
      {{"mark", "file.txt", "--row", "SG6:1"}, 2, "--row takes TABLE:ROW"},
      {{"mark", "file.txt", "--row"}, 2, "--row needs a value"},
      {{"mark", "missing.txt", "--checks"}, 3, "cannot find 'missing.txt'"},
      {{"count", "file.txt", "--block", "x"}, 2, "go with mark only"},
      {{"diff", "file.txt"}, 2, "diff needs two files"},
      {{"diff", "empty.json", "file.txt"}, 2, "'empty.json' is empty"},
      {{"diff", "file.txt", "cut.json"}, 2, "'cut.json' ends in the middle"},
      {{"diff", "array.json", "file.txt"}, 2, "'array.json' is JSON but no jwcount report"},
      {{"diff", "file.txt", "missing.txt"}, 3, "cannot find 'missing.txt'"},
      {{"takeoff", "file.txt"}, 2, "takeoff needs --rules RULES"},
      {{"takeoff", "file.txt", "--rules", "missing.csv"}, 3, "cannot find the rules file 'missing.csv'"},
      {{"mark", "file.txt", "--item", "x"}, 2, "--item and --unassigned need --rules RULES"},
      {{"mark", "file.txt", "--rules", "rules.csv", "--unassigned", "--trade", "t"},
       2,
       "--trade narrows --item"},
      {{"mark", "file.txt", "--rules", "rules.csv", "--item", "nope"}, 2, "no item 'nope' takes an element"},
      {{"run", "--rules", "rules.csv"}, 2, "--rules goes with count, takeoff, mark and diff only"},
  };
  for (const ExitCase& c : cases) {
    SCOPED_TRACE(c.message);
    const Result result = Run(c.args);
    EXPECT_EQ(result.exit, c.exit);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("jwcount-cli: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
  EXPECT_EQ(Run({"--help"}).exit, 0);
  const Result version = Run({"--version"});
  EXPECT_EQ(version.exit, 0);
  EXPECT_EQ(version.out.rfind("jwcount-cli ", 0), 0u);
}

// A rules file with errors: each error on a line of standard error as RULES:LINE: COLUMN: reason, the sheet's
// JSON with the errors all the same, and exit code 2; the count's report with it too.
TEST_F(CliTest, RulesErrorsAreToldLineByLine) {
  const fs::path file = ExchangeFile({"0 0 1 1", "ci 0 0 5"}, "drawing.txt");
  WriteBytes(scratch_ / "bad.csv", "品名,係数,桁\nA,x,1\nB,1,9\n");
  const std::string bad = (scratch_ / "bad.csv").string();
  const Result sheet = Run({"takeoff", file.string(), "--rules", bad, "--format", "json"});
  EXPECT_EQ(sheet.exit, 2);
  EXPECT_EQ(sheet.err,
            bad + ":2: 係数: 数として読めません\n" + bad + ":3: 桁: 0 から 3 の整数にしてください\n");
  EXPECT_NE(sheet.out.find("\"errors\":[\n{\"line\":2,\"column\":\"係数\""), std::string::npos) << sheet.out;
  const Result count = Run({"count", file.string(), "--rules", bad, "--format", "json"});
  EXPECT_EQ(count.exit, 2);
  EXPECT_NE(count.out.find("\"takeoff\":{"), std::string::npos);
  WriteBytes(scratch_ / "good.csv", "品名,種別,数量元\n線,線,長さ\n");
  const Result good =
      Run({"takeoff", file.string(), "--rules", (scratch_ / "good.csv").string(), "--format", "csv"});
  EXPECT_EQ(good.exit, 0);
  EXPECT_NE(good.out.find("\r\n,線,,0.001414,m,,,,1,0.0014142135623730952,0,2\r\n"), std::string::npos) << good.out;
}

// Off a terminal the progress is asked for, then one line per text; the report's status texts are the same.
TEST_F(CliTest, ProgressOffATerminalOnlyWhenAskedFor) {
  const fs::path file = ExchangeFile({"0 0 1 1"}, "one.txt");
  const Result quiet = Run({"count", file.string(), "--format", "json"});
  ASSERT_EQ(quiet.exit, 0);
  EXPECT_EQ(quiet.err, "");
  const Result shown = Run({"count", file.string(), "--format", "json", "--progress"});
  ASSERT_EQ(shown.exit, 0);
  EXPECT_EQ(shown.err,
            "要素数をカウントします\n要素数カウント中(ESC:中断)：1／1\n要素数をカウントしました\n");
  EXPECT_EQ(shown.out, quiet.out);
  EXPECT_NE(quiet.out.find("\"status\""), std::string::npos);
}

}  // namespace
