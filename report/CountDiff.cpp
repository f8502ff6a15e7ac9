#include "report/CountDiff.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <map>
#include <nlohmann/json.hpp>

#include "counting/CheckList.h"
#include "counting/CountTable.h"
#include "report/CountReport.h"
#include "report/SectionList.h"
#include "report/TakeoffSection.h"
#include "text/ShiftJis.h"
#include "text/Utf8Text.h"

#ifndef JWCOUNT_VERSION
#define JWCOUNT_VERSION "0.0.0"
#endif

namespace jwcount {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kLengthItem = "長さ(mm)";
constexpr std::string_view kAreaItem = "面積(mm2)";
constexpr std::string_view kSheetQuantityItem = "数量";
constexpr std::string_view kSheetAmountItem = "金額";
constexpr std::string_view kSheetHeadSeparator = "／";
constexpr std::string_view kCountItem = "数";

// A report that is not of the shape this version writes.
struct WrongShape {
  std::string where;
};

const Json& Member(const Json& object, const char* key, const std::string& where) {
  if (!object.is_object() || !object.contains(key)) throw WrongShape{where + "." + key + " is missing"};
  return object.at(key);
}

int64_t WholeNumber(const Json& value, const std::string& where) {
  if (!value.is_number_integer()) throw WrongShape{where + " is no whole number"};
  return value.get<int64_t>();
}

std::optional<double> Figure(const Json& value, const std::string& where) {
  if (value.is_null()) return std::nullopt;
  if (!value.is_number()) throw WrongShape{where + " is no number"};
  return value.get<double>();
}

std::optional<std::string> OptionalText(const Json& object, const char* key, const std::string& where) {
  if (!object.contains(key) || object.at(key).is_null()) return std::nullopt;
  if (!object.at(key).is_string()) throw WrongShape{where + "." + key + " is no text"};
  return object.at(key).get<std::string>();
}

std::string HexBytes(const std::string& hex, const std::string& where) {
  if (hex.size() % 2 != 0) throw WrongShape{where + " has an odd number of hex digits"};
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
    if (error != std::errc{} || end != hex.data() + i + 2) throw WrongShape{where + " is no hex"};
    bytes.push_back(static_cast<char>(value));
  }
  return bytes;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 15]);
  }
  return hex;
}

// A count cell: blank counts 0; anything but digits is no count.
int64_t CellCount(const std::string& text, const std::string& where) {
  if (text.empty()) return 0;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 0)
    throw WrongShape{where + " has a count that is no number: " + text};
  return value;
}

BaselineInfo ReadInfo(const Json& report) {
  BaselineInfo info;
  if (!report.contains("baseline")) return info;
  const Json& b = report.at("baseline");
  if (!b.is_object()) throw WrongShape{"$.baseline is no object"};
  info.File = OptionalText(b, "file", "$.baseline");
  info.Time = OptionalText(b, "time", "$.baseline");
  info.Version = OptionalText(b, "version", "$.baseline");
  if (b.contains("range") && !b.at("range").is_null()) {
    const Json& range = b.at("range");
    if (!range.is_array() || range.size() != 4) throw WrongShape{"$.baseline.range is no four numbers"};
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < 4; ++i) {
      if (!range[i].is_number()) throw WrongShape{"$.baseline.range is no four numbers"};
      values[i] = range[i].get<double>();
    }
    info.Range = values;
  }
  return info;
}

// The rows of the count tables as the parser meets them. A table of widths has 30,004 rows of 14 texts: kept
// as parsed values they would cost hundreds of thousands of small allocations, so each row is taken into
// the table's counts and heads as soon as it is parsed, and dropped.
struct TableRows {
  std::array<CountSnapshot::Table, 5> Tables;
  std::string Problem;  // the first row of the wrong shape

