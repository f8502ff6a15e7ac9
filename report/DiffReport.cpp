#include "report/DiffReport.h"

#include <cinttypes>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "report/CsvWriter.h"
#include "report/DiffSection.h"
#include "text/Utf8Text.h"

namespace jwcount {
namespace {

using Json = nlohmann::ordered_json;

Json InfoJson(const BaselineInfo& info) {
  Json json = Json::object();
  auto optional = [](const std::optional<std::string>& v) { return v ? Json(*v) : Json(nullptr); };
  json["file"] = optional(info.File);
  json["time"] = optional(info.Time);
  json["range"] = info.Range ? Json(*info.Range) : Json(nullptr);
  json["version"] = optional(info.Version);
  return json;
}

Json FigureJson(const std::optional<double>& value, bool quantity) {
  if (!value) return nullptr;
  if (quantity) return *value;
  return static_cast<int64_t>(*value);
}

}  // namespace

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

void WriteDiffText(OutputBuffer& out, const CountDiff& diff) {
  CountComparison comparison;
  comparison.State = CountComparison::Outcome::kCompared;
  comparison.Diff = diff;
  Utf8Text utf8;
  SectionText text(out, utf8);
  DiffSection(&comparison).WriteText(text);
}

void WriteDiffCsv(OutputBuffer& out, const CountDiff& diff) {
  CountComparison comparison;
  comparison.State = CountComparison::Outcome::kCompared;
  comparison.Diff = diff;
  const DiffSection section(&comparison);
  std::vector<std::vector<std::string>> rows = GridRows(section);
  // Nothing differs: the words under the heads, where the grid shows none.
  if (rows.size() == 1) rows.push_back({section.Message(), "", "", "", "", ""});
  out.Append(CsvFile(rows));
}

void WriteDiffJson(OutputBuffer& out, const CountDiff& diff) {
  Json json = Json::object();
  json["baseline"] = InfoJson(diff.Baseline);
  json["current"] = InfoJson(diff.Current);
  json["range_differs"] = diff.RangeDiffers;
  // One row a line, so that a change reads as a line of a text diff too.
  std::string rows = "[";
  for (const DiffRow& row : diff.Rows) {
    Json r = Json::object();
    r["section"] = row.Section;
    r["row"] = row.Row >= 0 ? Json(row.Row) : Json(nullptr);
    r["head"] = row.Head;
    if (!row.Bytes.empty() || row.Section == "blocks" || row.Section == "texts") r["bytes"] = row.Bytes;
    r["item"] = row.Item;
    r["baseline"] = FigureJson(row.Baseline, row.Quantity);
    r["current"] = FigureJson(row.Current, row.Quantity);
    r["change"] = FigureJson(row.Change, row.Quantity);
    rows += rows.size() > 1 ? ",\n" : "\n";
    rows += r.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
  rows += "]";
  json["rows"] = nullptr;
  std::string text = json.dump(-1, ' ', false, Json::error_handler_t::replace);
  text.replace(text.size() - 5, 4, rows);  // the null of "rows" at the end
  out.Append(text);
  out.Append('\n');
}

}  // namespace jwcount
