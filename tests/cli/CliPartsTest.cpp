// The parts of jwcount-cli that stand alone: the command line, the Shift-JIS conversion, the JSON writer
// and Ctrl+C as the Escape key.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "CountReport.h"
#include "Interrupt.h"
#include "JsonWriter.h"
#include "ShiftJis.h"
#include "Utf8Text.h"

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

TEST(CommandLine, HelpListsEveryExitCode) {
  const std::string help = HelpText();
  for (const char* code : {"  0  ", "  1  ", "  2  ", "  3  ", "  4  ", "  5  "}) {
    EXPECT_NE(help.find(code), std::string::npos) << code;
  }
}

TEST(ShiftJis, ConvertsAsCodePage932) {
  const struct {
    std::string shiftJis;
    std::string utf8;
  } cases[] = {
      {"", ""},
      {"SXF12 [0]", "SXF12 [0]"},
      {"\x81\x7C", "\xEF\xBC\x8D"},                                          // － is U+FF0D, not U+2212
      {"\x81\x60", "\xEF\xBD\x9E"},                                          // ～ is U+FF5E
      {"\x81\x48\x81\x46\x81\x5E", "\xEF\xBC\x9F\xEF\xBC\x9A\xEF\xBC\x8F"},  // ？：／
      {"\x95\x5C\\", "\xE8\xA1\xA8\\"},                        // 表: its second byte is no backslash
      {"\xB1\xDD", "\xEF\xBD\xB1\xEF\xBE\x9D"},                // half-width kana
      {"\x90\xFC\x82\x52SLD", "\xE7\xB7\x9A\xEF\xBC\x93SLD"},  // 線３SLD
      {"a\x81", "a\xEF\xBF\xBD"},                              // a lead byte cut off at the end
      {"\x80\xA0", "\xC2\x80\xEF\xA3\xB0"},                    // single bytes Windows maps
  };
  Utf8Text cached;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(ShiftJisToUtf8(c.shiftJis), c.utf8);
    // The cached converter gives the same, also on the second call.
    EXPECT_EQ(cached.ToUtf8(c.shiftJis), c.utf8);
    EXPECT_EQ(cached.ToUtf8(c.shiftJis), c.utf8);
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
    json.Key("h");
    json.Hex(
        std::string_view("\x00\x9F\xFF"
                         "a",
                         4));
    json.EndObject();
  });
  EXPECT_EQ(text,
            "{\"a\":[],\"b\":[-1,\n{},true],\"t\":\"q\\\"b\\\\s\\u0001\\t\xEF\xBC\x8D\",\"h\":\"009fff61\"}");
}

// A host that presses Ctrl+C just before the third poll (before entity 201).
class CtrlCHost final : public CountHost {
 public:
  void ShowStatus(std::string_view) override {}
  bool EscapePressed() override {
    if (++polls == 3) std::raise(SIGINT);
    return InterruptAsEscape::Requested();
  }
  void ShowSummary(int, std::string_view) override {}
  void ShowFirstPage() override {}
  int polls = 0;
};

TEST(CtrlC, StopsTheTallyAsEscapeDoesAndEndsTheProgramAfterwards) {
  const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "jwcount_ctrl_c.txt";
  {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    for (int i = 0; i < 250; ++i) std::fputs("0 0 1 1\r\n", out);
    std::fclose(out);
  }
  NoWriteFileSystem noWrites(NativeFileSystem());
  JwwGaibu reader(noWrites);
  auto report = std::make_unique<CountReport>();
  CtrlCHost host;
  RunCountSequence(reader, file, file.parent_path(), false, host, *report);
  std::filesystem::remove(file);

  EXPECT_EQ(host.polls, 3);
  EXPECT_EQ(report->Summary[0], 250);  // the summary comes from the stores
  EXPECT_EQ(report->Tables.SG1.CellText(1, kSg1TotalRow), "200");
  // Outside the tally Ctrl+C ends the program again.
  EXPECT_EQ(std::signal(SIGINT, SIG_DFL), SIG_DFL);
}

}  // namespace
}  // namespace jwcount
