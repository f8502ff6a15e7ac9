#include "report/XlsxReport.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <system_error>
#include <vector>

#include "report/CountDiff.h"
#include "report/CountReport.h"
#include "report/DiffSection.h"
#include "report/QuantityText.h"
#include "report/SectionList.h"
#include "report/SheetTexts.h"
#include "report/SummaryRows.h"
#include "report/TakeoffSection.h"
#include "text/Utf8Text.h"

#if JWCOUNT_XLSX
#include <xlsxwriter.h>
#ifdef _WIN32
#include <windows.h>
#endif
#endif

namespace jwcount {

#if JWCOUNT_XLSX

namespace {

namespace fs = std::filesystem;

// Excel's limits: rows in a sheet, characters in a cell.
constexpr int64_t kSheetRows = LXW_ROW_MAX;
constexpr std::size_t kCellCharacters = 32767;
// A column is as wide as its widest cell, within these (in Excel's units of one digit's width).
constexpr double kNarrowest = 6;
constexpr double kWidest = 60;
// How many of a sheet's rows its column widths are measured on: enough to see every kind of cell.
constexpr int64_t kMeasuredRows = 10000;

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // … (UTF-8)

// "N 行は入りません（Excel の行数の上限）。CSV 保存にはすべての行があります。" after the count of rows.
constexpr std::string_view kRowsLeftOut =
    " \x8D\x73\x82\xCD\x93\xFC\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x69\x45\x78\x63\x65\x6C \x82\xCC\x8D\x73"
    "\x90\x94\x82\xCC\x8F\xE3\x8C\xC0\x81\x6A\x81\x42\x43\x53\x56 \x95\xDB\x91\xB6\x82\xC9\x82\xCD\x82\xB7"
    "\x82\xD7\x82\xC4\x82\xCC\x8D\x73\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42";

// Cuts a UTF-8 text longer than a cell holds to its first characters and …, as many as the cell holds; a
// byte that starts no character was turned into U+FFFD before, so every lead byte starts one.
void CapToCell(std::string& utf8) {
  if (utf8.size() <= kCellCharacters) return;  // fewer bytes than a cell's characters
  std::size_t characters = 0;
  std::size_t last = 0;  // where the cell's last character starts
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (++characters == kCellCharacters) last = i;
    if (characters > kCellCharacters) {
      utf8.resize(last);
      utf8 += kEllipsis;
      return;
    }
  }
}

// The width of a column that shows `columns` terminal columns (a full-width character is two).
double WidthOf(std::size_t columns) {
  return std::clamp(static_cast<double>(columns) + 2, kNarrowest, kWidest);
}

// The number format that shows `decimals` decimals with a thousands separator.
std::string NumberFormat(int decimals) {
  std::string format = "#,##0";
  if (decimals > 0) format += "." + std::string(static_cast<std::size_t>(decimals), '0');
  return format;
}

class XlsxSheets final : public SectionSheet {
 public:
  explicit XlsxSheets(lxw_workbook* book) : book_(book) {
    head_ = workbook_add_format(book_);
    format_set_bold(head_);
    format_set_bg_color(head_, 0xDDEBF7);
    format_set_bottom(head_, LXW_BORDER_THIN);
  }

  void Begin(std::string_view name, std::span<const std::string> heads) override {
    if (sheet_ != nullptr && name == name_) return;
    Finish();
    name_ = name;
    std::string utf8;
    utf8_.Append(utf8, name);
    sheet_ = workbook_add_worksheet(book_, utf8.c_str());
    if (sheet_ == nullptr) return Fail(LXW_ERROR_SHEETNAME_ALREADY_USED);
    row_ = 0;
    column_ = 0;
    leftOut_ = 0;
    widths_.assign(heads.size(), kNarrowest);
    columns_ = static_cast<int>(heads.size());
    for (const std::string& head : heads) Cell(head, head_);
    EndRow();
    worksheet_freeze_panes(sheet_, 1, 0);
  }

  void Text(std::string_view shiftJis) override {
    if (!Writing()) return;
    Cell(shiftJis, nullptr);
  }

  // A text that is UTF-8 already (a path, a time).
  void Utf8Text(std::string_view utf8) {
    if (!Writing()) return;
    std::string text(utf8);
    CapToCell(text);
    Measure(Utf8Text::Columns(text));
    Check(worksheet_write_string(sheet_, Row32(), Column16(), text.c_str(), nullptr));
    ++column_;
  }

