// The reader state after the read as JSON: the drawing state and the current attributes, the entity index,
// every store's records and the capacities of the index and the stores.
#include "report/StateJson.h"

#include <array>
#include <string>

namespace jwcount {
namespace {

// The seven values of a record header, or of the current attributes that fill it, in header order.
void WriteAttrs(JsonWriter& json, const auto& a) {
  json.ArrayField("attrs", std::array{a.HhpNumber, a.LayerGroup, a.Layer, a.LineColour, a.LineType,
                                      a.LineWidth, a.AttributeFlags});
}

// The corner points X1, Y1, X2, Y2 (and X3, Y3, X4, Y4 where the record has them) of a line or a solid.
void WriteCorners(JsonWriter& json, const auto& r) {
  json.Field("X1", r.X1);
  json.Field("Y1", r.Y1);
  json.Field("X2", r.X2);
  json.Field("Y2", r.Y2);
  if constexpr (requires { r.X3; }) {
    json.Field("X3", r.X3);
    json.Field("Y3", r.Y3);
  }
  if constexpr (requires { r.X4; }) {
    json.Field("X4", r.X4);
    json.Field("Y4", r.Y4);
  }
}

// The numbered parameters Param1 to ParamN a record has, in order. Most are reals, but a record's last
// parameter may be an integer; each is written as its own type calls for.
void WriteParams(JsonWriter& json, const auto& r) {
  json.Field("Param1", r.Param1);
  json.Field("Param2", r.Param2);
  json.Field("Param3", r.Param3);
  if constexpr (requires { r.Param4; }) json.Field("Param4", r.Param4);
  if constexpr (requires { r.Param5; }) json.Field("Param5", r.Param5);
  if constexpr (requires { r.Param6; }) json.Field("Param6", r.Param6);
  if constexpr (requires { r.Param7; }) json.Field("Param7", r.Param7);
  if constexpr (requires { r.Param8; }) json.Field("Param8", r.Param8);
}

template <class Record>
void WriteRecord(JsonWriter& json, const Record& r);

// The members that follow the attribute header, one overload per record type.
void WriteMembers(JsonWriter& json, const TJwwEntLine& r) {
  json.Field("PolylineNo", r.PolylineNo);
  WriteCorners(json, r);
}

// Circles and arcs: their parameters alone.
void WriteMembers(JsonWriter& json, const TJwwEntCircle& r) {
  WriteParams(json, r);
}
void WriteMembers(JsonWriter& json, const TJwwEntArc& r) {
  WriteParams(json, r);
}

void WriteMembers(JsonWriter& json, const TJwwEntText& r) {
  json.Field("TextType", r.TextType);
  json.Field("CcCode", r.CcCode);
  json.Field("TextKind", r.TextKind);
  json.Field("CharWidth", r.CharWidth);
  json.Field("CharHeight", r.CharHeight);
  json.Field("CharSpacing", r.CharSpacing);
  WriteParams(json, r);
  json.HexField("FontName", r.FontName.View());
  json.HexField("Text", r.Text.View());
}

void WriteMembers(JsonWriter& json, const TJwwEntPoint& r) {
  json.Field("X", r.X);
  json.Field("Y", r.Y);
}

void WriteMembers(JsonWriter& json, const TJwwEntMarker& r) {
  json.Field("X", r.X);
  json.Field("Y", r.Y);
  WriteParams(json, r);
}

void WriteMembers(JsonWriter& json, const TJwwEntDim& r) {
  json.Key("DimLine");
  WriteRecord(json, r.DimLine);
  json.Key("DimText");
  WriteRecord(json, r.DimText);
}

void WriteMembers(JsonWriter& json, const TJwwEntBlk& r) {
  json.Field("X", r.X);
  json.Field("Y", r.Y);
  json.HexField("BlockText", r.BlockText.View());
}

// Solids: their colour, then their corners or their parameters.
template <class Solid>
requires requires(const Solid& r) {
  r.SolidColour;
}
void WriteMembers(JsonWriter& json, const Solid& r) {
  json.Field("SolidColour", r.SolidColour);
  if constexpr (requires { r.X1; }) {
    WriteCorners(json, r);
  } else {
    WriteParams(json, r);
  }
}

// A record as one JSON object: its attribute header, then the members of its type.
template <class Record>
void WriteRecord(JsonWriter& json, const Record& r) {
  json.BeginObject();
  WriteAttrs(json, r.Attrs);
  WriteMembers(json, r);
  json.EndObject();
}

void WriteTextKinds(JsonWriter& json, const DrawingState& d) {
  json.Key("TextKindTable");
  json.BeginArray();
  for (const TextKindEntry& e : d.TextKindTable) {
    json.BeginObject();
    json.Field("CharWidth", e.CharWidth);
    json.Field("CharHeight", e.CharHeight);
    json.Field("CharSpacing", e.CharSpacing);
    json.Field("CharColour", e.CharColour);
    json.EndObject();
  }
  json.EndArray();
}

void WriteHpPoints(JsonWriter& json, const DrawingState& d) {
  json.Key("HpPoints");
  json.BeginArray();
  for (const HpPoint& p : d.HpPoints) {
    json.BeginObject();
    json.Field("Used", p.Used);
    json.Field("X", p.X);
    json.Field("Y", p.Y);
    json.Field("Kind", p.Kind);
    json.EndObject();
  }
  json.EndArray();
}

// The first value the file gave each attribute; a flag still set marks an attribute not given one yet.
void WriteFirstSeen(JsonWriter& json, const DrawingState& d) {
  json.ArrayField("FirstSeenFlags", d.FirstSeenFlags);
  json.Field("FirstLayerGroup", d.FirstLayerGroup);
  json.Field("FirstLayer", d.FirstLayer);
  json.Field("FirstLineColour", d.FirstLineColour);
  json.Field("FirstLineType", d.FirstLineType);
  json.Field("FirstLineWidth", d.FirstLineWidth);
  json.Field("FirstTextKind", d.FirstTextKind);
  json.Field("FirstFreeCharWidth", d.FirstFreeCharWidth);
  json.Field("FirstFreeCharHeight", d.FirstFreeCharHeight);
  json.Field("FirstFreeCharSpacing", d.FirstFreeCharSpacing);
  json.Field("FirstFreeCharColour", d.FirstFreeCharColour);
  json.HexField("FirstFontName", d.FirstFontName);
}

void WriteDrawing(JsonWriter& json, const DrawingState& d) {
  json.BeginObject();
  json.HexField("FileName", d.FileName);
  json.Field("HkValue", d.HkValue);
  json.ArrayField("HsValues", d.HsValues);
  json.Field("SheetWidth", d.SheetWidth);
  json.Field("SheetHeight", d.SheetHeight);
  WriteTextKinds(json, d);
  json.Field("BzFlag", d.BzFlag);
  json.ArrayField("HnValues", d.HnValues);
  json.ArrayField("GroupValues", d.GroupValues);
  json.HexArrayField("GroupNames", d.GroupNames);
  json.ArrayField("LayerValues", d.LayerValues);
  json.HexArrayField("LayerNames", d.LayerNames);
  WriteHpPoints(json, d);
  json.Field("HpCount", d.HpCount);
  json.Field("LineWidthSeen", d.LineWidthSeen);
  WriteFirstSeen(json, d);
  json.EndObject();
}

void WriteCurrent(JsonWriter& json, const CurrentAttributes& c) {
  json.BeginObject();
  WriteAttrs(json, c);
  json.Field("TextKind", c.TextKind);
  json.Field("FreeCharWidth", c.FreeCharWidth);
  json.Field("FreeCharHeight", c.FreeCharHeight);
  json.Field("FreeCharSpacing", c.FreeCharSpacing);
  json.Field("FreeCharColour", c.FreeCharColour);
  json.Field("CcCode", c.CcCode);
  json.HexField("FontName", c.FontName);
  json.Field("PointColour", c.PointColour);
  json.Field("SolidColour", c.SolidColour);
  json.Field("PolylineCount", c.PolylineCount);
  json.Field("InPolyline", c.InPolyline);
  json.Field("DimensionPending", c.DimensionPending);
  json.Key("PendingDimensionLine");
  WriteRecord(json, c.PendingDimensionLine);
  json.EndObject();
}

// The entity index as [kind, position] pairs.
void WriteIndex(JsonWriter& json, const JwwGaibu& reader) {
  json.Key("index");
  json.BeginArray();
  for (int32_t j = 0; j < reader.Index.Count(); ++j) {
    json.Array(std::array{reader.Index[j].Kind, reader.Index[j].Position});
  }
  json.EndArray();
}

// Every store's records, one per line, under the number of their kind.
void WriteStores(JsonWriter& json, const JwwGaibu& reader) {
  json.Key("stores");
  json.BeginObject();
  for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind) {
    json.Key(std::to_string(kind));
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
}

// How many entries the index and every store have room for.
void WriteCapacities(JsonWriter& json, const JwwGaibu& reader) {
  json.Key("capacity");
  json.BeginObject();
  json.Field("index", reader.Index.Capacity());
  for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind) {
    json.Key(std::to_string(kind));
    VisitStore(reader.Stores, kind, [&json](const auto& store) { json.Int(store.Capacity()); });
  }
  json.EndObject();
}

}  // namespace

void WriteStateJson(JsonWriter& json, const StateAfterRead& state, const JwwGaibu& reader) {
  json.BeginObject();
  json.Key("drawing");
  WriteDrawing(json, state.Drawing);
  json.Newline();
  json.Key("current");
  WriteCurrent(json, state.Current);
  json.Newline();
  WriteIndex(json, reader);
  json.Newline();
  WriteStores(json, reader);
  json.Newline();
  WriteCapacities(json, reader);
  json.EndObject();
}

}  // namespace jwcount