  void Take(std::size_t t, const Json& row) {
    if (!Problem.empty()) return;
    const std::string where = "$.tables." + std::string(kCountTableList[t].Id);
    CountSnapshot::Table& table = Tables[t];
    if (!row.is_array() || row.size() != CountSnapshot::kCountColumns + 1) {
      Problem = where + " has a row of other than 14 cells";
      return;
    }
    for (const Json& cell : row) {
      if (!cell.is_string()) {
        Problem = where + " has a cell that is no text";
        return;
      }
    }
    try {
      std::array<int64_t, CountSnapshot::kCountColumns>& counts = table.Counts.emplace_back();
      if (table.ColumnHeads.empty()) {
        for (const Json& cell : row) table.ColumnHeads.push_back(cell.get<std::string>());
      } else {
        for (std::size_t c = 1; c < row.size(); ++c)
          counts[c - 1] = CellCount(row[c].get_ref<const std::string&>(), where);
      }
      table.RowHeads.push_back(row[0].get<std::string>());
    } catch (const WrongShape& wrong) {
      Problem = wrong.where;
    }
  }
};

// The index of a count table's id, or -1.
int TableIndex(const std::string& id) {
  for (std::size_t t = 0; t < kCountTableList.size(); ++t)
    if (kCountTableList[t].Id == id) return static_cast<int>(t);
  return -1;
}

// Parses the report, taking the rows of the count tables into `rows` on the way (see TableRows).
Json ParseReport(std::string_view text, TableRows& rows) {
  std::string topKey;
  int table = -1;
  const Json::parser_callback_t take = [&](int depth, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::key) {
      if (depth == 1) topKey = parsed.is_string() ? parsed.get<std::string>() : std::string();
      if (depth == 2)
        table = topKey == "tables" && parsed.is_string() ? TableIndex(parsed.get<std::string>()) : -1;
      return true;
    }
    if (depth == 3 && table >= 0 && topKey == "tables" &&
        (event == Json::parse_event_t::array_end || event == Json::parse_event_t::value)) {
      rows.Take(static_cast<std::size_t>(table), parsed);
      return false;
    }
    return true;
  };
  return Json::parse(text, take);
}

// A count table: its rows as ParseReport took them, with the lengths and areas of the report.
CountSnapshot::Table ReadTable(const Json& report, std::size_t t, TableRows& rows) {
  const std::string key(kCountTableList[t].Id);
  const std::string where = "$.tables." + key;
  Member(Member(report, "tables", "$"), key.c_str(), "$.tables");
  if (!rows.Problem.empty()) throw WrongShape{rows.Problem};
  CountSnapshot::Table table = std::move(rows.Tables[t]);
  const Json& quantities = Member(Member(report, "quantities", "$"), key.c_str(), "$.quantities");
  const Json& lengths = Member(quantities, "length", "$.quantities." + key);
  const Json& areas = Member(quantities, "area", "$.quantities." + key);
  if (!lengths.is_array() || !areas.is_array() || lengths.size() != table.Counts.size() ||
      areas.size() != table.Counts.size() || table.Counts.empty())
    throw WrongShape{where + " and its lengths and areas differ in rows"};
  for (std::size_t r = 0; r < table.Counts.size(); ++r) {
    table.Length.push_back(Figure(lengths[r], "$.quantities." + key + ".length"));
    table.Area.push_back(Figure(areas[r], "$.quantities." + key + ".area"));
  }
  return table;
}

std::vector<std::string> ReadTexts(const Json& list, std::size_t size, const std::string& where) {
  if (!list.is_array() || list.size() != size)
    throw WrongShape{where + " is no list of " + std::to_string(size)};
  std::vector<std::string> texts;
  for (const Json& text : list) {
    if (!text.is_string()) throw WrongShape{where + " holds other than texts"};
    texts.push_back(text.get<std::string>());
  }
  return texts;
}

