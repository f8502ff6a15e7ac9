// The external-transformation BAT as Jw_cad reads it: the first line is the description its file picker
// shows, the settings come in the order the host requires, and each one's "#" lies within the first 10
// bytes of its line (the host looks no further). Two items: 1 shows the count in the window, 2 draws it
// as a table at a picked point; the script then starts the program for the item Jw_cad passes as %1.
// Shift-JIS with CR LF throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"

namespace jwcount {
namespace {

using Lines = std::vector<std::string>;

Lines CrLfLines(const std::string& bytes) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  EXPECT_EQ(start, bytes.size()) << "the last line must end in CR LF";
  return lines;
}

struct Bat {
  Lines settings;  // from the "#" on, in file order
  Lines script;    // the lines after the last setting
};

Bat ReadBat() {
  const std::string bytes = test::ReadBytes(JWCOUNT_BAT);
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "no bare LF";
  const Lines lines = CrLfLines(bytes);
  Bat bat;
  if (lines.empty()) return bat;
  EXPECT_EQ(lines[0].rfind("@REM ", 0), 0u) << "the file picker shows the first line";
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t hash = line.find('#');
    if (line.rfind("REM #", 0) != 0 && hash >= 10) {
      if (!bat.settings.empty()) bat.script.push_back(line);
      continue;
    }
    EXPECT_LT(hash, 10u) << line;
    EXPECT_EQ(line.rfind("REM #", 0), 0u) << line;
    EXPECT_TRUE(bat.script.empty()) << "a setting after the script: " << line;
    bat.settings.push_back(line.substr(hash));
  }
  return bat;
}

// The "start" lines the script runs when Jw_cad passes `item` as %1. It knows what the BAT uses:
// labels, GOTO, IF "%~1"=="n" GOTO, start and REM.
Lines StartedFor(const Lines& script, const std::string& item) {
  Lines started;
  const auto jump = [&script](const std::string& label) {
    const auto at = std::find(script.begin(), script.end(), ":" + label);
    EXPECT_NE(at, script.end()) << "no label " << label;
    return static_cast<std::size_t>(at - script.begin());
  };
  for (std::size_t i = 0, steps = 0; i < script.size() && steps < 100; ++i, ++steps) {
    const std::string& line = script[i];
    const std::string test = "IF \"%~1\"==\"";
    if (line.rfind(test, 0) == 0) {
      const std::size_t close = line.find("\" GOTO ", test.size());
      EXPECT_NE(close, std::string::npos) << line;
      if (close != std::string::npos && line.substr(test.size(), close - test.size()) == item)
        i = jump(line.substr(close + 7));
    } else if (line.rfind("GOTO ", 0) == 0) {
      i = jump(line.substr(5));
    } else if (line.rfind("start ", 0) == 0) {
      started.push_back(line);
    } else {
      EXPECT_TRUE(line.empty() || line[0] == ':' || line.rfind("REM", 0) == 0) << "unknown: " << line;
    }
  }
  return started;
}

TEST(Bat, TwoItemsWithTheirSettingsInTheHostsOrder) {
  const Bat bat = ReadBat();
  // 左クリック：要素数を表示　右クリック：集計表を作図
  const std::string choice =
      "#hc\x8D\xB6\x83\x4E\x83\x8A\x83\x62\x83\x4E\x81\x46\x97\x76\x91\x66\x90\x94\x82\xF0\x95\x5C\x8E\xA6"
      "\x81"
      "\x40\x89\x45\x83\x4E\x83\x8A\x83\x62\x83\x4E\x81\x46\x8F\x57\x8C\x76\x95\x5C\x82\xF0\x8D\xEC\x90\x7D";
  // 要素数 |要素数を表示|集計表を作図|
  const std::string items =
      "#hm\x97\x76\x91\x66\x90\x94 |\x97\x76\x91\x66\x90\x94\x82\xF0\x95\x5C\x8E\xA6|\x8F\x57\x8C\x76\x95\x5C"
      "\x82\xF0\x8D\xEC\x90\x7D|";
  // 要素数を数える範囲を選択してください
  const std::string prompt =
      "#hc\x97\x76\x91\x66\x90\x94\x82\xF0\x90\x94\x82\xA6\x82\xE9\x94\xCD\x88\xCD\x82\xF0\x91\x49\x91\xF0"
      "\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";
  // 表の左上を指示してください
  const std::string corner =
      "#0\x95\x5C\x82\xCC\x8D\xB6\x8F\xE3\x82\xF0\x8E\x77\x8E\xA6\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82"
      "\xA2";
  const Lines expected = {"#jww", "#cd", items, choice,
                          // item 1: the window, with the settings of the one-item BAT
                          "#:1", "#hf", "#h1", prompt, "#g1", "#gn", "#zw", "#e",
                          // item 2: the same selection, then the table's top-left corner
                          "#:2", "#hf", "#h1", prompt, "#g1", "#gn", "#zw", corner, "#e"};
  EXPECT_EQ(bat.settings, expected);

  EXPECT_EQ(StartedFor(bat.script, "1"), Lines{"start \"\" /wait jwcount.exe"});
  EXPECT_EQ(StartedFor(bat.script, "2"), Lines{"start \"\" /wait jwcount.exe /table"});
  EXPECT_EQ(StartedFor(bat.script, ""), Lines{"start \"\" /wait jwcount.exe"}) << "a host without items";
}

}  // namespace
}  // namespace jwcount
