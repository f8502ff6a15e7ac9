// The JSON report: the labels, status texts, count tables, block and text lists, layer names, lengths and
// areas and checks, each under its own key, and, when the report asks for it, the reader state after the
// read (report/StateJson.h).
#include "report/JsonReport.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <vector>

#include "report/CountDiff.h"
#include "report/CountSection.h"
#include "report/JsonWriter.h"
#include "report/StateJson.h"

namespace jwcount {
namespace {

// A count table as an array of rows, each row an array of the cell texts its page shows, on a line of
// its own.
void WriteTable(JsonWriter& json, const GridSource& table) {
  json.BeginArray();
  for (int row = 0; row < table.RowCount(); ++row) {
    json.Newline();
    json.BeginArray();
    for (int column = 0; column < table.ColumnCount(); ++column) json.Text(table.CellText(column, row));
    json.EndArray();
  }
  json.EndArray();
}

void WriteTables(JsonWriter& json, const CountTables& tables, const DrawingState& drawing) {
  json.Key("tables");
  json.BeginObject();
  for (const CountTableRow& table : kCountTableList) {
    json.Newline();
    json.Key(table.Id);
    WriteTable(json, CountSection(table.Of(tables), drawing, table.Which));
  }
  json.EndObject();
}

// Elements by a name they carry (block insertions by name, texts by content): the name as shown under
// `nameKey`, its exact bytes and its count, one entry per line.
void WriteNameCounts(JsonWriter& json, std::string_view key, std::string_view nameKey,
                     const NameCountTable& table) {
  json.Key(key);
  json.BeginArray();
  for (const NameCountRow& row : table.Rows()) {
    json.Newline();
    json.BeginObject();
    json.TextField(nameKey, row.Name);
    json.HexField("bytes", row.Name);
    json.Field("count", row.Count);
    json.EndObject();
  }
  json.EndArray();
}

void WriteChecks(JsonWriter& json, const DrawingChecks& checks) {
  json.Key("checks");
  json.BeginObject();
  for (const CheckListRow& check : kCheckList) {
    if (!check.ByKind) {
      json.Field(check.JsonKey, check.Of(checks).Count);
      continue;
    }
    json.Key(check.JsonKey);
    json.BeginObject();
    json.Field("total", check.Of(checks).Count);
    json.Field("same_layer", checks.SameLayer);
    std::array<int32_t, 15> byKind{};
    for (std::size_t k = 0; k < byKind.size(); ++k) byKind[k] = checks.DuplicatesByKind[k].Count;
    json.ArrayField("by_kind", byKind);
    json.EndObject();
  }
  json.EndObject();
}

// Lengths (mm) and areas (mm²) of every row of every table, head and separator rows 0, a sum beyond the
// range of a double null.
void WriteQuantities(JsonWriter& json, const CountTables& tables) {
  json.Key("quantities");
  json.BeginObject();
  std::vector<double> lengths;
  std::vector<double> areas;
  for (const CountTableRow& table : kCountTableList) {
    lengths.clear();
    areas.clear();
    for (int row = 0; row < table.Of(tables).RowCount(); ++row) {
      const RowQuantities q = table.Of(tables).Quantities(row);
      lengths.push_back(q.Length);
      areas.push_back(q.Area);
    }
    json.Newline();
    json.Key(table.Id);
    json.BeginObject();
    json.ArrayField("length", lengths);
    json.Newline();
    json.ArrayField("area", areas);
    json.EndObject();
  }
  json.EndObject();
}

void WriteNames(JsonWriter& json, const DrawingState& d) {
  json.Key("names");
  json.BeginObject();
  json.Newline();
  json.TextArrayField("groups", d.GroupNames);
  json.Newline();
  json.TextArrayField("layers", d.LayerNames);
  json.EndObject();
}

// The member a kept baseline adds: which drawing, when, over which range, by which version.
void WriteBaselineStamp(JsonWriter& json, const DrawingState& drawing, std::string_view time) {
  json.Key("baseline");
  json.BeginObject();
  json.TextField("file", drawing.FileName);
  json.Key("time");
  if (time.empty()) {
    json.Real(std::numeric_limits<double>::quiet_NaN());  // null
  } else {
    json.Text(time);  // ASCII
  }
  json.Key("range");
  const bool noRange =
      std::all_of(drawing.HnValues.begin(), drawing.HnValues.end(), [](double v) { return v == 0; });
  if (noRange) {
    json.Real(std::numeric_limits<double>::quiet_NaN());  // null
  } else {
    json.Array(drawing.HnValues);
  }
  json.Key("version");
  json.Text(JwcountVersion());
  json.EndObject();
}

// The report, and with `baselineTime` the member of a kept baseline.
void WriteReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                 const std::string_view* baselineTime) {
  JsonWriter json(out, utf8);
  json.BeginObject();
  json.Field("read_ok", report.ReadOk);
  json.Newline();
  json.ArrayField("summary", report.Summary);
  json.Newline();
  json.TextArrayField("labels", report.Labels);
  json.Newline();
  json.TextArrayField("status", report.Statuses);
  json.Newline();
  WriteTables(json, report.Tables, report.State.Drawing);
  json.Newline();
  WriteNameCounts(json, "blocks", "name", report.Tables.Blocks);
  json.Newline();
  WriteNames(json, report.State.Drawing);
  json.Newline();
  WriteQuantities(json, report.Tables);
  json.Newline();
  WriteNameCounts(json, "texts", "text", report.Tables.Texts);
  json.Newline();
  WriteChecks(json, report.Tables.Checks);
  if (report.ShowState) {
    json.Newline();
    json.Key("state");
    WriteStateJson(json, report.State, reader);
  }
  if (baselineTime != nullptr) {
    json.Newline();
    WriteBaselineStamp(json, report.State.Drawing, *baselineTime);
  }
  json.EndObject();
  out.Append('\n');
}

}  // namespace

void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader) {
  WriteReport(out, utf8, report, reader, nullptr);
}

void WriteBaselineFile(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                       std::string_view time) {
  WriteReport(out, utf8, report, reader, &time);
}

}  // namespace jwcount
