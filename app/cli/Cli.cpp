#include "app/cli/Cli.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <system_error>

#include "app/cli/CliOptions.h"
#include "app/cli/ConsoleHost.h"
#include "app/cli/MarkCommand.h"
#include "app/cli/Platform.h"
#include "app/cli/Progress.h"
#include "report/BaselineStore.h"
#include "report/CountDiff.h"
#include "report/CsvReport.h"
#include "report/CsvWriter.h"
#include "report/DiffReport.h"
#include "report/JsonReport.h"
#include "report/JsonWriter.h"
#include "report/SectionList.h"
#include "report/TakeoffSection.h"
#include "report/TextReport.h"
#include "report/XlsxReport.h"
#include "tempfile/NoWriteFileSystem.h"
#include "tempfile/ProgramPath.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

namespace fs = std::filesystem;

fs::path PathFromArgument(const std::string& text) {
#ifdef _WIN32
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
#else
  return fs::path(text);
#endif
}

std::string PathText(const fs::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#else
  return path.string();
#endif
}

void Complain(std::initializer_list<std::string_view> pieces) {
  const std::string message = JoinText(pieces);
  std::fflush(stdout);
  std::fprintf(stderr, "jwcount-cli: %s\n", message.c_str());
  std::fflush(stderr);
}

// How each format writes the report of a count and the comparison of two.
struct FormatWriters {
  Format format;
  void (*report)(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader);
  void (*comparison)(OutputBuffer& out, const CountDiff& diff);
};

constexpr FormatWriters kFormats[] = {
    {Format::kText,
     [](OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu&) {
       WriteTextReport(out, utf8, report);
     },
     WriteDiffText},
    {Format::kCsv,
     [](OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu&) {
       WriteCsvReport(out, utf8, report);
     },
     WriteDiffCsv},
    {Format::kJson,
     [](OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader) {
       WriteJsonReport(out, utf8, report, reader);
     },
     WriteDiffJson},
};

const FormatWriters& WritersOf(Format format) {
  for (const FormatWriters& writers : kFormats) {
    if (writers.format == format) return writers;
  }
  return kFormats[0];
}

// Copies the file's bytes to standard output.
bool CopyToStandardOutput(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  OutputBuffer out(stdout);
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    out.Append(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
  }
  return in.eof() && out.Flush();
}

// The workbook `write` makes (it gives "" when it wrote it whole, else why not): into --output, whole or
// not at all, or made in the temporary folder and copied to standard output, which is no terminal.
int WriteWorkbook(const CliOptions& options, const std::function<std::string(const fs::path&)>& write) {
  std::string why;
  const auto written = [&](const fs::path& file) { return (why = write(file)).empty(); };
  if (!options.output.empty()) {
    const fs::path out = PathFromArgument(options.output);
    if (ReplaceFileBy(out, written)) return kExitOk;
    Complain({"cannot write the workbook '", PathText(out), "'", why.empty() ? "" : ": ", why});
    return kExitFailure;
  }
  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error);
  const fs::path file =
      folder / ("jwcount-" + std::to_string(reinterpret_cast<std::uintptr_t>(&why)) + ".xlsx");
  const bool copied = !error && written(file) && CopyToStandardOutput(file);
  fs::remove(file, error);
  if (copied) return kExitOk;
  Complain({"cannot write the workbook to standard output", why.empty() ? "" : ": ", why});
  return kExitFailure;
}

WorkbookStamp StampNow() {
  return {LocalTimeNow()};
}

int WriteReport(const CliOptions& options, const CountReport& report, const JwwGaibu& reader) {
  if (options.format == Format::kXlsx) {
    return WriteWorkbook(options, [&](const fs::path& file) {
      return WriteCountWorkbook(file, report, Sections(), nullptr, StampNow());
    });
  }
  OutputBuffer out(stdout);
  Utf8Text utf8;
  WritersOf(options.format).report(out, utf8, report, reader);
  if (!out.Flush()) {
    Complain({"cannot write the report to standard output"});
    return kExitFailure;
  }
  return kExitOk;
}