std::vector<CountSnapshot::Name> ReadNames(const Json& report, const char* list, const char* nameKey) {
  const std::string where = std::string("$.") + list;
  const Json& names = Member(report, list, "$");
  if (!names.is_array()) throw WrongShape{where + " is no list"};
  std::vector<CountSnapshot::Name> out;
  for (const Json& entry : names) {
    Member(entry, nameKey, where);
    const Json& bytes = Member(entry, "bytes", where);
    if (!bytes.is_string()) throw WrongShape{where + ".bytes is no text"};
    out.push_back({HexBytes(bytes.get<std::string>(), where + ".bytes"),
                   WholeNumber(Member(entry, "count", where), where + ".count")});
  }
  return out;
}

// The checks' numbers by their key paths, in the order of the report: a check's number under its key;
// one told by kind under its key's "total", "same_layer" and "by_kind.K".
std::vector<std::pair<std::string, int64_t>> ReadChecks(const Json& report) {
  const Json& checks = Member(report, "checks", "$");
  std::vector<std::pair<std::string, int64_t>> out;
  for (const CheckListRow& check : kCheckList) {
    const std::string key(check.JsonKey);
    if (!check.ByKind) {
      out.emplace_back(key, WholeNumber(Member(checks, key.c_str(), "$.checks"), key));
      continue;
    }
    const std::string where = "$.checks." + key;
    const Json& split = Member(checks, key.c_str(), "$.checks");
    out.emplace_back(key + ".total", WholeNumber(Member(split, "total", where), "total"));
    out.emplace_back(key + ".same_layer", WholeNumber(Member(split, "same_layer", where), "same_layer"));
    const Json& byKind = Member(split, "by_kind", where);
    if (!byKind.is_array() || byKind.size() != kKindNames.size())
      throw WrongShape{where + ".by_kind is no 15 counts"};
    for (std::size_t k = 0; k < kKindNames.size(); ++k)
      out.emplace_back(key + ".by_kind." + std::to_string(k + 1), WholeNumber(byKind[k], "by_kind"));
  }
  return out;
}

std::vector<std::pair<std::string, int64_t>> ChecksOf(const DrawingChecks& checks) {
  std::vector<std::pair<std::string, int64_t>> out;
  for (const CheckListRow& check : kCheckList) {
    const std::string key(check.JsonKey);
    if (!check.ByKind) {
      out.emplace_back(key, check.Of(checks).Count);
      continue;
    }
    out.emplace_back(key + ".total", check.Of(checks).Count);
    out.emplace_back(key + ".same_layer", checks.SameLayer);
    for (std::size_t k = 0; k < checks.DuplicatesByKind.size(); ++k)
      out.emplace_back(key + ".by_kind." + std::to_string(k + 1), checks.DuplicatesByKind[k].Count);
  }
  return out;
}

// The first number of a version ("1.0.0" gives 1); -1 for none.
int MajorVersion(std::string_view version) {
  int major = -1;
  std::from_chars(version.data(), version.data() + version.size(), major);
  return major;
}

// A row is copied only when its figure differs: most figures of a table of 30,004 rows do not.
void CompareQuantity(const std::optional<double>& before, const std::optional<double>& now,
                     const DiffRow& row, std::vector<DiffRow>& rows) {
  const bool same = before.has_value() && now.has_value() ? *before == *now : false;
  if (same || (!before && !now)) return;
  DiffRow& added = rows.emplace_back(row);
  added.Quantity = true;
  added.Baseline = before;
  added.Current = now;
  if (before && now) added.Change = *now - *before;
}

void CompareCount(int64_t before, int64_t now, const DiffRow& row, std::vector<DiffRow>& rows) {
  if (before == now) return;
  DiffRow& added = rows.emplace_back(row);
  added.Baseline = static_cast<double>(before);
  added.Current = static_cast<double>(now);
  added.Change = static_cast<double>(now - before);
}

