#include "app/cli/CliOptions.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "counting/CheckList.h"
#include "report/CountDiff.h"

namespace jwcount {
namespace {

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "text") return Format::kText;
  if (name == "csv") return Format::kCsv;
  if (name == "json") return Format::kJson;
  if (name == "xlsx") return Format::kXlsx;
  return std::nullopt;
}

// The names of the checks as `mark --checks=ID` takes them: "a, b, c or d".
std::string CheckNames() {
  std::string names;
  for (std::size_t i = 0; i < kCheckList.size(); ++i) {
    if (i > 0) names += i + 1 == kCheckList.size() ? " or " : ", ";
    names += kCheckList[i].CliName;
  }
  return names;
}

// The command line as it is read: the options, the words that are no option, and --help and --version,
// which win over any command.
struct Reading {
  CliOptions options;
  std::vector<std::string> words;
  bool help = false;
  bool version = false;
};

// The commands an option goes with, one bit per command.
using Commands = unsigned;
constexpr Commands Bit(Command command) {
  return 1u << static_cast<unsigned>(command);
}
constexpr Commands kEveryCommand = ~0u;

// How an option takes its value: none; "--name VALUE" or "--name=VALUE"; or none but "--name=VALUE" too.
enum class Takes { kNoValue, kValue, kMayAttachValue };

// Sets what the option stands for; the value is there when the option has one. Gives the error, or "".
using Setter = std::string (*)(Reading& reading, std::optional<std::string_view> value);

// One option of the command line. An option given to a command outside `commands` is refused, with
// `refusal`, or when that is empty, with the command's own word for the report options it does not take.
struct OptionRow {
  std::string_view name = {};
  std::string_view alias = {};  // a second spelling, or ""
  Takes takes = Takes::kNoValue;
  std::string_view missing = {};  // with Takes::kValue: the error when the value is missing
  Commands commands = kEveryCommand;
  bool (*given)(const CliOptions& options) = nullptr;  // whether the options hold it; for refusing it
  std::string_view refusal = {};
  Setter set = nullptr;
};

bool HasMarks(const CliOptions& options) {
  return !options.marks.empty();
}

template <bool CliOptions::*flag>
bool IsOn(const CliOptions& options) {
  return options.*flag;
}

template <bool CliOptions::*flag>
std::string TurnOn(Reading& reading, std::optional<std::string_view>) {
  reading.options.*flag = true;
  return {};
}

template <bool Reading::*flag>
std::string Ask(Reading& reading, std::optional<std::string_view>) {
  reading.*flag = true;
  return {};
}

std::string SetBaselineOut(Reading& reading, std::optional<std::string_view> path) {
  reading.options.baselineOut = *path;
  return {};
}

std::string SetFormat(Reading& reading, std::optional<std::string_view> value) {
  const std::optional<Format> format = ParseFormat(*value);
  if (!format) return JoinText({"unknown format '", *value, "' (use text, csv, json or xlsx)"});
  reading.options.format = *format;
  reading.options.formatGiven = true;
  return {};
}

std::string AddChecks(Reading& reading, std::optional<std::string_view> id) {
  if (!id) {
    reading.options.marks.push_back({MarkSelector::By::kChecks, {}, std::nullopt});
    return {};
  }
  if (!IsCheckId(*id)) {
    return JoinText({"unknown check '", *id, "' (use ", CheckNames(), ")"});
  }
  reading.options.marks.push_back({MarkSelector::By::kCheck, std::string(*id), std::nullopt});
  return {};
}

template <MarkSelector::By by>
std::string AddSelector(Reading& reading, std::optional<std::string_view> value) {
  reading.options.marks.push_back({by, std::string(*value), std::nullopt});
  return {};
}

std::string SetRules(Reading& reading, std::optional<std::string_view> path) {
  reading.options.rules = *path;
  return {};
}

std::string SetOutput(Reading& reading, std::optional<std::string_view> path) {
  reading.options.output = *path;
  return {};
}