// The reply file's bytes as Jw_cad reads them: one line per line of the file, in UTF-8.
int WriteReplyLines(std::string_view reply) {
  OutputBuffer out(stdout);
  for (std::size_t start = 0; start < reply.size();) {
    std::size_t end = reply.find("\r\n", start);
    if (end == std::string_view::npos) end = reply.size();
    out.Append(ShiftJisToUtf8(reply.substr(start, end - start)));
    out.Append('\n');
    start = end + 2;
  }
  if (!out.Flush()) {
    Complain({"cannot write the reply's records to standard output"});
    return kExitFailure;
  }
  return kExitOk;
}

// Reads and counts `file` through `fileSystem`, the reply going to replyFolder, with the progress on
// standard error. Off a terminal the progress is shown only when asked for: a log or a pipe wants the report
// alone.
CountSession CountWithProgress(const CliOptions& options, FileSystem& fileSystem, const fs::path& file,
                               const fs::path& replyFolder, ReplyChoice reply) {
  CountSession session(fileSystem);
  const bool terminal = IsTerminal(stderr);
  std::optional<ProgressLine> progress;
  if (terminal || options.progress) progress.emplace(stderr, terminal);
  ConsoleHost host(session.Report(), progress ? &*progress : nullptr, reply);
  // Rules that are there are applied beside the tally; ApplyRules then tells what became of them.
  std::error_code error;
  const RulesBeside rules{PathFromArgument(options.rules), options.rules};
  const bool withRules = !options.rules.empty() && fs::is_regular_file(rules.File, error);
  CountForReport(session, file, replyFolder, options.state, host, withRules ? &rules : nullptr);
  return session;
}

// A file counted as count, mark and diff count it, writing nothing: the reply the count makes is kept in
// noWrites (its Written()) rather than beside the file.
struct DryCount {
  std::unique_ptr<NoWriteFileSystem> noWrites;  // first, so that it outlives the reader reading through it
  CountSession session;
};

DryCount CountWithoutWriting(const CliOptions& options, const fs::path& file, ReplyChoice reply = {}) {
  auto noWrites = std::make_unique<NoWriteFileSystem>(NativeFileSystem());
  CountSession session = CountWithProgress(options, *noWrites, file, file.parent_path(), reply);
  return {std::move(noWrites), std::move(session)};
}

// What count and run go on with once the count is written out: whether the file was read to its end, the
// exit code of writing the report (or the reply's records), whether a check found something, and the
// baseline file's bytes (with --baseline-out; otherwise empty).
struct CountOutcome {
  bool readOk = false;
  int reportExit = kExitOk;
  bool checkFound = false;
  std::string baseline;
};

// Makes the baseline when --baseline-out asks for one, then writes the report to standard output, or, when
// `replyShown` is given, the records of that reply.
CountOutcome WriteCount(const CliOptions& options, const CountSession& session,
                        const std::string* replyShown) {
  const CountReport& report = session.Report();
  const bool checkFound = report.Tables.Checks.Found();
  std::string baseline;
  if (!options.baselineOut.empty()) baseline = session.Baseline(LocalTimeNow());
  if (replyShown != nullptr) return {report.ReadOk, WriteReplyLines(*replyShown), checkFound, baseline};
  return {report.ReadOk, WriteReport(options, report, session.Reader()), checkFound, std::move(baseline)};
}

// kExitOk when `file` is a plain file that opens for reading; otherwise says why and gives the exit code.
int CheckExchangeFile(const fs::path& file) {
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (!fs::exists(status)) {
    Complain({"cannot find '", PathText(file), "'"});
    return kExitMissing;
  }
  if (fs::is_directory(status)) {
    Complain({"'", PathText(file), "' is a folder, not an exchange file"});
    return kExitUnreadable;
  }
  if (!fs::is_regular_file(status)) {
    Complain({"'", PathText(file), "' is not a plain file"});
    return kExitUnreadable;
  }
  if (!NativeFileSystem().OpenForRead(file)) {
    Complain({"cannot open '", PathText(file), "'"});
    return kExitUnreadable;
  }
  return kExitOk;
}

void ComplainShortRead(const fs::path& file) {
  Complain({"reading '", PathText(file), "' failed part way; the counts cover the lines before the failure"});
}