// The name the drawing gives the layer or group of a row of SG1 or SG2 (UTF-8); "" for other rows.
std::string RowNameOf(const CountSnapshot& snapshot, std::size_t table, int row) {
  const auto name = [](const std::vector<std::string>& names, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < names.size() ? names[static_cast<std::size_t>(i)]
                                                                : std::string();
  };
  if (table == 1) return row >= 1 && row <= kGroupCount ? name(snapshot.GroupNames, row - 1) : std::string();
  if (table != 0 || row < 1 || row >= kSg1TotalRow) return {};
  const int group = (row - 1) / kSg1RowsPerGroup;
  const int place = (row - 1) % kSg1RowsPerGroup;
  if (place < kLayersPerGroup) return name(snapshot.LayerNames, group * kLayersPerGroup + place);
  return place == kLayersPerGroup ? name(snapshot.GroupNames, group) : std::string();
}

void CompareTable(std::size_t t, const CountSnapshot& baseline, const CountSnapshot& current,
                  std::vector<DiffRow>& rows) {
  const CountSnapshot::Table& before = baseline.Tables[t];
  const CountSnapshot::Table& now = current.Tables[t];
  const std::size_t rowCount = std::max(before.Counts.size(), now.Counts.size());
  const CountSnapshot::Table& heads = now.Counts.empty() ? before : now;
  auto count = [](const CountSnapshot::Table& table, std::size_t r, std::size_t c) {
    return r < table.Counts.size() ? table.Counts[r][c] : 0;
  };
  auto figure = [](const std::vector<std::optional<double>>& v, std::size_t r) {
    return r < v.size() ? v[r] : std::optional<double>(0.0);
  };
  for (std::size_t r = 1; r < rowCount; ++r) {
    const CountSnapshot::Table& source = r < now.Counts.size() ? now : before;
    DiffRow row;
    row.Section = std::string(kCountTableList[t].Id);
    row.Row = static_cast<int>(r);
    row.Head = source.RowHeads[r];
    row.RowName = RowNameOf(r < now.Counts.size() ? current : baseline, t, row.Row);
    for (std::size_t c = 0; c < CountSnapshot::kCountColumns; ++c) {
      row.Column = static_cast<int>(c) + 1;
      row.Item = c + 1 < heads.ColumnHeads.size() ? heads.ColumnHeads[c + 1] : std::string();
      row.Elements = count(now, r, c);
      CompareCount(count(before, r, c), count(now, r, c), row, rows);
    }
    auto elements = [&](int first, int last) {
      int64_t sum = 0;
      for (int c = first; c <= last; ++c) sum += count(now, r, static_cast<std::size_t>(c - 1));
      return sum;
    };
    row.Column = DiffRow::kLengthColumn;
    row.Item = std::string(kLengthItem);
    row.Elements = elements(kLengthFirstColumn, kLengthLastColumn);
    CompareQuantity(figure(before.Length, r), figure(now.Length, r), row, rows);
    row.Column = DiffRow::kAreaColumn;
    row.Item = std::string(kAreaItem);
    row.Elements = elements(kAreaFirstColumn, kAreaLastColumn);
    CompareQuantity(figure(before.Area, r), figure(now.Area, r), row, rows);
  }
}

void CompareNames(std::string_view section, const std::vector<CountSnapshot::Name>& before,
                  const std::vector<CountSnapshot::Name>& now, std::vector<DiffRow>& rows) {
  std::map<std::string_view, int64_t> old;
  for (const CountSnapshot::Name& name : before) old[name.Bytes] += name.Count;
  std::map<std::string_view, bool> seen;
  auto compare = [&](const std::string& bytes, int64_t was, int64_t is) {
    DiffRow row;
    row.Section = std::string(section);
    row.Head = ShiftJisToUtf8(bytes);
    row.Name = bytes;
    row.Bytes = Hex(bytes);
    row.Item = std::string(kCountItem);
    row.Elements = is;
    CompareCount(was, is, row, rows);
  };
  for (const CountSnapshot::Name& name : now) {
    if (seen[name.Bytes]) continue;
    seen[name.Bytes] = true;
    const auto it = old.find(name.Bytes);
    compare(name.Bytes, it == old.end() ? 0 : it->second, name.Count);
  }
  for (const CountSnapshot::Name& name : before) {
    if (seen[name.Bytes]) continue;
    seen[name.Bytes] = true;
    compare(name.Bytes, old[name.Bytes], 0);
  }
}