std::string SetTrade(Reading& reading, std::optional<std::string_view> trade) {
  reading.options.trade = *trade;
  reading.options.tradeGiven = true;
  return {};
}

std::string AddUnassigned(Reading& reading, std::optional<std::string_view>) {
  reading.options.marks.push_back({MarkSelector::By::kUnassigned, {}, std::nullopt});
  return {};
}

constexpr Commands kCount = Bit(Command::kCount);
constexpr Commands kMark = Bit(Command::kMark);
constexpr Commands kReportCommands = Bit(Command::kRun) | kCount;
constexpr std::string_view kMarkOnly =
    "--checks, --block, --text, --row, --item, --trade, --unassigned and --reply go with mark only";

// The options. Their order is the order in which a command refuses them: --baseline-out first, then the
// report options, then the selectors of mark.
constexpr OptionRow kOptions[] = {
    {.name = "--baseline-out",
     .takes = Takes::kValue,
     .missing = "--baseline-out needs a value",
     .commands = kCount,
     .given = [](const CliOptions& options) { return !options.baselineOut.empty(); },
     .refusal = "--baseline-out goes with count only",
     .set = SetBaselineOut},
    {.name = "--rules",
     .takes = Takes::kValue,
     .missing = "--rules needs a value",
     .commands = kCount | kMark | Bit(Command::kTakeoff) | Bit(Command::kDiff),
     .given = [](const CliOptions& options) { return !options.rules.empty(); },
     .refusal = "--rules goes with count, takeoff, mark and diff only",
     .set = SetRules},
    {.name = "--state",
     .commands = kReportCommands,
     .given = IsOn<&CliOptions::state>,
     .set = TurnOn<&CliOptions::state>},
    {.name = "--table",
     .commands = kReportCommands,
     .given = IsOn<&CliOptions::table>,
     .set = TurnOn<&CliOptions::table>},
    {.name = "--check",
     .commands = kCount,
     .given = IsOn<&CliOptions::check>,
     .set = TurnOn<&CliOptions::check>},
    {.name = "--format",
     .takes = Takes::kValue,
     .missing = "--format needs a value: text, csv, json or xlsx",
     .commands = kReportCommands | Bit(Command::kDiff) | Bit(Command::kTakeoff),
     .given = IsOn<&CliOptions::formatGiven>,
     .set = SetFormat},
    {.name = "--output",
     .takes = Takes::kValue,
     .missing = "--output needs a value",
     .commands = kCount | Bit(Command::kDiff) | Bit(Command::kTakeoff),
     .given = [](const CliOptions& options) { return !options.output.empty(); },
     .refusal = "--output goes with count, takeoff and diff only",
     .set = SetOutput},
    {.name = "--checks",
     .takes = Takes::kMayAttachValue,
     .commands = kMark,
     .given = HasMarks,
     .refusal = kMarkOnly,
     .set = AddChecks},
    {.name = "--block",
     .takes = Takes::kValue,
     .missing = "--block needs a value",
     .commands = kMark,
     .given = HasMarks,
     .refusal = kMarkOnly,
     .set = AddSelector<MarkSelector::By::kBlock>},
    {.name = "--text",
     .takes = Takes::kValue,
     .missing = "--text needs a value",
     .commands = kMark,
     .given = HasMarks,
     .refusal = kMarkOnly,
     .set = AddSelector<MarkSelector::By::kText>},
    {.name = "--row",
     .takes = Takes::kValue,
     .missing = "--row needs a value",
     .commands = kMark,
     .given = HasMarks,
     .refusal = kMarkOnly,
     .set = AddSelector<MarkSelector::By::kRow>},
    {.name = "--item",
     .takes = Takes::kValue,
     .missing = "--item needs a value",
     .commands = kMark,
     .given = HasMarks,
     .refusal = kMarkOnly,
     .set = AddSelector<MarkSelector::By::kItem>},
    {.name = "--trade",
     .takes = Takes::kValue,
     .missing = "--trade needs a value",
     .commands = kMark,
     .given = IsOn<&CliOptions::tradeGiven>,
     .refusal = kMarkOnly,
     .set = SetTrade},
    {.name = "--unassigned",
     .commands = kMark,
     .given = HasMarks,
     .refusal = kMarkOnly,
     .set = AddUnassigned},
    {.name = "--reply",
     .commands = kMark,
     .given = IsOn<&CliOptions::reply>,
     .refusal = kMarkOnly,
     .set = TurnOn<&CliOptions::reply>},
    {.name = "--progress", .set = TurnOn<&CliOptions::progress>},
    {.name = "--help", .alias = "-h", .set = Ask<&Reading::help>},
    {.name = "--version", .set = Ask<&Reading::version>},
};