// With --rules, the count's quantity sheet (made beside the tally, or made here): kExitOk, or the exit code
// of a rules file that is missing, cannot be read or has errors (each told on standard error as
// RULES:LINE: COLUMN: reason). The sheet is made all the same, so that the report shows the errors too.
int ApplyRules(const CliOptions& options, CountSession& session) {
  if (options.rules.empty()) return kExitOk;
  const fs::path rules = PathFromArgument(options.rules);
  std::error_code error;
  if (!fs::is_regular_file(rules, error)) {
    Complain({"cannot find the rules file '", options.rules, "'"});
    return kExitMissing;
  }
  const TakeoffResult& takeoff =
      session.Report().Takeoff ? *session.Report().Takeoff : session.ApplyRules(rules, options.rules);
  if (takeoff.State == TakeoffResult::Outcome::kUnreadable) {
    Complain({"cannot read the rules file '", options.rules, "'"});
    return kExitUnreadable;
  }
  if (takeoff.State != TakeoffResult::Outcome::kErrors) return kExitOk;
  std::string lines;
  for (const TakeoffError& e : takeoff.Rules.Errors) {
    lines += options.rules;
    if (e.Line > 0) lines += ":" + std::to_string(e.Line);
    lines += ": ";
    if (!e.Column.empty()) lines += ShiftJisToUtf8(e.Column) + ": ";
    lines += ShiftJisToUtf8(e.Message) + "\n";
  }
  std::fflush(stdout);
  std::fputs(lines.c_str(), stderr);
  std::fflush(stderr);
  return kExitRulesErrors;
}

int RunCount(const CliOptions& options) {
  const fs::path file = PathFromArgument(options.path);
  if (const int exit = CheckExchangeFile(file); exit != kExitOk) return exit;
  DryCount count = CountWithoutWriting(options, file, {options.table});
  const int rulesExit = ApplyRules(options, count.session);
  if (rulesExit == kExitMissing) return rulesExit;
  const CountOutcome outcome =
      WriteCount(options, count.session, options.table ? &count.noWrites->Written() : nullptr);
  if (outcome.reportExit != kExitOk) return outcome.reportExit;
  if (!outcome.readOk) {
    ComplainShortRead(file);
    return kExitUnreadable;
  }
  if (rulesExit != kExitOk) return rulesExit;
  if (!options.baselineOut.empty()) {
    const fs::path out = PathFromArgument(options.baselineOut);
    if (!ReplaceFileWhole(out, outcome.baseline)) {
      Complain({"cannot write the baseline into '", PathText(out), "'"});
      return kExitFailure;
    }
  }
  return options.check && outcome.checkFound ? kExitCheckFound : kExitOk;
}

// Counts the file as `count` does, then writes the reply with the marks the selectors ask for. A file not
// read to its end, or a tally stopped by Ctrl+C, marks nothing: its counts cover part of the drawing.
int RunMark(const CliOptions& options) {
  const fs::path file = PathFromArgument(options.path);
  if (const int exit = CheckExchangeFile(file); exit != kExitOk) return exit;
  DryCount count = CountWithoutWriting(options, file);
  const int rulesExit = ApplyRules(options, count.session);
  const CountSession& session = count.session;
  if (!session.Report().ReadOk) {
    ComplainShortRead(file);
    return kExitUnreadable;
  }
  if (rulesExit != kExitOk) return rulesExit;
  if (!session.Completed()) {
    Complain({"stopped before every element was counted: nothing marked"});
    return kExitFailure;
  }
  SelectorCovers selected = CoversOfSelectors(options.marks, session.Report(), session.Reader().Drawing);
  const std::optional<std::string> bytes = session.MarkedReply(selected.Covers);
  if (!selected.Error.empty() || !bytes) {
    if (selected.Error.empty()) selected.Error = "the selectors cover no element";
    Complain({selected.Error, " in '", PathText(file), "': nothing marked"});
    return kExitNothingToMark;
  }
  if (options.reply) {
    if (ReplaceFileWhole(file, *bytes)) return kExitOk;
    Complain({"cannot write the reply into '", PathText(file), "'; the file is as it was"});
    return kExitReplyNotWritten;
  }
  OutputBuffer out(stdout);
  out.Append(*bytes);
  if (!out.Flush()) {
    Complain({"cannot write the reply to standard output"});
    return kExitFailure;
  }
  return kExitOk;
}