  void Whole(int64_t value) override { Number(static_cast<double>(value), 0); }

  void Figure(double value, int decimals) override {
    if (!std::isfinite(value)) return Blank();
    Number(value, decimals);
  }

  void Formula(std::string_view formula, double result, int decimals) override {
    if (!Writing()) return;
    const std::string text(formula);
    Measure(NumberFormat(decimals).size() + 6);
    Check(worksheet_write_formula_num(sheet_, Row32(), Column16(), text.c_str(), NumberFormatted(decimals),
                                      result));
    ++column_;
  }

  void Blank() override {
    if (Writing()) ++column_;
  }

  void EndRow() override {
    if (sheet_ == nullptr) return;
    column_ = 0;
    if (row_ < kSheetRows - 1)
      ++row_;
    else
      ++leftOut_;
  }

  int64_t Row() const override { return row_; }

  // Closes the sheet being written: the row that says how many rows did not fit, the filter over the
  // heads and the rows, the columns' widths.
  void Finish() {
    if (sheet_ == nullptr) return;
    if (leftOut_ > 0) {
      column_ = 0;
      const std::string note = std::to_string(leftOut_) + std::string(kRowsLeftOut);
      std::string utf8;
      utf8_.Append(utf8, note);
      Check(worksheet_write_string(sheet_, Row32(), 0, utf8.c_str(), nullptr));
    }
    // The filter spans the heads and the rows, not the row that says what did not fit.
    const int64_t last = std::max<int64_t>(0, row_ - 1);
    if (columns_ > 0)
      worksheet_autofilter(sheet_, 0, 0, static_cast<lxw_row_t>(last), static_cast<lxw_col_t>(columns_ - 1));
    for (std::size_t c = 0; c < widths_.size(); ++c) {
      const auto column = static_cast<lxw_col_t>(c);
      worksheet_set_column(sheet_, column, column, widths_[c], nullptr);
    }
    sheet_ = nullptr;
    name_.clear();
  }

  lxw_error Error() const { return error_; }

 private:
  bool Writing() const { return sheet_ != nullptr && row_ < kSheetRows - 1; }
  lxw_row_t Row32() const { return static_cast<lxw_row_t>(row_); }
  lxw_col_t Column16() const { return static_cast<lxw_col_t>(column_); }

  void Cell(std::string_view shiftJis, lxw_format* format) {
    std::string text;
    utf8_.Append(text, shiftJis);
    CapToCell(text);
    Measure(Utf8Text::Columns(text));
    Check(worksheet_write_string(sheet_, Row32(), Column16(), text.c_str(), format));
    ++column_;
  }

  void Number(double value, int decimals) {
    if (!Writing()) return;
    Measure(NumberFormat(decimals).size() + 4);
    Check(worksheet_write_number(sheet_, Row32(), Column16(), value, NumberFormatted(decimals)));
    ++column_;
  }

  lxw_format* NumberFormatted(int decimals) {
    const auto d = static_cast<std::size_t>(std::clamp(decimals, 0, 6));
    if (numbers_[d] == nullptr) {
      numbers_[d] = workbook_add_format(book_);
      format_set_num_format(numbers_[d], NumberFormat(static_cast<int>(d)).c_str());
    }
    return numbers_[d];
  }

  void Measure(std::size_t columns) {
    if (row_ > kMeasuredRows) return;
    const auto c = static_cast<std::size_t>(column_);
    if (c >= widths_.size()) widths_.resize(c + 1, kNarrowest);
    widths_[c] = std::max(widths_[c], WidthOf(columns));
  }

  void Check(lxw_error error) { Fail(error); }
  void Fail(lxw_error error) {
    if (error_ == LXW_NO_ERROR) error_ = error;
  }

  lxw_workbook* book_;
  lxw_format* head_ = nullptr;
  std::array<lxw_format*, 7> numbers_{};
  lxw_worksheet* sheet_ = nullptr;
  std::string name_;
  int64_t row_ = 0;
  int column_ = 0;
  int columns_ = 0;
  int64_t leftOut_ = 0;
  std::vector<double> widths_;
  ::jwcount::Utf8Text utf8_;
  lxw_error error_ = LXW_NO_ERROR;
};

// The sheet 概要: each kind of element and its count, as page 1 shows them.
void WriteSummary(XlsxSheets& sheets, const CountReport& report) {
  const std::vector<std::vector<std::string>> rows = SummaryRows(report.Labels);
  sheets.Begin(kSummarySheet, rows[0]);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    sheets.Text(rows[i][0]);
    if (rows[i][1].empty())
      sheets.Blank();
    else
      sheets.Whole(report.Summary[i - 1]);
    sheets.EndRow();
  }
}

