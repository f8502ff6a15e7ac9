#include "report/DiffSection.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>

#include "counting/CountTable.h"

#include "counting/CountTexts.h"
#include "report/NameSection.h"
#include "report/SectionList.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// clang-format off
constexpr std::string_view kRangeDiffers = "\x92\x8D\x88\xD3: \x8A\xEE\x8F\x80\x82\xC6\x8D\xA1\x89\xF1\x82\xC6\x82\xC5\x94\xCD\x88\xCD\x91I\x91\xF0\x82\xAA\x88\xE1\x82\xA2\x82\xDC\x82\xB7\x81" "B\x95\xCA\x82\xCC\x94\xCD\x88\xCD\x82\xCC\x8F" "E\x82\xA2\x8Fo\x82\xB5\x82\xCD\x89\xFC\x92\xF9\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";  // 注意: 基準と今回とで範囲選択が違います。別の範囲の拾い出しは改訂ではありません。
constexpr std::string_view kNoDrawing = "\x90}\x96\xCA\x82\xAA\x95\xDB\x91\xB6\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xC8\x82\xA2\x82\xBD\x82\xDF\x81" "A\x8A\xEE\x8F\x80\x82\xF0\x8E\x9D\x82\xC4\x82\xDC\x82\xB9\x82\xF1\x81" "B";  // 図面が保存されていないため、基準を持てません。
constexpr std::string_view kNoBaseline = "\x82\xB1\x82\xCC\x90}\x96\xCA\x82\xCC\x8A\xEE\x8F\x80\x82\xCD\x82\xDC\x82\xBE\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B\x81u\x8A\xEE\x8F\x80\x82\xC6\x82\xB5\x82\xC4\x95\xDB\x91\xB6\x81v\x82\xC5\x8D\xA1\x89\xF1\x82\xCC\x8F" "E\x82\xA2\x8Fo\x82\xB5\x82\xF0\x8A\xEE\x8F\x80\x82\xC9\x82\xC5\x82\xAB\x82\xDC\x82\xB7\x81" "B";  // この図面の基準はまだありません。「基準として保存」で今回の拾い出しを基準にできます。
constexpr std::string_view kNotCompared = "\x90}\x96\xCA\x82\xF0\x8D\xC5\x8C\xE3\x82\xDC\x82\xC5\x8FW\x8Cv\x82\xB5\x82\xC4\x82\xA2\x82\xC8\x82\xA2\x82\xBD\x82\xDF\x81" "A\x8A\xEE\x8F\x80\x82\xC6\x94\xE4\x82\xD7\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81" "B";  // 図面を最後まで集計していないため、基準と比べていません。
constexpr std::string_view kSame = "\x8A\xEE\x8F\x80\x82\xC6\x93\xAF\x82\xB6\x82\xC5\x82\xB7\x81" "B";  // 基準と同じです。
constexpr std::string_view kEmptyFile = "\x8A\xEE\x8F\x80\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x8B\xF3\x82\xC5\x82\xB7\x81" "B";  // 基準のファイルが空です。
constexpr std::string_view kCutFile = "\x8A\xEE\x8F\x80\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x93r\x92\x86\x82\xC5\x90\xD8\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81" "B";  // 基準のファイルが途中で切れています。
constexpr std::string_view kNotJson = "\x8A\xEE\x8F\x80\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xAA JSON \x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";  // 基準のファイルが JSON ではありません。
constexpr std::string_view kWrongShape = "\x8A\xEE\x8F\x80\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xAA jwcount \x82\xCC\x8FW\x8Cv\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";  // 基準のファイルが jwcount の集計ではありません。
constexpr std::string_view kNewer = "\x8A\xEE\x8F\x80\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xCD\x90V\x82\xB5\x82\xA2\x94\xC5\x82\xCC jwcount \x82\xC5\x95\xDB\x91\xB6\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81" "B";  // 基準のファイルは新しい版の jwcount で保存されています。
constexpr std::string_view kKeepAgain = "\x82\xE0\x82\xA4\x88\xEA\x93x\x81u\x8A\xEE\x8F\x80\x82\xC6\x82\xB5\x82\xC4\x95\xDB\x91\xB6\x81v\x82\xB7\x82\xE9\x82\xC6\x8D\xEC\x82\xE8\x92\xBC\x82\xB9\x82\xDC\x82\xB7\x81" "B";  // もう一度「基準として保存」すると作り直せます。
constexpr std::string_view kSameLayerSuffix = " (\x93\xAF\x82\xB6\x83\x8C\x83" "C\x83\x84)";  //  (同じレイヤ)
constexpr std::string_view kLengthItem = "\x92\xB7\x82\xB3 (m)";  // 長さ (m)
constexpr std::string_view kAreaItem = "\x96\xCA\x90\xCF (\x87u)";  // 面積 (㎡)
constexpr std::string_view kBaselineOf = "\x8A\xEE\x8F\x80: ";  // 基準: 
constexpr std::string_view kKeptBy = " \x95\xDB\x91\xB6, jwcount ";  //  保存, jwcount 
constexpr std::string_view kHeads[] = {"\x95\\", "\x8Ds", "\x8D\x80\x96\xDA", "\x8A\xEE\x8F\x80", "\x8D\xA1\x89\xF1", "\x91\x9D\x8C\xB8"};  // 表 行 項目 基準 今回 増減
constexpr std::string_view kBlocksName = "\x83u\x83\x8D\x83" "b\x83N";  // ブロック
constexpr std::string_view kTextsName = "\x95\xB6\x8E\x9A";  // 文字
constexpr std::string_view kCannotRead = "\x8A\xEE\x8F\x80\x82\xCC\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x81" "B";  // 基準のファイルを読めません。
// clang-format on