// The members a report holds besides those of the sections written from their grids.
constexpr std::string_view kReportMembers[] = {"read_ok", "summary",  "labels",     "status", "tables",
                                               "blocks",  "names",    "quantities", "texts",  "checks",
                                               "state",   "baseline", "takeoff"};

bool IsGridMember(const std::string& key, const Json& value) {
  if (std::find(std::begin(kReportMembers), std::end(kReportMembers), key) != std::end(kReportMembers))
    return false;
  if (!value.is_array()) return false;
  return std::all_of(value.begin(), value.end(), [](const Json& row) {
    return row.is_array() &&
           std::all_of(row.begin(), row.end(), [](const Json& cell) { return cell.is_string(); });
  });
}

// The sections written from their grids: every other member that holds rows of texts.
std::vector<CountSnapshot::Grid> ReadGrids(const Json& report) {
  std::vector<CountSnapshot::Grid> grids;
  for (const auto& [key, value] : report.items()) {
    if (!IsGridMember(key, value)) continue;
    CountSnapshot::Grid& grid = grids.emplace_back();
    grid.Id = key;
    for (const Json& row : value) grid.Rows.push_back(row.get<std::vector<std::string>>());
  }
  return grids;
}

// The quantity sheet's items, where the report holds a sheet that applied (its unassigned elements are
// given); none otherwise.
std::optional<std::vector<CountSnapshot::SheetItem>> ReadSheet(const Json& report) {
  const auto sheet = report.find("takeoff");
  if (sheet == report.end() || !sheet->is_object()) return std::nullopt;
  const auto unassigned = sheet->find("unassigned");
  if (unassigned == sheet->end() || !unassigned->is_object()) return std::nullopt;
  std::vector<CountSnapshot::SheetItem> items;
  for (const Json& item : Member(*sheet, "items", "$.takeoff")) {
    const std::string where = "$.takeoff.items";
    std::string head = Member(item, "trade", where).get<std::string>();
    for (const char* part : {"name", "spec", "unit"}) {
      head += kSheetHeadSeparator;
      head += Member(item, part, where).get<std::string>();
    }
    items.push_back({head, Figure(Member(item, "quantity", where), where),
                     Figure(Member(item, "amount", where), where),
                     WholeNumber(Member(item, "elements", where), where)});
  }
  return items;
}

const CountSnapshot::SheetItem* FindSheetItem(const std::vector<CountSnapshot::SheetItem>& items,
                                              const std::string& head) {
  for (const CountSnapshot::SheetItem& item : items)
    if (item.Head == head) return &item;
  return nullptr;
}

// Each item's 数量 and 金額 against the baseline's, the current items first in their order, then those
// the baseline alone has.
void CompareSheets(const std::vector<CountSnapshot::SheetItem>& before,
                   const std::vector<CountSnapshot::SheetItem>& now, std::vector<DiffRow>& rows) {
  const CountSnapshot::SheetItem none;
  const auto compare = [&rows, &none](const CountSnapshot::SheetItem* was,
                                      const CountSnapshot::SheetItem* is) {
    const CountSnapshot::SheetItem& current = is != nullptr ? *is : none;
    const CountSnapshot::SheetItem& baseline = was != nullptr ? *was : none;
    DiffRow row;
    row.Section = "takeoff";
    row.Head = is != nullptr ? is->Head : was->Head;
    row.Elements = current.Elements;
    const auto zeroWhereAbsent = [](const CountSnapshot::SheetItem* item, const std::optional<double>& v) {
      return item == nullptr ? std::optional<double>(0) : v;
    };
    row.Item = std::string(kSheetQuantityItem);
    CompareQuantity(zeroWhereAbsent(was, baseline.Quantity), zeroWhereAbsent(is, current.Quantity), row,
                    rows);
    row.Item = std::string(kSheetAmountItem);
    const std::size_t before = rows.size();
    CompareQuantity(zeroWhereAbsent(was, baseline.Amount), zeroWhereAbsent(is, current.Amount), row, rows);
    if (rows.size() > before) rows.back().Quantity = false;  // whole 円
  };
  for (const CountSnapshot::SheetItem& item : now) compare(FindSheetItem(before, item.Head), &item);
  for (const CountSnapshot::SheetItem& item : before)
    if (FindSheetItem(now, item.Head) == nullptr) compare(&item, nullptr);
}