int RunHeadless(const CliOptions& options) {
  const fs::path folder = options.path.empty() ? ProgramFolder() : PathFromArgument(options.path);
  if (folder.empty()) {
    Complain({"cannot find the folder of this program; give FOLDER"});
    return kExitFailure;
  }
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    Complain({"'", PathText(folder), "' is not a folder"});
    return kExitMissing;
  }
  const fs::path file = TempFilePath(folder);
  FileSystem& fileSystem = NativeFileSystem();
  const bool existed = fileSystem.Exists(file);
  if (!existed) Complain({"no JWC_TEMP.TXT in '", PathText(folder), "': counting no elements"});
  const CountOutcome outcome = WriteCount(
      options, CountWithProgress(options, fileSystem, file, folder, {options.table, !existed}), nullptr);
  int exit = outcome.reportExit;
  if (existed && !outcome.readOk) {
    Complain({"reading '", PathText(file), "' failed; the counts cover what was read"});
    if (exit == kExitOk) exit = kExitUnreadable;
  }
  // The writer deletes a reply it could not finish, so a missing file means the host gets no reply.
  if (!fileSystem.Exists(file)) {
    Complain({"cannot write the reply into '", PathText(file), "'"});
    exit = kExitReplyNotWritten;
  }
  return exit;
}

// A file's bytes; false when it cannot be read whole.
bool ReadWhole(const fs::path& file, std::string& bytes) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream whole;
  whole << in.rdbuf();
  bytes = std::move(whole).str();
  return in.good() || in.eof();
}

// True when the bytes are a JSON text rather than an exchange file: the first thing after any byte-order
// mark and blanks is "{" or "[", which no record of an exchange file starts with.
bool LooksLikeJson(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const std::size_t first = bytes.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && (bytes[first] == '{' || bytes[first] == '[');
}

std::string SnapshotProblem(const SnapshotRead& read) {
  switch (read.Error) {
    case SnapshotError::kCannotRead:
      return "cannot be read";
    case SnapshotError::kEmpty:
      return "is empty";
    case SnapshotError::kCut:
      return "ends in the middle: it was cut short";
    case SnapshotError::kNotJson:
      return "is not JSON (" + read.Detail + ")";
    case SnapshotError::kWrongShape:
      return "is JSON but no jwcount report (" + read.Detail + ")";
    case SnapshotError::kNewerVersion:
      return "was kept by a newer jwcount (" + read.Detail + ")";
    case SnapshotError::kNone:
      break;
  }
  return {};
}

// One side of a comparison: a JSON report or baseline as it stands, an exchange file counted first and
// taken as its JSON report.
std::optional<CountSnapshot> ReadSide(const CliOptions& options, const fs::path& file, int& exit) {
  if (exit = CheckExchangeFile(file); exit != kExitOk) return std::nullopt;
  std::string bytes;
  if (!ReadWhole(file, bytes)) {
    Complain({"cannot read '", PathText(file), "'"});
    exit = kExitUnreadable;
    return std::nullopt;
  }
  if (!LooksLikeJson(bytes) && !bytes.empty()) {
    DryCount count = CountWithoutWriting(options, file);
    if (!count.session.Report().ReadOk) {
      ComplainShortRead(file);
      exit = kExitUnreadable;
      return std::nullopt;
    }
    if (exit = ApplyRules(options, count.session); exit != kExitOk) return std::nullopt;
    // Taken as a baseline of no time: which drawing and range, and by which version, are known.
    bytes = count.session.Baseline({});
  }
  SnapshotRead read = ReadSnapshot(bytes);
  if (read.Error != SnapshotError::kNone) {
    Complain({"'", PathText(file), "' ", SnapshotProblem(read)});
    exit = kExitUsage;
    return std::nullopt;
  }
  return std::move(read.Snapshot);
}