// The sheet 情報: the drawing's file, when, the version, the selection range, the rules file and its
// SHA-256, each where there is one.
void WriteInfo(XlsxSheets& sheets, const DrawingState* drawing, const TakeoffResult* takeoff,
               const WorkbookStamp& stamp) {
  const std::string heads[] = {std::string(kInfoItemHead), std::string(kInfoValueHead)};
  sheets.Begin(kInfoSheet, heads);
  const auto line = [&sheets](std::string_view item, auto&& value) {
    sheets.Text(item);
    value();
    sheets.EndRow();
  };
  if (drawing != nullptr) line(kInfoDrawing, [&] { sheets.Text(drawing->FileName); });
  line(kInfoTime, [&] { sheets.Utf8Text(stamp.Time); });
  line(kInfoVersion, [&] { sheets.Utf8Text(JwcountVersion()); });
  if (drawing != nullptr &&
      std::any_of(drawing->HnValues.begin(), drawing->HnValues.end(), [](double v) { return v != 0; })) {
    std::string range;
    for (const double v : drawing->HnValues) range += (range.empty() ? "" : ", ") + ExactQuantity(v);
    line(kInfoRange, [&] { sheets.Utf8Text(range); });
  }
  if (takeoff != nullptr && takeoff->State != TakeoffResult::Outcome::kNoRules) {  // a file was read
    line(kInfoRules, [&] { sheets.Utf8Text(takeoff->RulesFile); });
    if (!takeoff->Sha256.empty()) line(kInfoRulesSha, [&] { sheets.Utf8Text(takeoff->Sha256); });
  }
}

// The sheets the sections write, by member, in the order of the window's pages: the count tables, the
// blocks, the lengths and areas, the texts, the checks; then each other section's own.
constexpr std::string_view kMemberOrder[] = {"tables", "blocks", "quantities", "texts", "checks"};

void WriteSections(XlsxSheets& sheets, const std::vector<std::unique_ptr<Section>>& sections) {
  std::vector<std::string_view> order(std::begin(kMemberOrder), std::end(kMemberOrder));
  for (const std::unique_ptr<Section>& section : sections)
    for (const std::string_view member : section->JsonMembers())
      if (std::find(order.begin(), order.end(), member) == order.end()) order.push_back(member);
  SheetSink sink(sheets);
  for (const std::string_view member : order) {
    sheets.Member = member;
    for (const std::unique_ptr<Section>& section : sections) section->Write(sink);
  }
}

// Where the library writes the workbook and its temporary files, as it opens them: narrow paths.
struct LibraryPaths {
  std::string Book;    // the file it writes
  std::string Folder;  // the folder of its temporary files, beside the workbook
  fs::path Written;    // the file it writes, as this program names it
};

#ifdef _WIN32
// The path in the ANSI code page, where every character of it has a place there.
std::optional<std::string> AnsiPath(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  BOOL lost = FALSE;
  const int size = static_cast<int>(wide.size());
  const int n =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, narrow.data(), n, nullptr, &lost);
  if (lost) return std::nullopt;
  return narrow;
}

// The library opens files by narrow names in the ANSI code page. A path with a character that code page
// lacks is reached through the folder's short name, under a file name of plain ASCII, which is renamed
// to the path once it is written.
std::optional<LibraryPaths> PathsFor(const fs::path& path) {
  const fs::path folder = fs::absolute(path).parent_path();
  const std::optional<std::string> book = AnsiPath(path.native());
  const std::optional<std::string> inFolder = AnsiPath(folder.native());
  if (book && inFolder) return LibraryPaths{*book, *inFolder, path};
  wchar_t shortName[32768];
  const DWORD n = GetShortPathNameW(folder.c_str(), shortName, static_cast<DWORD>(std::size(shortName)));
  if (n == 0 || n >= std::size(shortName)) return std::nullopt;
  const std::optional<std::string> shortFolder = AnsiPath(std::wstring(shortName, n));
  if (!shortFolder) return std::nullopt;
  const std::string file = "jwcount-" + std::to_string(GetCurrentProcessId()) + ".xlsx.part";
  return LibraryPaths{*shortFolder + "\\" + file, *shortFolder, folder / file};
}
#else
std::optional<LibraryPaths> PathsFor(const fs::path& path) {
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  return LibraryPaths{path.string(), folder.string(), path};
}
#endif