// The table of a row, as a user calls it: a count table by its grouping, ブロック, 文字 or 点検.
std::string_view SectionName(std::string_view section) {
  if (const CountTableRow* table = FindCountTable(section)) return table->Grouping;
  if (section == "blocks") return kBlocksName;
  if (section == "texts") return kTextsName;
  if (section == "checks") return kCheckTitle;
  for (const SectionRow& row : Sections())
    if (row.Id == section) return row.Title;
  return section;
}

// A check's key path ("zero_radius", "duplicates.total", "duplicates.by_kind.3"): the check, and what of
// it the path names ("", "total", "same_layer" or "by_kind.K").
struct CheckPath {
  const CheckListRow* Check = nullptr;
  std::string_view Part;
  int32_t Kind = 0;  // by_kind.K: 1 to 15
};
CheckPath ParseCheckPath(std::string_view key) {
  constexpr std::string_view kByKind = "by_kind.";
  for (const CheckListRow& check : kCheckList) {
    if (key.substr(0, check.JsonKey.size()) != check.JsonKey) continue;
    const std::string_view rest = key.substr(check.JsonKey.size());
    if (rest.empty() && !check.ByKind) return {&check, {}, 0};
    if (!check.ByKind || rest.empty() || rest[0] != '.') continue;
    CheckPath path{&check, rest.substr(1), 0};
    if (path.Part.substr(0, kByKind.size()) == kByKind) {
      const int kind = std::atoi(std::string(path.Part.substr(kByKind.size())).c_str());
      if (kind < 1 || kind > static_cast<int>(kKindNames.size())) return {};
      path.Kind = kind;
    } else if (path.Part != "total" && path.Part != "same_layer") {
      return {};
    }
    return path;
  }
  return {};
}

// A check's key path as its row on page 10 reads: 重複, 重複 (同じレイヤ), the kind under 重複, 長さ 0 の線
// ...
std::string CheckName(std::string_view key) {
  const CheckPath path = ParseCheckPath(key);
  if (path.Check == nullptr) return std::string(key);
  std::string name(path.Check->Label);
  if (path.Part == "same_layer") name += kSameLayerSuffix;
  if (path.Kind != 0) name += " " + std::string(kKindNames[static_cast<std::size_t>(path.Kind - 1)]);
  return name;
}

// The head of a row: a table row's head with the name of its layer or group, a name as page 7 or 9 shows
// it, a check as page 10 names it.
std::string HeadText(const DiffRow& row) {
  if (row.Section == "blocks" || row.Section == "texts") return ShownName(row.Name);
  if (row.Section == "checks") return CheckName(row.Head);
  std::string head = Utf8ToShiftJis(row.Head);
  if (!row.RowName.empty()) head += " " + Utf8ToShiftJis(row.RowName);
  return head;
}

