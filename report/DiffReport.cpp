#include "report/DiffReport.h"

#include <cinttypes>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "report/CsvWriter.h"
#include "text/Utf8Text.h"

namespace jwcount {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kHeads[] = {"表", "行", "項目", "基準", "今回", "増減"};

std::vector<std::string> Cells(const DiffRow& row) {
  return {row.Section,
          row.RowName.empty() ? row.Head : row.Head + " " + row.RowName,
          row.Item,
          DiffFigure(row.Baseline, row.Quantity, false),
          DiffFigure(row.Current, row.Quantity, false),
          DiffFigure(row.Change, row.Quantity, true)};
}

std::string InfoText(std::string_view what, const BaselineInfo& info) {
  std::string text(what);
  text += ": ";
  text += info.File ? *info.File : "?";
  if (info.Time) text += " (" + *info.Time + ")";
  return text;
}

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
  out.Append(InfoText("基準", diff.Baseline) + "\n");
  out.Append(InfoText("今回", diff.Current) + "\n");
  if (diff.RangeDiffers)
    out.Append("注意: 基準と今回とで範囲選択が違います。別の範囲の拾い出しは改訂ではありません。\n");
  if (diff.Rows.empty()) {
    out.Append("基準と同じ\n");
    return;
  }
  std::vector<std::vector<std::string>> rows;
  rows.emplace_back(std::begin(kHeads), std::end(kHeads));
  for (const DiffRow& row : diff.Rows) rows.push_back(Cells(row));
  std::vector<std::size_t> widths(rows[0].size(), 0);
  for (const auto& cells : rows)
    for (std::size_t c = 0; c < cells.size(); ++c)
      widths[c] = std::max(widths[c], Utf8Text::Columns(cells[c]));
  for (const auto& cells : rows) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::string pad(widths[c] - Utf8Text::Columns(cells[c]), ' ');
      if (c > 0) line += "  ";
      line += c >= 3 ? pad + cells[c] : cells[c] + (c + 1 < cells.size() ? pad : "");
    }
    out.Append(line + "\n");
  }
}

void WriteDiffCsv(OutputBuffer& out, const CountDiff& diff) {
  std::string csv(kUtf8ByteOrderMark);
  // The names pass the formula guard; the figures are numbers, written as they are.
  auto line = [&csv](const std::vector<std::string>& cells, std::size_t firstFigure) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) csv += ',';
      if (c < firstFigure)
        AppendCsvField(csv, cells[c]);
      else
        csv += cells[c];
    }
    csv += kCsvLineEnd;
  };
  line({std::begin(kHeads), std::end(kHeads)}, std::size(kHeads));
  for (const DiffRow& row : diff.Rows) line(Cells(row), 3);
  out.Append(csv);
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
