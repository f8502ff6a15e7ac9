// The command line of jwcount-cli.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

// The exit codes, also listed in the help text.
enum ExitCode : int {
  kExitOk = 0,
  kExitFailure = 1,          // the report could not be written, or an unexpected error
  kExitUsage = 2,            // bad command line
  kExitMissing = 3,          // count: FILE does not exist; run: FOLDER is no folder
  kExitUnreadable = 4,       // FILE (or JWC_TEMP.TXT) could not be opened or read to its end
  kExitReplyNotWritten = 5,  // run: the reply could not be written into JWC_TEMP.TXT
  kExitCheckFound = 6,       // count --check: a check found something in the drawing
  kExitNothingToMark = 2,    // mark: a selector marks nothing (the same code as a bad command line)
  kExitDiffers = 7,          // diff: the two counts differ
  kExitRulesErrors = 2,      // --rules: the rules file has errors (the same code as a bad command line)
};

// What `mark` marks: one selector of the command line, in the order given.
struct MarkSelector {
  enum class By { kChecks, kCheck, kBlock, kText, kRow, kItem, kUnassigned };
  By by = By::kChecks;
  // kCheck: the check's id; kBlock, kText, kItem: the name in UTF-8; kRow: "TABLE:ROW"
  std::string value;
  std::optional<std::string> trade;  // kItem: the trade the item must be in (UTF-8), if --trade gave one
};

enum class Command { kRun, kCount, kMark, kDiff, kTakeoff, kHelp, kVersion };
enum class Format { kText, kCsv, kJson, kXlsx };

struct CliOptions {
  Command command = Command::kHelp;
  std::string path;   // FOLDER for run (empty: the program's folder), FILE for count, OLD for diff; UTF-8
  std::string other;  // diff: NEW
  std::string baselineOut;  // count --baseline-out PATH: also keep the count as a baseline file there
  Format format = Format::kText;
  bool formatGiven = false;  // --format was on the command line
  bool state = false;
  bool table = false;     // --table: the reply draws the count as a table (count: print that reply instead)
  bool progress = false;  // --progress: show the progress off a terminal too, one line per text
  bool check = false;     // --check: count exits with kExitCheckFound when a check found something
  std::vector<MarkSelector> marks;  // mark: what to mark
  bool reply = false;               // mark --reply: write the reply into FILE instead of standard output
  std::string rules;                // --rules PATH: the take-off rules (UTF-8)
  std::string output;               // --output PATH: where the workbook goes (UTF-8)
  std::string trade;                // mark --trade: the trade of the items --item names (UTF-8)
  bool tradeGiven = false;
};

struct ParsedCommandLine {
  CliOptions options;
  std::string error;  // empty when the command line is good
};

// True for the id of a check as `mark --checks=ID` takes it.
bool IsCheckId(std::string_view id);

// Parses the arguments after the program name. Options may stand anywhere; "--" ends them.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText();

// The pieces joined into one text (for messages).
std::string JoinText(std::initializer_list<std::string_view> pieces);
std::string VersionText();

}  // namespace jwcount