std::string ItemText(const DiffRow& row) {
  if (row.Column == DiffRow::kLengthColumn) return std::string(kLengthItem);
  if (row.Column == DiffRow::kAreaColumn) return std::string(kAreaItem);
  return Utf8ToShiftJis(row.Item);  // 数 for a name or a check
}

// A figure in the page's units: lengths in m and areas in ㎡, to three places; counts whole.
std::string Figure(const DiffRow& row, const std::optional<double>& value, bool change) {
  if (!value || !row.Quantity) return DiffFigure(value, false, change);
  // A quantity of the sheet is in its item's unit already.
  if (row.Column != DiffRow::kLengthColumn && row.Column != DiffRow::kAreaColumn)
    return DiffFigure(value, true, change);
  const double scale = row.Column == DiffRow::kAreaColumn ? 1e-6 : 1e-3;
  return DiffFigure(*value * scale, true, change);
}

// The comparison's texts and figures as JSON values, written as the JSON library writes them.
using Json = nlohmann::ordered_json;

std::string JsonText(std::string_view utf8) {
  return Json(utf8).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string JsonFigure(const std::optional<double>& value, bool quantity) {
  if (!value) return "null";
  return quantity ? Json(*value).dump() : Json(static_cast<int64_t>(*value)).dump();
}

void WriteInfo(JsonWriter& json, const BaselineInfo& info) {
  auto optional = [](const std::optional<std::string>& v) { return v ? JsonText(*v) : "null"; };
  json.BeginObject();
  json.Key("file");
  json.Literal(optional(info.File));
  json.Key("time");
  json.Literal(optional(info.Time));
  json.Key("range");
  json.Literal(info.Range ? Json(*info.Range).dump() : "null");
  json.Key("version");
  json.Literal(optional(info.Version));
  json.EndObject();
}

std::string ErrorText(SnapshotError error) {
  switch (error) {
    case SnapshotError::kCannotRead:
      return std::string(kCannotRead);
    case SnapshotError::kEmpty:
      return std::string(kEmptyFile);
    case SnapshotError::kCut:
      return std::string(kCutFile);
    case SnapshotError::kNotJson:
      return std::string(kNotJson);
    case SnapshotError::kNewerVersion:
      return std::string(kNewer);
    default:
      return std::string(kWrongShape);
  }
}

}  // namespace

std::string_view DiffSection::Title() const {
  return kDiffTitle;
}

bool DiffSection::HasRows() const {
  return comparison_ != nullptr && comparison_->State == CountComparison::Outcome::kCompared &&
         !comparison_->Diff.Rows.empty();
}

std::string DiffSection::Message() const {
  if (comparison_ == nullptr || HasRows()) return {};
  switch (comparison_->State) {
    case CountComparison::Outcome::kNoDrawing:
      return std::string(kNoDrawing);
    case CountComparison::Outcome::kNoBaseline:
      return std::string(kNoBaseline);
    case CountComparison::Outcome::kUnreadable:
      return ErrorText(comparison_->Error) + std::string(kKeepAgain);
    case CountComparison::Outcome::kNotCompared:
      return std::string(kNotCompared);
    case CountComparison::Outcome::kCompared:
      break;
  }
  return std::string(kSame);
}

std::string DiffSection::Notice() const {
  std::string notice = BaselineLine();
  if (const std::string words = Message(); !words.empty()) notice += (notice.empty() ? "" : "\r\n") + words;
  return notice;
}

std::string DiffSection::BaselineLine() const {
  if (comparison_ == nullptr || comparison_->State != CountComparison::Outcome::kCompared) return {};
  const BaselineInfo& baseline = comparison_->Diff.Baseline;
  std::string notice(kBaselineOf);
  notice += Utf8ToShiftJis(baseline.Time ? *baseline.Time : "?");
  notice += kKeptBy;
  notice += Utf8ToShiftJis(baseline.Version ? *baseline.Version : "?");
  if (comparison_->Diff.RangeDiffers) {
    notice += "  ";
    notice += kRangeDiffers;
  }
  return notice;
}

const DiffRow& DiffSection::RowAt(int row) const {
  const auto place = static_cast<std::size_t>(row - 1);
  return comparison_->Diff.Rows[order_.empty() ? place : static_cast<std::size_t>(order_[place])];
}

