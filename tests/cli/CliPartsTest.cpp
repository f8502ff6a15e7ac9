// The parts of jwcount-cli that stand alone: the command line, the JSON writer and Ctrl+C as the Escape
// key.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/CliOptions.h"
#include "app/cli/ConsoleHost.h"
#include "app/cli/Interrupt.h"
#include "report/JsonWriter.h"
#include "tempfile/NoWriteFileSystem.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"
#include "tests/support/ScratchFolder.h"
#include "text/Utf8Text.h"

namespace jwcount {
namespace {

struct CommandLineCase {
  std::vector<std::string> args;
  bool ok;
  Command command;
  std::string path;
  Format format;
  bool state;
};

TEST(CommandLine, ParsesCommandsAndOptionsAnywhere) {
  const CommandLineCase cases[] = {
      {{"count", "a.txt"}, true, Command::kCount, "a.txt", Format::kText, false},
      {{"--format", "json", "count", "a.txt", "--state"},
       true,
       Command::kCount,
       "a.txt",
       Format::kJson,
       true},
      {{"count", "--format=csv", "a.txt"}, true, Command::kCount, "a.txt", Format::kCsv, false},
      {{"count", "--", "-odd name"}, true, Command::kCount, "-odd name", Format::kText, false},
      {{"run"}, true, Command::kRun, "", Format::kText, false},
      {{"run", "folder", "--format", "text"}, true, Command::kRun, "folder", Format::kText, false},
      {{"count", "a", "--help"}, true, Command::kHelp, "", Format::kText, false},
      {{"--version"}, true, Command::kVersion, "", Format::kText, false},
      {{}, false, Command::kHelp, "", Format::kText, false},
      {{"count"}, false, Command::kCount, "", Format::kText, false},
      {{"count", "a", "b"}, false, Command::kCount, "", Format::kText, false},
      {{"run", "a", "b"}, false, Command::kRun, "", Format::kText, false},
      {{"tally", "a"}, false, Command::kHelp, "", Format::kText, false},
      {{"count", "a", "--format"}, false, Command::kCount, "", Format::kText, false},
      {{"count", "a", "--format", "xml"}, false, Command::kCount, "", Format::kText, false},
      {{"count", "a", "--state"}, false, Command::kCount, "", Format::kText, false},
      {{"count", "a", "--format", "csv", "--state"}, false, Command::kCount, "", Format::kText, false},
      {{"count", "a", "-x"}, false, Command::kCount, "", Format::kText, false},
      {{"count", ""}, false, Command::kCount, "", Format::kText, false},
  };
  for (const CommandLineCase& c : cases) {
    std::string joined;
    for (const std::string& arg : c.args) joined += "[" + arg + "]";
    SCOPED_TRACE(joined);
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    ASSERT_EQ(parsed.error.empty(), c.ok) << parsed.error;
    if (!c.ok) continue;
    EXPECT_EQ(parsed.options.command, c.command);
    if (c.command == Command::kCount || c.command == Command::kRun) {
      EXPECT_EQ(parsed.options.path, c.path);
      EXPECT_EQ(parsed.options.format, c.format);
      EXPECT_EQ(parsed.options.state, c.state);
    }
  }
}

// A command line with more than one fault names the same one every time.
TEST(CommandLine, NamesTheFirstOfSeveralFaults) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"count", "--bogus", "--help"}, "unknown option '--bogus'"},
      {{"mark", "f", "--checks", "--state", "--baseline-out", "x"}, "--baseline-out goes with count only"},
      {{"diff", "a", "b", "--block", "x", "--state"}, "diff takes --format, --output and --rules only"},
      {{"run", "--check", "--reply"},
       "--checks, --block, --text, --row, --item, --trade, --unassigned and --reply go with mark only"},
      {{"mark", "f", "--row", "SG1:1", "--check", "--format", "csv"},
       "mark writes the reply, not a report: drop --format, --state, --table and --check"},
      {{"run", "", "--check", "--state"}, "the path must not be empty"},
      {{"run", "--check", "--state"}, "--state goes with --format json only"},
      {{"run", "--check", "--table"}, "--check goes with count only"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(ParseCommandLine(c.args).error, c.error);
  }
}

TEST(CommandLine, HelpListsEveryExitCode) {
  const std::string help = HelpText();
  for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  ", "  4  ", "  5  "}) {
    EXPECT_NE(help.find(code), std::string::npos) << code;
  }
}