// One command: its word, how many paths follow it, and what it says of a report option it does not take.
// run says so only after the paths and --state are found good.
struct CommandRow {
  std::string_view word;
  Command command;
  std::size_t fewestPaths;
  std::size_t mostPaths;
  std::string_view tooFew;   // the error for fewer paths
  std::string_view tooMany;  // the error for more paths
  std::string_view refusal;
  bool refusesLast = false;
};

constexpr CommandRow kCommands[] = {
    {"run", Command::kRun, 0, 1, "", "run takes at most one FOLDER", "--check goes with count only", true},
    {"count", Command::kCount, 1, 1, "count needs a FILE", "count takes exactly one FILE", ""},
    {"mark", Command::kMark, 1, 1, "mark needs a FILE", "mark takes exactly one FILE",
     "mark writes the reply, not a report: drop --format, --state, --table and --check"},
    {"diff", Command::kDiff, 2, 2, "diff needs two files: OLD and NEW", "diff needs two files: OLD and NEW",
     "diff takes --format, --output and --rules only"},
    {"takeoff", Command::kTakeoff, 1, 1, "takeoff needs a FILE", "takeoff takes exactly one FILE",
     "takeoff takes --rules, --format, --output and --progress only"},
};

// The option `arg` spells, with the value written into it after "=", if any; no row for an unknown option.
struct OptionMatch {
  const OptionRow* row = nullptr;
  std::optional<std::string_view> value;
};

OptionMatch FindOption(std::string_view arg) {
  for (const OptionRow& row : kOptions) {
    if (arg == row.name || (!row.alias.empty() && arg == row.alias)) return {&row, std::nullopt};
    if (row.takes != Takes::kNoValue && arg.size() > row.name.size() && arg.starts_with(row.name) &&
        arg[row.name.size()] == '=') {
      return {&row, arg.substr(row.name.size() + 1)};
    }
  }
  return {};
}

// Reads every argument into `reading`: options anywhere, words, and after "--" words only. Gives the error
// of the first bad option, or "".
std::string ReadArguments(const std::vector<std::string>& args, Reading& reading) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      reading.words.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    OptionMatch match = FindOption(arg);
    if (match.row == nullptr) return JoinText({"unknown option '", arg, "'"});
    if (match.row->takes == Takes::kValue && !match.value) {
      if (i + 1 == args.size()) return std::string(match.row->missing);
      match.value = args[++i];
    }
    if (std::string error = match.row->set(reading, match.value); !error.empty()) return error;
  }
  return {};
}

// The refusal of the first option given that the command does not take, of those told first (last: false)
// or of those told after the paths and --state are found good (last: true); "" for none.
std::string_view Refusal(const CliOptions& options, const CommandRow& command, bool last) {
  for (const OptionRow& row : kOptions) {
    if ((row.commands & Bit(command.command)) != 0 || !row.given(options)) continue;
    if (!row.refusal.empty()) {
      if (!last) return row.refusal;
    } else if (command.refusesLast == last) {
      return command.refusal;
    }
  }
  return {};
}