void DiffSection::Refresh() {
  order_.clear();
  sortColumn_ = -1;
  descending_ = false;
}

bool DiffSection::SortBy(int column) {
  if (!HasRows() || column < 0 || column >= ColumnCount()) return false;
  descending_ = column == sortColumn_ && !descending_;
  sortColumn_ = column;
  const std::vector<DiffRow>& rows = comparison_->Diff.Rows;
  order_.resize(rows.size());
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int32_t>(i);
  // Figures sort as numbers, an unknown one below every number; the words by their bytes. Rows that
  // compare equal keep the order of the comparison, in both directions.
  auto figure = [column](const DiffRow& r) {
    const std::optional<double>& v = column == kBaselineColumn  ? r.Baseline
                                     : column == kCurrentColumn ? r.Current
                                                                : r.Change;
    return v ? *v : -std::numeric_limits<double>::infinity();
  };
  std::vector<std::string> words;
  if (column <= kItemColumn) {
    order_.clear();  // CellText reads the rows in their own order while the words are taken
    for (std::size_t i = 0; i < rows.size(); ++i) words.push_back(CellText(column, static_cast<int>(i) + 1));
    for (std::size_t i = 0; i < rows.size(); ++i) order_.push_back(static_cast<int32_t>(i));
  }
  std::stable_sort(order_.begin(), order_.end(), [&](int32_t a, int32_t b) {
    const auto x = static_cast<std::size_t>(a), y = static_cast<std::size_t>(b);
    if (column <= kItemColumn) return descending_ ? words[y] < words[x] : words[x] < words[y];
    return descending_ ? figure(rows[y]) < figure(rows[x]) : figure(rows[x]) < figure(rows[y]);
  });
  return true;
}

int DiffSection::SortMark(int column) const {
  if (order_.empty() || column != sortColumn_) return 0;
  return descending_ ? -1 : 1;
}

ElementCover DiffSection::RowCover(int row) const {
  if (!HasRows() || row < 1 || row >= RowCount()) return {};
  const DiffRow& diff = RowAt(row);
  // A figure that rose marks the elements behind it in this count; one that fell has nothing left to mark.
  if (!diff.Change || *diff.Change <= 0) return {};
  ElementCover cover;
  cover.Label = HeadText(diff) + " " + ItemText(diff);
  cover.Count = diff.Elements;
  if (diff.Row >= 0) {
    cover.From = ElementCover::Source::kCountRow;
    cover.Table = FindCountTable(diff.Section)->Which;
    cover.Row = diff.Row;
    const int first = diff.Column == DiffRow::kLengthColumn ? kLengthFirstColumn
                      : diff.Column == DiffRow::kAreaColumn ? kAreaFirstColumn
                                                            : diff.Column;
    const int last = diff.Column == DiffRow::kLengthColumn ? kLengthLastColumn
                     : diff.Column == DiffRow::kAreaColumn ? kAreaLastColumn
                                                           : diff.Column;
    for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind)
      if (KindColumn(kind) >= first && KindColumn(kind) <= last) cover.Kinds |= uint32_t{1} << kind;
  } else if (diff.Section == "blocks" || diff.Section == "texts") {
    cover.From =
        diff.Section == "blocks" ? ElementCover::Source::kBlockName : ElementCover::Source::kTextContent;
    cover.Name = diff.Name;
  } else if (diff.Section == "checks") {
    const CheckPath path = ParseCheckPath(diff.Head);
    // The duplicates with a twin on their own layer are no set of elements of their own.
    if (path.Check == nullptr || path.Part == "same_layer") return {};
    cover.From = ElementCover::Source::kCheck;
    cover.Check = path.Check->Id;
    cover.Kind = path.Kind;
  } else {
    return {};  // a section written from its grid counts no elements of its own
  }
  return cover;
}

int DiffSection::RowCount() const {
  return HasRows() ? static_cast<int>(comparison_->Diff.Rows.size()) + 1 : 1;
}

std::string DiffSection::CellText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) return {};
  if (row == 0) return std::string(kHeads[column]);
  const DiffRow& diff = RowAt(row);
  switch (column) {
    case kSectionColumn:
      return std::string(SectionName(diff.Section));
    case kHeadColumn:
      return HeadText(diff);
    case kItemColumn:
      return ItemText(diff);
    case kBaselineColumn:
      return Figure(diff, diff.Baseline, false);
    case kCurrentColumn:
      return Figure(diff, diff.Current, false);
    default:
      return Figure(diff, diff.Change, true);
  }
}

