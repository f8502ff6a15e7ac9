#include "report/CountDiff.h"

#include <charconv>
#include <cmath>
#include <exception>
#include <map>
#include <nlohmann/json.hpp>

#include "text/ShiftJis.h"

#ifndef JWCOUNT_VERSION
#define JWCOUNT_VERSION "0.0.0"
#endif

namespace jwcount {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kTableIds[] = {"SG1", "SG2", "SG3", "SG4", "SG5"};
constexpr std::string_view kLengthItem = "長さ(mm)";
constexpr std::string_view kAreaItem = "面積(mm2)";
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

CountSnapshot::Table ReadTable(const Json& report, std::string_view id) {
  const std::string key(id);
  const std::string where = "$.tables." + key;
  const Json& rows = Member(Member(report, "tables", "$"), key.c_str(), "$.tables");
  const Json& quantities = Member(Member(report, "quantities", "$"), key.c_str(), "$.quantities");
  const Json& lengths = Member(quantities, "length", "$.quantities." + key);
  const Json& areas = Member(quantities, "area", "$.quantities." + key);
  if (!rows.is_array() || !lengths.is_array() || !areas.is_array() || lengths.size() != rows.size() ||
      areas.size() != rows.size() || rows.empty())
    throw WrongShape{where + " and its lengths and areas differ in rows"};
  CountSnapshot::Table table;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const Json& row = rows[r];
    if (!row.is_array() || row.size() != rows[0].size()) throw WrongShape{where + " has a ragged row"};
    std::vector<std::string>& cells = table.Cells.emplace_back();
    for (const Json& cell : row) {
      if (!cell.is_string()) throw WrongShape{where + " has a cell that is no text"};
      cells.push_back(cell.get<std::string>());
    }
    table.Length.push_back(Figure(lengths[r], "$.quantities." + key + ".length"));
    table.Area.push_back(Figure(areas[r], "$.quantities." + key + ".area"));
  }
  return table;
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

std::vector<std::pair<std::string, int64_t>> ReadChecks(const Json& report) {
  const Json& checks = Member(report, "checks", "$");
  const Json& duplicates = Member(checks, "duplicates", "$.checks");
  std::vector<std::pair<std::string, int64_t>> out;
  out.emplace_back("duplicates.total",
                   WholeNumber(Member(duplicates, "total", "$.checks.duplicates"), "total"));
  out.emplace_back("duplicates.same_layer",
                   WholeNumber(Member(duplicates, "same_layer", "$.checks.duplicates"), "same_layer"));
  const Json& byKind = Member(duplicates, "by_kind", "$.checks.duplicates");
  if (!byKind.is_array() || byKind.size() != 15)
    throw WrongShape{"$.checks.duplicates.by_kind is no 15 counts"};
  for (std::size_t k = 0; k < 15; ++k)
    out.emplace_back("duplicates.by_kind." + std::to_string(k + 1), WholeNumber(byKind[k], "by_kind"));
  for (const char* key : {"zero_length_lines", "zero_radius", "empty_texts"})
    out.emplace_back(key, WholeNumber(Member(checks, key, "$.checks"), key));
  return out;
}

// The first number of a version ("1.0.0" gives 1); -1 for none.
int MajorVersion(std::string_view version) {
  int major = -1;
  std::from_chars(version.data(), version.data() + version.size(), major);
  return major;
}

// A count cell: blank counts 0.
int64_t CellCount(const std::vector<std::vector<std::string>>& cells, std::size_t row, std::size_t column) {
  if (row >= cells.size() || column >= cells[row].size()) return 0;
  int64_t value = 0;
  const std::string& text = cells[row][column];
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

void CompareQuantity(const std::optional<double>& before, const std::optional<double>& now, DiffRow row,
                     std::vector<DiffRow>& rows) {
  const bool same = before.has_value() && now.has_value() ? *before == *now : false;
  if (same || (!before && !now)) return;
  row.Quantity = true;
  row.Baseline = before;
  row.Current = now;
  if (before && now) row.Change = *now - *before;
  rows.push_back(std::move(row));
}

void CompareCount(int64_t before, int64_t now, DiffRow row, std::vector<DiffRow>& rows) {
  if (before == now) return;
  row.Baseline = static_cast<double>(before);
  row.Current = static_cast<double>(now);
  row.Change = static_cast<double>(now - before);
  rows.push_back(std::move(row));
}

void CompareTable(std::string_view id, const CountSnapshot::Table& before, const CountSnapshot::Table& now,
                  std::vector<DiffRow>& rows) {
  const std::size_t rowCount = std::max(before.Cells.size(), now.Cells.size());
  const std::vector<std::string>& heads = now.Cells.empty() ? before.Cells[0] : now.Cells[0];
  for (std::size_t r = 1; r < rowCount; ++r) {
    const auto& source = r < now.Cells.size() ? now : before;
    DiffRow row;
    row.Section = std::string(id);
    row.Row = static_cast<int>(r);
    row.Head = source.Cells[r].empty() ? std::string() : source.Cells[r][0];
    for (std::size_t c = 1; c < heads.size(); ++c) {
      row.Item = heads[c];
      CompareCount(CellCount(before.Cells, r, c), CellCount(now.Cells, r, c), row, rows);
    }
    auto at = [r](const std::vector<std::optional<double>>& v) {
      return r < v.size() ? v[r] : std::optional<double>(0.0);
    };
    row.Item = std::string(kLengthItem);
    CompareQuantity(at(before.Length), at(now.Length), row, rows);
    row.Item = std::string(kAreaItem);
    CompareQuantity(at(before.Area), at(now.Area), row, rows);
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
    row.Bytes = Hex(bytes);
    row.Item = std::string(kCountItem);
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
  try {
    report = Json::parse(text);
  } catch (const Json::parse_error& e) {
    // A text that ends where a value was still open was cut short; anything else is no JSON.
    read.Error = e.byte >= text.size() ? SnapshotError::kCut : SnapshotError::kNotJson;
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
    for (std::size_t t = 0; t < 5; ++t) read.Snapshot.Tables[t] = ReadTable(report, kTableIds[t]);
    read.Snapshot.Blocks = ReadNames(report, "blocks", "name");
    read.Snapshot.Texts = ReadNames(report, "texts", "text");
    read.Snapshot.Checks = ReadChecks(report);
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

CountDiff CompareCounts(const CountSnapshot& baseline, const CountSnapshot& current) {
  CountDiff diff;
  diff.Baseline = baseline.Info;
  diff.Current = current.Info;
  diff.RangeDiffers =
      baseline.Info.Range && current.Info.Range && *baseline.Info.Range != *current.Info.Range;
  for (std::size_t t = 0; t < 5; ++t)
    CompareTable(kTableIds[t], baseline.Tables[t], current.Tables[t], diff.Rows);
  CompareNames("blocks", baseline.Blocks, current.Blocks, diff.Rows);
  CompareNames("texts", baseline.Texts, current.Texts, diff.Rows);
  for (std::size_t i = 0; i < current.Checks.size() && i < baseline.Checks.size(); ++i) {
    DiffRow row;
    row.Section = "checks";
    row.Head = current.Checks[i].first;
    row.Item = std::string(kCountItem);
    CompareCount(baseline.Checks[i].second, current.Checks[i].second, row, diff.Rows);
  }
  return diff;
}

}  // namespace jwcount