// A cell of a grid as a count: a whole number, or blank for 0; nothing for words.
std::optional<int64_t> GridCount(const std::vector<std::vector<std::string>>& rows, std::size_t row,
                                 std::size_t column) {
  // A row or column the grid lacks counts 0.
  if (row >= rows.size() || column >= rows[row].size()) return 0;
  const std::string& text = rows[row][column];
  if (text.empty()) return 0;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

using GridRows = std::vector<std::vector<std::string>>;

// The heads of a grid's rows (column 0, below row 0) or columns (row 0, after column 0) with their places;
// a head met twice keeps its first place.
std::map<std::string, std::size_t> HeadPlaces(const GridRows& rows, bool columns) {
  std::map<std::string, std::size_t> places;
  if (columns) {
    for (std::size_t c = 1; !rows.empty() && c < rows[0].size(); ++c) places.emplace(rows[0][c], c);
  } else {
    for (std::size_t r = 1; r < rows.size(); ++r) places.emplace(rows[r].empty() ? "" : rows[r][0], r);
  }
  return places;
}

// The heads of both grids in order: the current grid's, then those only the baseline has.
std::vector<std::string> Heads(const GridRows& now, const GridRows& before, bool columns) {
  std::vector<std::string> heads;
  std::map<std::string, bool> seen;
  for (const GridRows* rows : {&now, &before}) {
    const std::size_t count = columns ? (rows->empty() ? 0 : (*rows)[0].size()) : rows->size();
    for (std::size_t i = 1; i < count; ++i) {
      std::string head = columns ? (*rows)[0][i] : (*rows)[i].empty() ? std::string() : (*rows)[i][0];
      if (seen.emplace(head, true).second) heads.push_back(std::move(head));
    }
  }
  return heads;
}

std::size_t PlaceOf(const std::map<std::string, std::size_t>& places, const std::string& head) {
  const auto it = places.find(head);
  return it == places.end() ? std::string::npos : it->second;
}

void CompareGrid(const std::string& id, const GridRows& before, const GridRows& now,
                 std::vector<DiffRow>& rows) {
  const auto rowsNow = HeadPlaces(now, false), rowsBefore = HeadPlaces(before, false);
  const auto columnsNow = HeadPlaces(now, true), columnsBefore = HeadPlaces(before, true);
  const std::vector<std::string> columns = Heads(now, before, true);
  for (const std::string& head : Heads(now, before, false)) {
    const std::size_t rowNow = PlaceOf(rowsNow, head), rowBefore = PlaceOf(rowsBefore, head);
    for (const std::string& column : columns) {
      const std::optional<int64_t> is = GridCount(now, rowNow, PlaceOf(columnsNow, column));
      const std::optional<int64_t> was = GridCount(before, rowBefore, PlaceOf(columnsBefore, column));
      if (!is || !was) continue;  // words
      DiffRow row;
      row.Section = id;
      row.Head = head;
      row.Item = column;
      row.Elements = *is;
      CompareCount(*was, *is, row, rows);
    }
  }
}

const CountSnapshot::Grid* FindGrid(const std::vector<CountSnapshot::Grid>& grids, const std::string& id) {
  for (const CountSnapshot::Grid& grid : grids)
    if (grid.Id == id) return &grid;
  return nullptr;
}

void CompareGrids(const CountSnapshot& baseline, const CountSnapshot& current, std::vector<DiffRow>& rows) {
  const GridRows kNone;
  for (const CountSnapshot::Grid& grid : current.Grids) {
    const CountSnapshot::Grid* before = FindGrid(baseline.Grids, grid.Id);
    CompareGrid(grid.Id, before != nullptr ? before->Rows : kNone, grid.Rows, rows);
  }
  for (const CountSnapshot::Grid& grid : baseline.Grids)
    if (FindGrid(current.Grids, grid.Id) == nullptr) CompareGrid(grid.Id, grid.Rows, kNone, rows);
}

}  // namespace

