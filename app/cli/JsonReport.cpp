// The JSON report: summary, labels, status texts, every cell of the five tables, the block names, the
// layer-group and layer names, and on request the reader state after the read.
#include "JsonWriter.h"
#include "Reports.h"

namespace jwcount {
namespace {

void WriteAttrs(JsonWriter& json, const EntityAttributes& a) {
  json.Key("attrs");
  json.BeginArray();
  for (const int32_t v :
       {a.HhpNumber, a.LayerGroup, a.Layer, a.LineColour, a.LineType, a.LineWidth, a.AttributeFlags}) {
    json.Int(v);
  }
  json.EndArray();
}

void WriteReals(JsonWriter& json, std::initializer_list<std::pair<std::string_view, double>> fields) {
  for (const auto& [name, value] : fields) {
    json.Key(name);
    json.Real(value);
  }
}

void WriteRecord(JsonWriter& json, const TJwwEntLine& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("PolylineNo");
  json.Int(r.PolylineNo);
  WriteReals(json, {{"X1", r.X1}, {"Y1", r.Y1}, {"X2", r.X2}, {"Y2", r.Y2}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntCircle& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  WriteReals(json, {{"Param1", r.Param1}, {"Param2", r.Param2}, {"Param3", r.Param3}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntArc& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  WriteReals(json, {{"Param1", r.Param1},
                    {"Param2", r.Param2},
                    {"Param3", r.Param3},
                    {"Param4", r.Param4},
                    {"Param5", r.Param5},
                    {"Param6", r.Param6},
                    {"Param7", r.Param7}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntText& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("TextType");
  json.Int(r.TextType);
  json.Key("CcCode");
  json.Int(r.CcCode);
  json.Key("TextKind");
  json.Int(r.TextKind);
  WriteReals(json, {{"CharWidth", r.CharWidth},
                    {"CharHeight", r.CharHeight},
                    {"CharSpacing", r.CharSpacing},
                    {"Param1", r.Param1},
                    {"Param2", r.Param2},
                    {"Param3", r.Param3},
                    {"Param4", r.Param4}});
  json.Key("FontName");
  json.Hex(r.FontName.View());
  json.Key("Text");
  json.Hex(r.Text.View());
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntPoint& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  WriteReals(json, {{"X", r.X}, {"Y", r.Y}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntMarker& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  WriteReals(json, {{"X", r.X}, {"Y", r.Y}, {"Param1", r.Param1}, {"Param2", r.Param2}});
  json.Key("Param3");
  json.Int(r.Param3);
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntDim& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("DimLine");
  WriteRecord(json, r.DimLine);
  json.Key("DimText");
  WriteRecord(json, r.DimText);
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntBlk& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  WriteReals(json, {{"X", r.X}, {"Y", r.Y}});
  json.Key("BlockText");
  json.Hex(r.BlockText.View());
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntSolidLine& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("SolidColour");
  json.Int(r.SolidColour);
  WriteReals(json, {{"X1", r.X1}, {"Y1", r.Y1}, {"X2", r.X2}, {"Y2", r.Y2}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntSolidTri& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("SolidColour");
  json.Int(r.SolidColour);
  WriteReals(json, {{"X1", r.X1}, {"Y1", r.Y1}, {"X2", r.X2}, {"Y2", r.Y2}, {"X3", r.X3}, {"Y3", r.Y3}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntSolidQuad& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("SolidColour");
  json.Int(r.SolidColour);
  WriteReals(json, {{"X1", r.X1},
                    {"Y1", r.Y1},
                    {"X2", r.X2},
                    {"Y2", r.Y2},
                    {"X3", r.X3},
                    {"Y3", r.Y3},
                    {"X4", r.X4},
                    {"Y4", r.Y4}});
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntSolidCircle& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("SolidColour");
  json.Int(r.SolidColour);
  WriteReals(json, {{"Param1", r.Param1},
                    {"Param2", r.Param2},
                    {"Param3", r.Param3},
                    {"Param4", r.Param4},
                    {"Param5", r.Param5},
                    {"Param6", r.Param6},
                    {"Param7", r.Param7}});
  json.Key("Param8");
  json.Int(r.Param8);
  json.EndObject();
}

void WriteRecord(JsonWriter& json, const TJwwEntSolidRing& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  json.Key("SolidColour");
  json.Int(r.SolidColour);
  WriteReals(json, {{"Param1", r.Param1},
                    {"Param2", r.Param2},
                    {"Param3", r.Param3},
                    {"Param4", r.Param4},
                    {"Param5", r.Param5},
                    {"Param6", r.Param6},
                    {"Param7", r.Param7},
                    {"Param8", r.Param8}});
  json.EndObject();
}

template <class T>
void WriteTextArray(JsonWriter& json, const T& texts) {
  json.BeginArray();
  for (const auto& text : texts) json.Hex(text);
  json.EndArray();
}

template <class T>
void WriteArray(JsonWriter& json, const T& values) {
  json.BeginArray();
  for (const auto& value : values) {
    if constexpr (std::is_floating_point_v<std::decay_t<decltype(value)>>) {
      json.Real(value);
    } else if constexpr (std::is_same_v<std::decay_t<decltype(value)>, bool>) {
      json.Bool(value);
    } else {
      json.Int(value);
    }
  }
  json.EndArray();
}

void WriteDrawing(JsonWriter& json, const DrawingState& d) {
  json.BeginObject();
  json.Key("FileName");
  json.Hex(d.FileName);
  json.Key("HkValue");
  json.Real(d.HkValue);
  json.Key("HsValues");
  WriteArray(json, d.HsValues);
  WriteReals(json, {{"SheetWidth", d.SheetWidth}, {"SheetHeight", d.SheetHeight}});
  json.Key("TextKindTable");
  json.BeginArray();
  for (const TextKindEntry& e : d.TextKindTable) {
    json.BeginObject();
    WriteReals(json,
               {{"CharWidth", e.CharWidth}, {"CharHeight", e.CharHeight}, {"CharSpacing", e.CharSpacing}});
    json.Key("CharColour");
    json.Int(e.CharColour);
    json.EndObject();
  }
  json.EndArray();
  json.Key("BzFlag");
  json.Bool(d.BzFlag);
  json.Key("HnValues");
  WriteArray(json, d.HnValues);
  json.Key("GroupValues");
  WriteArray(json, d.GroupValues);
  json.Key("GroupNames");
  WriteTextArray(json, d.GroupNames);
  json.Key("LayerValues");
  WriteArray(json, d.LayerValues);
  json.Key("LayerNames");
  WriteTextArray(json, d.LayerNames);
  json.Key("HpPoints");
  json.BeginArray();
  for (const HpPoint& p : d.HpPoints) {
    json.BeginObject();
    json.Key("Used");
    json.Bool(p.Used);
    WriteReals(json, {{"X", p.X}, {"Y", p.Y}});
    json.Key("Kind");
    json.Int(p.Kind);
    json.EndObject();
  }
  json.EndArray();
  json.Key("HpCount");
  json.Int(d.HpCount);
  json.Key("LineWidthSeen");
  json.Bool(d.LineWidthSeen);
  json.Key("FirstSeenFlags");
  WriteArray(json, d.FirstSeenFlags);
  for (const auto& [name, value] :
       {std::pair<std::string_view, int32_t>{"FirstLayerGroup", d.FirstLayerGroup},
        {"FirstLayer", d.FirstLayer},
        {"FirstLineColour", d.FirstLineColour},
        {"FirstLineType", d.FirstLineType},
        {"FirstLineWidth", d.FirstLineWidth},
        {"FirstTextKind", d.FirstTextKind}}) {
    json.Key(name);
    json.Int(value);
  }
  WriteReals(json, {{"FirstFreeCharWidth", d.FirstFreeCharWidth},
                    {"FirstFreeCharHeight", d.FirstFreeCharHeight},
                    {"FirstFreeCharSpacing", d.FirstFreeCharSpacing}});
  json.Key("FirstFreeCharColour");
  json.Int(d.FirstFreeCharColour);
  json.Key("FirstFontName");
  json.Hex(d.FirstFontName);
  json.EndObject();
}

void WriteCurrent(JsonWriter& json, const CurrentAttributes& c) {
  json.BeginObject();
  json.Key("attrs");
  WriteArray(json, std::array<int32_t, 7>{c.HhpNumber, c.LayerGroup, c.Layer, c.LineColour, c.LineType,
                                          c.LineWidth, c.AttributeFlags});
  json.Key("TextKind");
  json.Int(c.TextKind);
  WriteReals(json, {{"FreeCharWidth", c.FreeCharWidth},
                    {"FreeCharHeight", c.FreeCharHeight},
                    {"FreeCharSpacing", c.FreeCharSpacing}});
  json.Key("FreeCharColour");
  json.Int(c.FreeCharColour);
  json.Key("CcCode");
  json.Int(c.CcCode);
  json.Key("FontName");
  json.Hex(c.FontName);
  json.Key("PointColour");
  json.Int(c.PointColour);
  json.Key("SolidColour");
  json.Int(c.SolidColour);
  json.Key("PolylineCount");
  json.Int(c.PolylineCount);
  json.Key("InPolyline");
  json.Bool(c.InPolyline);
  json.Key("DimensionPending");
  json.Bool(c.DimensionPending);
  json.Key("PendingDimensionLine");
  WriteRecord(json, c.PendingDimensionLine);
  json.EndObject();
}

void WriteState(JsonWriter& json, const CountReport& report, const JwwGaibu& reader) {
  json.BeginObject();
  json.Key("drawing");
  WriteDrawing(json, report.State.Drawing);
  json.Newline();
  json.Key("current");
  WriteCurrent(json, report.State.Current);
  json.Newline();
  json.Key("index");
  json.BeginArray();
  for (int32_t j = 0; j < reader.Index.Count(); ++j) {
    json.BeginArray();
    json.Int(reader.Index[j].Kind);
    json.Int(reader.Index[j].Position);
    json.EndArray();
  }
  json.EndArray();
  json.Newline();
  json.Key("stores");
  json.BeginObject();
  for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind) {
    const std::string key = std::to_string(kind);
    json.Key(key);
    json.BeginArray();
    VisitStore(reader.Stores, kind, [&json](const auto& store) {
      for (int32_t i = 0; i < store.Count(); ++i) {
        json.Newline();
        WriteRecord(json, store[i]);
      }
    });
    json.EndArray();
  }
  json.EndObject();
  json.Newline();
  json.Key("capacity");
  json.BeginObject();
  json.Key("index");
  json.Int(reader.Index.Capacity());
  for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind) {
    const std::string key = std::to_string(kind);
    json.Key(key);
    VisitStore(reader.Stores, kind, [&json](const auto& store) { json.Int(store.Capacity()); });
  }
  json.EndObject();
  json.EndObject();
}

void WriteTable(JsonWriter& json, const CountTable& table) {
  json.BeginArray();
  for (int row = 0; row < table.RowCount(); ++row) {
    json.Newline();
    json.BeginArray();
    for (int column = 0; column < CountTable::kColumns; ++column) json.Text(table.CellText(column, row));
    json.EndArray();
  }
  json.EndArray();
}

// Block insertions by name: the name as shown, its exact bytes and its count, one entry per line.
void WriteBlocks(JsonWriter& json, const BlockNameTable& blocks) {
  json.BeginArray();
  for (const BlockNameRow& row : blocks.Rows()) {
    json.Newline();
    json.BeginObject();
    json.Key("name");
    json.Text(row.Name);
    json.Key("bytes");
    json.Hex(row.Name);
    json.Key("count");
    json.Int(row.Count);
    json.EndObject();
  }
  json.EndArray();
}

template <class T>
void WriteTexts(JsonWriter& json, const T& texts) {
  json.BeginArray();
  for (const auto& text : texts) json.Text(text);
  json.EndArray();
}

}  // namespace

void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader) {
  JsonWriter json(out, utf8);
  json.BeginObject();
  json.Key("read_ok");
  json.Bool(report.ReadOk);
  json.Newline();
  json.Key("summary");
  WriteArray(json, report.Summary);
  json.Newline();
  json.Key("labels");
  json.BeginArray();
  for (const std::string& label : report.Labels) json.Text(label);
  json.EndArray();
  json.Newline();
  json.Key("status");
  json.BeginArray();
  for (const std::string& status : report.Statuses) json.Text(status);
  json.EndArray();
  json.Newline();
  json.Key("tables");
  json.BeginObject();
  for (const NamedTable& named : NamedTables(report.Tables)) {
    json.Newline();
    json.Key(named.Id);
    WriteTable(json, named.Table);
  }
  json.EndObject();
  json.Newline();
  json.Key("blocks");
  WriteBlocks(json, report.Tables.Blocks);
  json.Newline();
  json.Key("names");
  json.BeginObject();
  json.Newline();
  json.Key("groups");
  WriteTexts(json, report.State.Drawing.GroupNames);
  json.Newline();
  json.Key("layers");
  WriteTexts(json, report.State.Drawing.LayerNames);
  json.EndObject();
  if (report.ShowState) {
    json.Newline();
    json.Key("state");
    WriteState(json, report, reader);
  }
  json.EndObject();
  out.Append('\n');
}

}  // namespace jwcount
