#include "app/cli/CliOptions.h"

#include <optional>
#include <string_view>

#include "report/CountDiff.h"

namespace jwcount {
namespace {

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "text") return Format::kText;
  if (name == "csv") return Format::kCsv;
  if (name == "json") return Format::kJson;
  return std::nullopt;
}

// The checks by the ids `mark --checks=ID` takes.
constexpr std::string_view kCheckIds[] = {"duplicates", "zero-length-lines", "zero-radius", "empty-texts"};

// An option that takes a value, as "--name VALUE" or "--name=VALUE": true when `arg` is that option, with
// the value in `value` (and i moved past it), or the error in `error` when the value is missing.
bool ValueOption(std::string_view name, const std::vector<std::string>& args, std::size_t& i,
                 std::string_view& value, std::string& error) {
  const std::string_view arg = args[i];
  if (arg.substr(0, name.size()) != name) return false;
  if (arg.size() == name.size()) {
    if (i + 1 == args.size()) {
      error = JoinText({name, " needs a value"});
      return true;
    }
    value = args[++i];
    return true;
  }
  if (arg[name.size()] != '=') return false;
  value = arg.substr(name.size() + 1);
  return true;
}

}  // namespace

bool IsCheckId(std::string_view id) {
  for (const std::string_view known : kCheckIds)
    if (id == known) return true;
  return false;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CliOptions& options = parsed.options;
  std::vector<std::string> words;
  bool optionsEnded = false;
  bool help = false;
  bool version = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      words.emplace_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg == "--state") {
      options.state = true;
    } else if (arg == "--table") {
      options.table = true;
    } else if (arg == "--progress") {
      options.progress = true;
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--checks") {
      options.marks.push_back({MarkSelector::By::kChecks, {}});
    } else if (arg.substr(0, 9) == "--checks=") {
      const std::string_view id = arg.substr(9);
      if (!IsCheckId(id)) {
        parsed.error = JoinText(
            {"unknown check '", id, "' (use duplicates, zero-length-lines, zero-radius or empty-texts)"});
        return parsed;
      }
      options.marks.push_back({MarkSelector::By::kCheck, std::string(id)});
    } else if (arg == "--reply") {
      options.reply = true;
    } else if (std::string_view path; ValueOption("--baseline-out", args, i, path, parsed.error)) {
      if (!parsed.error.empty()) return parsed;
      options.baselineOut = path;
    } else if (std::string_view value; ValueOption("--block", args, i, value, parsed.error) ||
                                       ValueOption("--text", args, i, value, parsed.error) ||
                                       ValueOption("--row", args, i, value, parsed.error)) {
      if (!parsed.error.empty()) return parsed;
      const std::string_view name = arg.substr(0, arg.find('='));
      MarkSelector selector{MarkSelector::By::kRow, std::string(value)};
      if (name == "--block") selector.by = MarkSelector::By::kBlock;
      if (name == "--text") selector.by = MarkSelector::By::kText;
      options.marks.push_back(std::move(selector));
    } else if (arg == "--format" || arg.substr(0, 9) == "--format=") {
      std::string_view value;
      if (arg == "--format") {
        if (i + 1 == args.size()) {
          parsed.error = "--format needs a value: text, csv or json";
          return parsed;
        }
        value = args[++i];
      } else {
        value = arg.substr(9);
      }
      const std::optional<Format> format = ParseFormat(value);
      if (!format) {
        parsed.error = JoinText({"unknown format '", value, "' (use text, csv or json)"});
        return parsed;
      }
      options.format = *format;
      options.formatGiven = true;
    } else {
      parsed.error = JoinText({"unknown option '", arg, "'"});
      return parsed;
    }
  }
  if (help) {
    options.command = Command::kHelp;
    return parsed;
  }
  if (version) {
    options.command = Command::kVersion;
    return parsed;
  }
  if (words.empty()) {
    parsed.error = "missing command: run, count, mark or diff";
    return parsed;
  }
  if (words[0] == "run") {
    options.command = Command::kRun;
    if (words.size() > 2) {
      parsed.error = "run takes at most one FOLDER";
      return parsed;
    }
    if (words.size() == 2) options.path = words[1];
  } else if (words[0] == "count") {
    options.command = Command::kCount;
    if (words.size() != 2) {
      parsed.error = words.size() < 2 ? "count needs a FILE" : "count takes exactly one FILE";
      return parsed;
    }
    options.path = words[1];
  } else if (words[0] == "mark") {
    options.command = Command::kMark;
    if (words.size() != 2) {
      parsed.error = words.size() < 2 ? "mark needs a FILE" : "mark takes exactly one FILE";
      return parsed;
    }
    options.path = words[1];
    if (options.marks.empty()) {
      parsed.error = "mark needs something to mark: --checks, --block, --text or --row";
      return parsed;
    }
  } else if (words[0] == "diff") {
    options.command = Command::kDiff;
    if (words.size() != 3) {
      parsed.error = "diff needs two files: OLD and NEW";
      return parsed;
    }
    options.path = words[1];
    options.other = words[2];
  } else {
    parsed.error = JoinText({"unknown command '", words[0], "' (use run, count, mark or diff)"});
    return parsed;
  }
  if (!options.baselineOut.empty() && options.command != Command::kCount) {
    parsed.error = "--baseline-out goes with count only";
    return parsed;
  }
  if (options.command == Command::kDiff && (options.state || options.table || options.check)) {
    parsed.error = "diff takes --format only";
    return parsed;
  }
  if (options.command != Command::kMark && (!options.marks.empty() || options.reply)) {
    parsed.error = "--checks, --block, --text, --row and --reply go with mark only";
    return parsed;
  }
  if (options.command == Command::kMark &&
      (options.formatGiven || options.state || options.table || options.check)) {
    parsed.error = "mark writes the reply, not a report: drop --format, --state, --table and --check";
    return parsed;
  }
  if ((options.path.empty() && words.size() >= 2) ||
      (options.command == Command::kDiff && options.other.empty())) {
    parsed.error = "the path must not be empty";
    return parsed;
  }
  if (options.state && options.format != Format::kJson) {
    parsed.error = "--state goes with --format json only";
    return parsed;
  }
  if (options.check && options.command != Command::kCount) {
    parsed.error = "--check goes with count only";
    return parsed;
  }
  if (options.table && options.command == Command::kCount && options.formatGiven) {
    parsed.error = "count --table prints the reply's records, not a report: drop --format";
    return parsed;
  }
  return parsed;
}