int RunDiff(const CliOptions& options) {
  int exit = kExitOk;
  const std::optional<CountSnapshot> before = ReadSide(options, PathFromArgument(options.path), exit);
  if (!before) return exit;
  const std::optional<CountSnapshot> now = ReadSide(options, PathFromArgument(options.other), exit);
  if (!now) return exit;
  const CountDiff diff = CompareCounts(*before, *now);
  if (options.format == Format::kXlsx) {
    const int exit =
        WriteWorkbook(options, [&](const fs::path& out) { return WriteDiffWorkbook(out, diff, StampNow()); });
    if (exit != kExitOk) return exit;
    return diff.Rows.empty() ? kExitOk : kExitDiffers;
  }
  OutputBuffer out(stdout);
  WritersOf(options.format).comparison(out, diff);
  if (!out.Flush()) {
    Complain({"cannot write the comparison to standard output"});
    return kExitFailure;
  }
  return diff.Rows.empty() ? kExitOk : kExitDiffers;
}

// The quantity sheet alone: the text report's part, the page's grid as CSV, or the JSON report's member.
bool WriteSheet(Format format, const TakeoffResult& takeoff) {
  OutputBuffer out(stdout);
  Utf8Text utf8;
  const TakeoffSection sheet(&takeoff);
  if (format == Format::kText) {
    TextSink sink(out, utf8);
    sheet.Write(sink);
  } else if (format == Format::kCsv) {
    out.Append(CsvFile(GridRows(sheet)));
  } else {
    JsonWriter json(out, utf8);
    JsonSink sink(json, sheet.Id());
    sheet.Write(sink);
    out.Append('\n');
  }
  return out.Flush();
}

int RunTakeoff(const CliOptions& options) {
  const fs::path file = PathFromArgument(options.path);
  if (const int exit = CheckExchangeFile(file); exit != kExitOk) return exit;
  DryCount count = CountWithoutWriting(options, file);
  const int rulesExit = ApplyRules(options, count.session);
  if (rulesExit == kExitMissing || rulesExit == kExitUnreadable) return rulesExit;
  if (options.format == Format::kXlsx) {
    const int exit = WriteWorkbook(options, [&](const fs::path& out) {
      return WriteTakeoffWorkbook(out, count.session.Report(), StampNow());
    });
    if (exit != kExitOk) return exit;
  } else if (!WriteSheet(options.format, *count.session.Report().Takeoff)) {
    Complain({"cannot write the quantity sheet to standard output"});
    return kExitFailure;
  }
  if (!count.session.Report().ReadOk) {
    ComplainShortRead(file);
    return kExitUnreadable;
  }
  return rulesExit;
}

}  // namespace

int RunCli(const std::vector<std::string>& args) {
  const Utf8Console console;
  const ParsedCommandLine parsed = ParseCommandLine(args);
  if (!parsed.error.empty()) {
    Complain({parsed.error, " (see jwcount-cli --help)"});
    return kExitUsage;
  }
  if (parsed.options.format == Format::kXlsx) {
    if (!WorkbookAvailable()) {
      Complain({"this jwcount-cli was built without libxlsxwriter: it writes no workbook"});
      return kExitFailure;
    }
    if (parsed.options.output.empty() && IsTerminal(stdout)) {
      Complain({"a workbook is no text for a terminal: give --output OUT.xlsx, or redirect standard output"});
      return kExitUsage;
    }
  }
  try {
    switch (parsed.options.command) {
      case Command::kHelp:
        std::fputs(HelpText().c_str(), stdout);
        return kExitOk;
      case Command::kVersion:
        std::fputs(VersionText().c_str(), stdout);
        return kExitOk;
      case Command::kCount:
        return RunCount(parsed.options);
      case Command::kMark:
        return RunMark(parsed.options);
      case Command::kDiff:
        return RunDiff(parsed.options);
      case Command::kTakeoff:
        return RunTakeoff(parsed.options);
      case Command::kRun:
        return RunHeadless(parsed.options);
    }
  } catch (const std::exception& e) {
    Complain({"unexpected error: ", e.what()});
  }
  return kExitFailure;
}

}  // namespace jwcount