std::string_view JwcountVersion() {
  return JWCOUNT_VERSION;
}

SnapshotRead ReadSnapshot(std::string_view text) {
  SnapshotRead read;
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    read.Error = SnapshotError::kEmpty;
    return read;
  }
  Json report;
  TableRows rows;
  try {
    report = ParseReport(text, rows);
  } catch (const Json::parse_error& e) {
    // A text that ends where a value was still open was cut short; anything else is no JSON.
    read.Error = e.byte >= text.size() ? SnapshotError::kCut : SnapshotError::kNotJson;
    read.Detail = e.what();
    return read;
  } catch (const std::exception& e) {
    // A number beyond a double, and the like.
    read.Error = SnapshotError::kNotJson;
    read.Detail = e.what();
    return read;
  }
  try {
    if (!report.is_object()) throw WrongShape{"$ is no object"};
    read.Snapshot.Info = ReadInfo(report);
    if (read.Snapshot.Info.Version &&
        MajorVersion(*read.Snapshot.Info.Version) > MajorVersion(JwcountVersion())) {
      read.Error = SnapshotError::kNewerVersion;
      read.Detail = *read.Snapshot.Info.Version;
      return read;
    }
    for (std::size_t t = 0; t < kCountTableList.size(); ++t)
      read.Snapshot.Tables[t] = ReadTable(report, t, rows);
    read.Snapshot.Blocks = ReadNames(report, "blocks", "name");
    read.Snapshot.Texts = ReadNames(report, "texts", "text");
    read.Snapshot.Checks = ReadChecks(report);
    const Json& names = Member(report, "names", "$");
    read.Snapshot.GroupNames = ReadTexts(Member(names, "groups", "$.names"), kGroupCount, "$.names.groups");
    read.Snapshot.LayerNames = ReadTexts(Member(names, "layers", "$.names"), kLayerCount, "$.names.layers");
    read.Snapshot.Grids = ReadGrids(report);
    read.Snapshot.Sheet = ReadSheet(report);
  } catch (const WrongShape& wrong) {
    read = {};
    read.Error = SnapshotError::kWrongShape;
    read.Detail = wrong.where;
  } catch (const std::exception& e) {
    read = {};
    read.Error = SnapshotError::kWrongShape;
    read.Detail = e.what();
  }
  return read;
}

CountSnapshot SnapshotOf(const CountReport& report) {
  return SnapshotOf(report, Sections());
}