// Makes the workbook at `path` with what `write` puts in it, and closes it: "" when it is whole, else
// why not; a workbook that failed is removed.
template <class Write>
std::string MakeWorkbook(const fs::path& path, Write&& write) {
  std::optional<LibraryPaths> paths = PathsFor(path);
  if (!paths) return "the path has characters the workbook's library cannot open";
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = paths->Folder.data();
  options.use_zip64 = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(paths->Book.c_str(), &options);
  if (book == nullptr) return "cannot make the workbook";
  XlsxSheets sheets(book);
  write(sheets);
  sheets.Finish();
  const lxw_error written = sheets.Error();
  const lxw_error closed = workbook_close(book);
  const lxw_error error = written != LXW_NO_ERROR ? written : closed;
  std::error_code failed;
  if (error == LXW_NO_ERROR && paths->Written != path) fs::rename(paths->Written, path, failed);
  if (error == LXW_NO_ERROR && !failed) return {};
  std::error_code ignored;
  fs::remove(paths->Written, ignored);
  return error != LXW_NO_ERROR ? lxw_strerror(error) : failed.message();
}

}  // namespace

bool WorkbookAvailable() {
  return true;
}

std::string WriteCountWorkbook(const fs::path& path, const CountReport& report,
                               std::span<const SectionRow> sections, const CountComparison* comparison,
                               const WorkbookStamp& stamp) {
  return MakeWorkbook(path, [&](XlsxSheets& sheets) {
    WriteSummary(sheets, report);
    WriteSections(sheets, ReportSections(report, sections, comparison));
    WriteInfo(sheets, &report.State.Drawing, report.Takeoff ? &*report.Takeoff : nullptr, stamp);
  });
}

std::string WriteTakeoffWorkbook(const fs::path& path, const CountReport& report,
                                 const WorkbookStamp& stamp) {
  return MakeWorkbook(path, [&](XlsxSheets& sheets) {
    const TakeoffResult* takeoff = report.Takeoff ? &*report.Takeoff : nullptr;
    const TakeoffSection sheet(takeoff);
    SheetSink sink(sheets);
    sheets.Member = sheet.Id();
    sheet.Write(sink);
    WriteInfo(sheets, &report.State.Drawing, takeoff, stamp);
  });
}

std::string WriteDiffWorkbook(const fs::path& path, const CountDiff& diff, const WorkbookStamp& stamp) {
  return MakeWorkbook(path, [&](XlsxSheets& sheets) {
    const CountComparison comparison{CountComparison::Outcome::kCompared, SnapshotError::kNone, diff};
    const DiffSection section(&comparison);
    SheetSink sink(sheets);
    sheets.Member = section.Id();
    section.Write(sink);
    WriteInfo(sheets, nullptr, nullptr, stamp);
    const auto line = [&sheets](std::string_view item, const std::optional<std::string>& utf8) {
      if (!utf8) return;
      sheets.Text(item);
      sheets.Utf8Text(*utf8);
      sheets.EndRow();
    };
    line(kInfoBaselineDrawing, diff.Baseline.File);
    line(kInfoBaselineTime, diff.Baseline.Time);
    line(kInfoCurrentDrawing, diff.Current.File);
  });
}

#else  // built without the workbook's library

namespace {
constexpr std::string_view kNoWorkbook = "this build writes no Excel workbook (built without libxlsxwriter)";
}

bool WorkbookAvailable() {
  return false;
}

std::string WriteCountWorkbook(const std::filesystem::path&, const CountReport&, std::span<const SectionRow>,
                               const CountComparison*, const WorkbookStamp&) {
  return std::string(kNoWorkbook);
}

std::string WriteTakeoffWorkbook(const std::filesystem::path&, const CountReport&, const WorkbookStamp&) {
  return std::string(kNoWorkbook);
}

std::string WriteDiffWorkbook(const std::filesystem::path&, const CountDiff&, const WorkbookStamp&) {
  return std::string(kNoWorkbook);
}

#endif

}  // namespace jwcount