std::string HelpText() {
  return "Usage: jwcount-cli run [FOLDER] [--format text|csv|json] [--state] [--table] [--progress]\n"
         "       jwcount-cli count FILE [--format text|csv|json] [--state] [--check] [--progress]\n"
         "       jwcount-cli count FILE --table [--progress]\n"
         "       jwcount-cli mark FILE [--checks[=ID]] [--block NAME] [--text TEXT]\n"
         "                             [--row TABLE:ROW] [--reply] [--progress]\n"
         "       jwcount-cli diff OLD NEW [--format text|csv|json]\n"
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
         "\n"
         "Options:\n"
         "  --format text  the summary counts, the rows of each table that hold counts with the layer\n"
         "                 names and their lengths and areas, the block names and the texts with their\n"
         "                 counts, and the drawing checks (default)\n"
         "  --format csv   one long table: table, row, name, column, count for every count other than 0\n"
         "                 and every length (mm) and area (mm2), the block names, the texts and the\n"
         "                 checks included (UTF-8 with a byte-order mark and CR LF, as spreadsheets\n"
         "                 expect; a name that would start a formula gets a leading ')\n"
         "  --format json  every summary, label, status text and table cell, the block names, the layer\n"
         "                 names, the lengths and areas, the texts and the checks as JSON\n"
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
         "  (mark: 2 also when a selector marks nothing: no such block, text or row;\n"
         "   diff: 2 also when OLD or NEW is no count to compare)\n";
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