// What is wrong with the options given to the command, or "".
std::string_view CombinationError(const Reading& reading, const CommandRow& command) {
  const CliOptions& options = reading.options;
  if (const std::string_view refusal = Refusal(options, command, false); !refusal.empty()) return refusal;
  for (std::size_t i = 1; i < reading.words.size(); ++i) {
    if (reading.words[i].empty()) return "the path must not be empty";
  }
  if (options.state && options.format != Format::kJson) return "--state goes with --format json only";
  if (!options.output.empty() && options.format != Format::kXlsx)
    return "--output goes with --format xlsx only";
  if (options.format == Format::kXlsx && command.command == Command::kRun)
    return "run prints its report: --format xlsx goes with count, takeoff and diff";
  if (const std::string_view refusal = Refusal(options, command, true); !refusal.empty()) return refusal;
  if (options.table && command.command == Command::kCount && options.formatGiven) {
    return "count --table prints the reply's records, not a report: drop --format";
  }
  return {};
}

// Sets the command and its paths from the words, once the options are read. Gives the error, or "".
std::string ReadCommand(Reading& reading) {
  CliOptions& options = reading.options;
  if (reading.help || reading.version) {
    options.command = reading.help ? Command::kHelp : Command::kVersion;
    return {};
  }
  const std::vector<std::string>& words = reading.words;
  if (words.empty()) return "missing command: run, count, mark, diff or takeoff";
  const CommandRow* command = nullptr;
  for (const CommandRow& row : kCommands) {
    if (words[0] == row.word) command = &row;
  }
  if (command == nullptr) {
    return JoinText({"unknown command '", words[0], "' (use run, count, mark, diff or takeoff)"});
  }
  options.command = command->command;
  const std::size_t paths = words.size() - 1;
  if (paths < command->fewestPaths) return std::string(command->tooFew);
  if (paths > command->mostPaths) return std::string(command->tooMany);
  if (paths >= 1) options.path = words[1];
  if (paths >= 2) options.other = words[2];
  if (command->command == Command::kMark && options.marks.empty()) {
    return "mark needs something to mark: --checks, --block, --text, --row, --item or --unassigned";
  }
  if (command->command == Command::kTakeoff && options.rules.empty()) return "takeoff needs --rules RULES";
  const bool bySheet = std::any_of(options.marks.begin(), options.marks.end(), [](const MarkSelector& m) {
    return m.by == MarkSelector::By::kItem || m.by == MarkSelector::By::kUnassigned;
  });
  if (bySheet && options.rules.empty()) return "--item and --unassigned need --rules RULES";
  for (MarkSelector& selector : options.marks) {
    if (selector.by == MarkSelector::By::kItem && options.tradeGiven) selector.trade = options.trade;
  }
  if (options.tradeGiven &&
      std::none_of(options.marks.begin(), options.marks.end(),
                   [](const MarkSelector& m) { return m.by == MarkSelector::By::kItem; }))
    return "--trade narrows --item: give --item NAME too";
  return std::string(CombinationError(reading, *command));
}

}  // namespace

bool IsCheckId(std::string_view id) {
  return FindCheckByCliName(id) != nullptr;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  Reading reading;
  ParsedCommandLine parsed;
  parsed.error = ReadArguments(args, reading);
  if (parsed.error.empty()) parsed.error = ReadCommand(reading);
  parsed.options = std::move(reading.options);
  return parsed;
}