std::string WriteJson(void (*write)(JsonWriter&)) {
  std::FILE* file = std::tmpfile();
  {
    OutputBuffer out(file);
    Utf8Text utf8;
    JsonWriter json(out, utf8);
    write(json);
  }
  std::rewind(file);
  std::string text;
  char buffer[256];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

TEST(JsonWriter, RealsInShortestExactForm) {
  const std::string text = WriteJson([](JsonWriter& json) {
    json.BeginArray();
    for (const double value : {0.0, -0.0, 1.0, 0.1, 1.0 / 3.0, 1e300, 5e-324, -2.5, 1189.0}) json.Real(value);
    json.Real(1e308 * 10);  // not a JSON number
    json.EndArray();
  });
  EXPECT_EQ(text, "[0,-0,1,0.1,0.3333333333333333,1e+300,5e-324,-2.5,1189,null]");
}

TEST(JsonWriter, PlacesCommasAndEscapesTexts) {
  const std::string text = WriteJson([](JsonWriter& json) {
    json.BeginObject();
    json.Key("a");
    json.BeginArray();
    json.EndArray();
    json.Key("b");
    json.BeginArray();
    json.Int(-1);
    json.Newline();
    json.BeginObject();
    json.EndObject();
    json.Bool(true);
    json.EndArray();
    json.Key("t");
    json.Text("q\"b\\s\x01\t\x81\x7C");
    json.Key("u");
    json.Text("a\x81\"\x85\\");  // bytes that start no character, before a quote and a backslash
    json.Key("h");
    json.Hex(
        std::string_view("\x00\x9F\xFF"
                         "a",
                         4));
    json.EndObject();
  });
  EXPECT_EQ(text,
            "{\"a\":[],\"b\":[-1,\n{},true],\"t\":\"q\\\"b\\\\s\\u0001\\t\xEF\xBC\x8D\","
            "\"u\":\"a\xEF\xBF\xBD\\\"\xEF\xBF\xBD\\\\\",\"h\":\"009fff61\"}");
}

// A host that presses Ctrl+C just before the third poll (before entity 201).
class CtrlCHost final : public test::QuietHost {
 public:
  bool EscapePressed() override {
    if (++polls == 3) std::raise(SIGINT);
    return InterruptAsEscape::Requested();
  }
  int polls = 0;
};

TEST(CtrlC, StopsTheTallyAsEscapeDoesAndEndsTheProgramAfterwards) {
  const test::ScratchFolder folder;
  const std::filesystem::path file = folder / "lines.txt";
  std::string lines;
  for (int i = 0; i < 250; ++i) lines += "0 0 1 1\r\n";
  test::WriteBytes(file, lines);
  NoWriteFileSystem noWrites(NativeFileSystem());
  CountSession session(noWrites);
  CtrlCHost host;
  EXPECT_FALSE(CountForReport(session, file, folder.Path(), false, host));

  EXPECT_EQ(host.polls, 3);
  EXPECT_EQ(session.Report().Summary[0], 250);  // the summary comes from the stores
  EXPECT_EQ(session.Report().Tables.SG1.CellText(1, kSg1TotalRow), "200");
  // Outside the tally Ctrl+C ends the program again.
  EXPECT_EQ(std::signal(SIGINT, SIG_DFL), SIG_DFL);
}

// --table: the console draws the table only after a whole read; a missing exchange file (run) is no short
// read, so the empty count is drawn.
TEST(ConsoleHost, DrawsTheTableOnlyAfterAWholeRead) {
  struct Case {
    const char* name;
    bool exists;
    int failAtRead;
    bool fileMissing;
    bool table;
  } cases[] = {
      {"read to its end", true, 0, false, true},
      {"a read fails part way", true, 2, false, false},
      {"no file in run", false, 0, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeFileSystem files;
    files.readChunk = 4;
    files.failAtRead = c.failAtRead;
    const std::filesystem::path file = "tool/JWC_TEMP.TXT";
    if (c.exists) files.files[file] = "0 0 1 1\r\nci 0 0 5\r\n";
    CountSession session(files);
    ConsoleHost host(session.Report(), nullptr, {true, c.fileMissing});
    CountForReport(session, file, "tool", false, host);
    EXPECT_EQ(files.files[file].rfind(test::kReply, 0), 0u);
    EXPECT_EQ(files.files[file] != test::kReply, c.table);
  }
}

}  // namespace
}  // namespace jwcount