CountSnapshot SnapshotOf(const CountReport& report, std::span<const SectionRow> sections) {
  CountSnapshot snapshot;
  Utf8Text utf8;
  auto text = [&utf8](std::string_view shiftJis) {
    std::string out;
    utf8.Append(out, shiftJis);
    return out;
  };
  const DrawingState& drawing = report.State.Drawing;
  snapshot.Info.File = text(drawing.FileName);
  if (std::any_of(drawing.HnValues.begin(), drawing.HnValues.end(), [](double v) { return v != 0; }))
    snapshot.Info.Range = drawing.HnValues;
  snapshot.Info.Version = std::string(JwcountVersion());
  for (const CountTableRow& row : kCountTableList) {
    CountSnapshot::Table& table = snapshot.Tables[static_cast<std::size_t>(row.Which)];
    const CountTable& source = row.Of(report.Tables);
    for (int c = 0; c < CountTable::kColumns; ++c) table.ColumnHeads.push_back(text(source.CellText(c, 0)));
    for (int r = 0; r < source.RowCount(); ++r) {
      table.RowHeads.push_back(text(source.CellText(0, r)));
      std::array<int64_t, CountSnapshot::kCountColumns>& counts = table.Counts.emplace_back();
      if (r > 0)
        for (int c = 1; c < CountTable::kColumns; ++c)
          counts[static_cast<std::size_t>(c - 1)] = source.Count(c, r);
      const RowQuantities q = source.Quantities(r);
      table.Length.push_back(std::isfinite(q.Length) ? std::optional<double>(q.Length) : std::nullopt);
      table.Area.push_back(std::isfinite(q.Area) ? std::optional<double>(q.Area) : std::nullopt);
    }
  }
  for (const NameCountRow& row : report.Tables.Blocks.Rows())
    snapshot.Blocks.push_back({std::string(row.Name), row.Count});
  for (const NameCountRow& row : report.Tables.Texts.Rows())
    snapshot.Texts.push_back({std::string(row.Name), row.Count});
  snapshot.Checks = ChecksOf(report.Tables.Checks);
  for (const std::string& name : drawing.GroupNames) snapshot.GroupNames.push_back(text(name));
  for (const std::string& name : drawing.LayerNames) snapshot.LayerNames.push_back(text(name));
  if (report.Takeoff && report.Takeoff->State == TakeoffResult::Outcome::kApplied) {
    const TakeoffResult& takeoff = *report.Takeoff;
    std::vector<CountSnapshot::SheetItem>& items = snapshot.Sheet.emplace();
    for (const TakeoffItem& item : takeoff.Sheet.Items) {
      const TakeoffItemDef& def = takeoff.Rules.Items[static_cast<std::size_t>(item.Def)];
      const auto figure = [](const std::optional<int64_t>& v, double unit) {
        return v ? std::optional<double>(static_cast<double>(*v) / unit) : std::nullopt;
      };
      items.push_back({text(TakeoffItemHead(def)), figure(item.QuantityMicros, 1e6), figure(item.Amount, 1),
                       item.Elements});
    }
  }
  for (const std::unique_ptr<Section>& section : ReportSections(report, sections)) {
    if (section->HasOwnForm()) continue;
    CountSnapshot::Grid& grid = snapshot.Grids.emplace_back();
    grid.Id = std::string(section->Id());
    for (int r = 0; r < section->RowCount(); ++r) {
      std::vector<std::string>& cells = grid.Rows.emplace_back();
      for (int c = 0; c < section->ColumnCount(); ++c) cells.push_back(text(section->CellText(c, r)));
    }
  }
  return snapshot;
}

CountDiff CompareCounts(const CountSnapshot& baseline, const CountSnapshot& current) {
  CountDiff diff;
  diff.Baseline = baseline.Info;
  diff.Current = current.Info;
  diff.RangeDiffers =
      baseline.Info.Range && current.Info.Range && *baseline.Info.Range != *current.Info.Range;
  for (std::size_t t = 0; t < kCountTableList.size(); ++t) CompareTable(t, baseline, current, diff.Rows);
  CompareNames("blocks", baseline.Blocks, current.Blocks, diff.Rows);
  CompareNames("texts", baseline.Texts, current.Texts, diff.Rows);
  for (std::size_t i = 0; i < current.Checks.size() && i < baseline.Checks.size(); ++i) {
    DiffRow row;
    row.Section = "checks";
    row.Head = current.Checks[i].first;
    row.Item = std::string(kCountItem);
    row.Elements = current.Checks[i].second;
    CompareCount(baseline.Checks[i].second, current.Checks[i].second, row, diff.Rows);
  }
  if (baseline.Sheet && current.Sheet) CompareSheets(*baseline.Sheet, *current.Sheet, diff.Rows);
  CompareGrids(baseline, current, diff.Rows);
  return diff;
}

}  // namespace jwcount