namespace {

// The usage lines and the commands of the help text.
std::string CommandsText() {
  return "Usage: jwcount-cli run [FOLDER] [--format text|csv|json] [--state] [--table] [--progress]\n"
         "       jwcount-cli count FILE [--format text|csv|json] [--state] [--check] [--rules RULES]\n"
         "                              [--progress]\n"
         "       jwcount-cli count FILE --format xlsx [--output OUT.xlsx] [--rules RULES] [--progress]\n"
         "       jwcount-cli count FILE --table [--progress]\n"
         "       jwcount-cli mark FILE [--checks[=ID]] [--block NAME] [--text TEXT]\n"
         "                             [--row TABLE:ROW] [--rules RULES [--item NAME [--trade TRADE]]\n"
         "                             [--unassigned]] [--reply] [--progress]\n"
         "       jwcount-cli diff OLD NEW [--format text|csv|json|xlsx] [--output OUT.xlsx] [--rules RULES]\n"
         "       jwcount-cli takeoff FILE --rules RULES [--format text|csv|json|xlsx] [--output OUT.xlsx]\n"
         "                              [--progress]\n"
         "       jwcount-cli count FILE --baseline-out PATH\n"
         "       jwcount-cli --help | --version\n"
         "\n"
         "Counts the elements of a Jw_cad exchange file (JWC_TEMP.TXT, Shift-JIS) by kind against layer\n"
         "group, layer, line colour, line type and line width, and prints the report on standard output.\n"
         "\n"
         "Commands:\n"
         "  run [FOLDER]   the external transformation without its window: reads FOLDER/JWC_TEMP.TXT\n"
         "                 (FOLDER defaults to the folder of this program), counts, and rewrites\n"
         "                 JWC_TEMP.TXT with the completion message for Jw_cad. A missing JWC_TEMP.TXT\n"
         "                 counts as empty; the reply is written all the same.\n"
         "  count FILE     reads and counts any exchange file; writes no file.\n"
         "  mark FILE      counts FILE and writes the reply that marks where the chosen elements are, as\n"
         "                 the window's 印を付けて閉じる does: a notice of what was marked, then \"bz\",\n"
         "                 \"lc9\", \"lt9\" and a circle of 5 mm on paper (\"ci X Y 2.5\", sheet "
         "millimetres) at\n"
         "                 each element, in reading order, at most 10000 (Shift-JIS, CR LF, to standard\n"
         "                 output as bytes). Jw_cad draws them on the current write layer in\n"
         "                 construction-line colour and type, which never print.\n"
         "  diff OLD NEW   compares two counts of a drawing, each an exchange file (counted first) or a\n"
         "                 JSON report or kept baseline (told apart by content): every count, length,\n"
         "                 area, block, text and check that differs, with the baseline's figure, the\n"
         "                 current one and the change. Exits with 7 when something differs.\n"
         "  takeoff FILE   counts FILE and prints the quantity sheet the take-off rules RULES make of it\n"
         "                 (a CSV file as Excel saves it: see the guide): each item's quantity, unit price\n"
         "                 and amount by trade, the totals, and what no rule took. Its JSON is the report's\n"
         "                 \"takeoff\" member alone.\n"
         "\n";
}

// The options and the exit codes of the help text.
std::string OptionsText() {
  return "Options:\n"
         "  --format text  the summary counts, the rows of each table that hold counts with the layer\n"
         "                 names and their lengths and areas, the block names and the texts with their\n"
         "                 counts, and the drawing checks (default)\n"
         "  --format csv   one long table: table, row, name, column, count for every count other than 0\n"
         "                 and every length (mm) and area (mm2), the block names, the texts and the\n"
         "                 checks included (UTF-8 with a byte-order mark and CR LF, as spreadsheets\n"
         "                 expect; a name that would start a formula gets a leading ')\n"
         "  --format json  every summary, label, status text and table cell, the block names, the layer\n"
         "                 names, the lengths and areas, the texts and the checks as JSON\n"
         "  --format xlsx  count, takeoff, diff: an Excel workbook, one sheet per page of the window (概要, "
         "the\n"
         "                 five count tables, ブロック, 長さ・面積, 文字, チェック, 数量表 with live "
         "formulas, and\n"
         "                 情報), names and texts as texts, counts, lengths (m) and areas (㎡) as numbers;\n"
         "                 into --output, or to standard output when that is no terminal\n"
         "  --output OUT   with --format xlsx: write the workbook into OUT, whole or not at all\n"
         "  --state        with --format json: add the reader state right after the read\n"
         "  --table        draw the count into the drawing, as item 2 of jwcount.bat does: run appends\n"
         "                 the table's records (ruled lines and texts in sheet millimetres, its top-left\n"
         "                 corner at the point the user picked) to the reply; count prints the reply it\n"
         "                 would write, one UTF-8 line per record, instead of a report. After Ctrl+C or a\n"
         "                 short read there is no table: the reply is the completion message alone.\n"
         "  --check        count: exit with 6 when a drawing check found something (duplicates, lines\n"
         "                 of no length, circles and arcs of radius 0, empty texts)\n"
         "  --checks       mark: every element the drawing checks found (a duplicate's later copies)\n"
         "  --checks=ID    mark: what one check found: duplicates, zero-length-lines, zero-radius or\n"
         "                 empty-texts\n"
         "  --block NAME   mark: every insertion of the block named NAME (UTF-8)\n"
         "  --text TEXT    mark: every text whose content is TEXT (UTF-8)\n"
         "  --row T:R      mark: the elements counted in row R of count table T (SG1 to SG5), as the\n"
         "                 JSON report numbers the rows (SG1:47; a subtotal or total row sums its rows)\n"
         "                 Selectors add up; an element taken by two is marked once.\n"
         "  --rules RULES  count: add the quantity sheet of the take-off rules RULES to the report;\n"
         "                 takeoff, mark: the rules the sheet is made of; diff: the sheet of each exchange\n"
         "                 file counted on the spot, so that the items' changes are compared too. Errors in "
         "RULES are told on\n"
         "                 standard error as RULES:LINE: COLUMN: reason, and the exit code is 2.\n"
         "  --item NAME    mark (with --rules): what the rules of the items named NAME took\n"
         "  --trade TRADE  mark: only the items of --item in the trade TRADE\n"
         "  --unassigned   mark (with --rules): every element no rule took\n"
         "  --reply        mark: write the reply into FILE itself (replacing it whole, as the window\n"
         "                 does) instead of standard output\n"
         "  --progress     show the progress on standard error even when it is no terminal, one line\n"
         "                 per status text\n"
         "  --baseline-out PATH  count: also keep the count as a baseline file at PATH (the JSON\n"
         "                 report with the drawing's path, the time, the selection range and the\n"
         "                 version), as the window's 基準として保存 does\n"
         "  --help         this text\n"
         "  --version      the program's version\n"
         "\n"
         "On a terminal, the progress is one line on standard error, refreshed at most ten times a second;\n"
         "elsewhere (a log, a pipe) there is none unless --progress is given. Ctrl+C while the elements\n"
         "are tallied stops the tally as the window's Escape key does: the totals of what was tallied\n"
         "and the reply are still written.\n"
         "\n"
         "Exit codes:\n"
         "  0  done\n"
         "  1  the report could not be written, or an unexpected error\n"
         "  2  bad command line\n"
         "  3  count: FILE does not exist; run: FOLDER is not a folder\n"
         "  4  FILE or JWC_TEMP.TXT could not be opened or read to its end (run: the reply is still "
         "written)\n"
         "  5  run: the reply could not be written into JWC_TEMP.TXT\n"
         "  6  count --check: a check found something in the drawing\n"
         "  7  diff: the two counts differ\n"
         "  (mark: 2 also when a selector marks nothing: no such block, text, row or item;\n"
         "   count, takeoff, mark: 2 also when the rules file has errors;\n"
         "   diff: 2 also when OLD or NEW is no count to compare)\n";
}

}  // namespace

std::string HelpText() {
  return CommandsText() + OptionsText();
}

std::string JoinText(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (const std::string_view piece : pieces) text += piece;
  return text;
}

std::string VersionText() {
  return JoinText({"jwcount-cli ", JwcountVersion(), "\n"});
}

}  // namespace jwcount