int DiffSection::ColumnWidth(int column) const {
  constexpr int kWidths[] = {104, 160, 88, 80, 80, 80};  // 表 holds レイヤグループ whole
  return column >= 0 && column < ColumnCount() ? kWidths[column] : 0;
}

std::string DiffFigure(const std::optional<double>& value, bool quantity, bool signedChange) {
  if (!value) return "?";
  char buffer[64];
  const char* sign = signedChange && *value > 0 ? "+" : "";
  if (quantity) {
    std::snprintf(buffer, sizeof buffer, "%s%.3f", sign, *value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%s%" PRId64, sign, static_cast<int64_t>(*value));
  }
  return buffer;
}

void DiffSection::WriteJsonValue(JsonWriter& json) const {
  if (comparison_ == nullptr) return;
  const CountDiff& diff = comparison_->Diff;
  json.BeginObject();
  json.Key("baseline");
  WriteInfo(json, diff.Baseline);
  json.Key("current");
  WriteInfo(json, diff.Current);
  json.Field("range_differs", diff.RangeDiffers);
  json.Key("rows");
  json.BeginArray();
  for (const DiffRow& row : diff.Rows) {
    json.Newline();
    json.BeginObject();
    json.Key("section");
    json.Literal(JsonText(row.Section));
    json.Key("row");
    json.Literal(row.Row >= 0 ? std::to_string(row.Row) : "null");
    json.Key("head");
    json.Literal(JsonText(row.Head));
    if (!row.Bytes.empty() || row.Section == "blocks" || row.Section == "texts") {
      json.Key("bytes");
      json.Literal(JsonText(row.Bytes));
    }
    json.Key("item");
    json.Literal(JsonText(row.Item));
    json.Key("baseline");
    json.Literal(JsonFigure(row.Baseline, row.Quantity));
    json.Key("current");
    json.Literal(JsonFigure(row.Current, row.Quantity));
    json.Key("change");
    json.Literal(JsonFigure(row.Change, row.Quantity));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void DiffSection::WriteText(SectionText& out) const {
  if (comparison_ == nullptr) return;
  const std::string notice = BaselineLine();
  if (!HasRows()) {
    out.Line(kDiffTitle);
    if (!notice.empty()) out.Line(notice);
    out.Line(Message());
    return;
  }
  std::vector<std::vector<std::string>> rows;
  for (int row = 0; row < RowCount(); ++row) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (int column = 0; column < ColumnCount(); ++column) cells.push_back(out.Name(CellText(column, row)));
  }
  out.Table(kDiffTitle, rows);
  out.Line(notice);
}

// One record per row: the table and the row's head, the item, and the change.
void DiffSection::WriteCsv(SectionCsv& out) const {
  if (!HasRows()) return;
  for (int row = 1; row < RowCount(); ++row) {
    out.Record(kDiffTitle, CellText(kSectionColumn, row), CellText(kHeadColumn, row),
               CellText(kItemColumn, row), CellText(kChangeColumn, row));
  }
}

void DiffSection::WriteSheet(SectionSheet& out) const {
  if (out.Member != Id() || comparison_->State != CountComparison::Outcome::kCompared) return;
  std::vector<std::string> heads;
  for (int column = 0; column < ColumnCount(); ++column) heads.push_back(CellText(column, 0));
  out.Begin(Title(), heads);
  if (!HasRows()) return;
  for (int row = 1; row < RowCount(); ++row) {
    const DiffRow& diff = RowAt(row);
    for (int column = kSectionColumn; column <= kItemColumn; ++column) out.Text(CellText(column, row));
    const bool measure = diff.Column == DiffRow::kLengthColumn || diff.Column == DiffRow::kAreaColumn;
    const double scale = !measure ? 1 : diff.Column == DiffRow::kAreaColumn ? 1e-6 : 1e-3;
    for (const std::optional<double>& value : {diff.Baseline, diff.Current, diff.Change}) {
      if (value)
        out.Figure(*value * scale, diff.Quantity ? 3 : 0);
      else
        out.Blank();
    }
    out.EndRow();
  }
}

}  // namespace jwcount
