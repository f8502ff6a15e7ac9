// The entity records of the exchange file: one plain record type per element kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jwcount {

// Element kinds; every kind has a store of its own.
enum EntityKind : int32_t {
  kLine = 1,
  kCircle = 2,
  kArc = 3,  // arc, ellipse or elliptic arc
  kText = 4,
  kPoint = 5,
  kMarker = 6,
  kDimension = 7,
  kBlock = 8,
  kSolidLine = 9,
  kSolidTriangle = 10,
  kSolidQuad = 11,
  kSolidCircle = 12,
  kSolidCircumference = 13,
  kSolidRingO = 14,
  kSolidRingG = 15,
};
inline constexpr int32_t kFirstEntityKind = 1;
inline constexpr int32_t kLastEntityKind = 15;

// The attribute header at the start of every record, copied from the current attributes when the
// record is made.
struct EntityAttributes {
  int32_t HhpNumber = 0;
  int32_t LayerGroup = 0;
  int32_t Layer = 0;
  int32_t LineColour = 0;
  int32_t LineType = 0;
  int32_t LineWidth = 0;
  int32_t AttributeFlags = 0;
};

// Shift-JIS bytes held in the reader's text storage; the storage keeps them in place until the stores
// are reset or released, so a record stays a plain value.
struct TextRef {
  const char* Data = nullptr;
  std::size_t Size = 0;
  std::string_view View() const { return {Data, Size}; }
};

// Longest font name or text a text record keeps; longer values keep their first 255 bytes.
inline constexpr std::size_t kMaxRecordText = 255;

struct TJwwEntLine {
  EntityAttributes Attrs;
  int32_t PolylineNo = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TJwwEntCircle {
  EntityAttributes Attrs;
  double Param1 = 0, Param2 = 0, Param3 = 0;
};

struct TJwwEntArc {
  EntityAttributes Attrs;
  double Param1 = 0, Param2 = 0, Param3 = 0, Param4 = 0, Param5 = 0, Param6 = 0, Param7 = 0;
};

struct TJwwEntText {
  EntityAttributes Attrs;  // LineColour holds the character colour
  int32_t TextType = 0;
  int32_t CcCode = 0;
  int32_t TextKind = 0;
  double CharWidth = 0, CharHeight = 0, CharSpacing = 0;
  double Param1 = 0, Param2 = 0, Param3 = 0, Param4 = 0;
  TextRef FontName;  // at most 255 bytes
  TextRef Text;      // at most 255 bytes
};

struct TJwwEntPoint {
  EntityAttributes Attrs;  // LineColour holds the point colour
  double X = 0, Y = 0;
};

struct TJwwEntMarker {
  EntityAttributes Attrs;  // LineColour holds the point colour
  double X = 0, Y = 0, Param1 = 0, Param2 = 0;
  int32_t Param3 = 0;
};

struct TJwwEntDim {
  EntityAttributes Attrs;  // LineColour holds the line colour in force at the "cs" line
  TJwwEntLine DimLine;
  TJwwEntText DimText;
};

struct TJwwEntBlk {
  EntityAttributes Attrs;
  double X = 0, Y = 0;
  TextRef BlockText;  // any length
};

struct TJwwEntSolidLine {
  EntityAttributes Attrs;
  int32_t SolidColour = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TJwwEntSolidTri {
  EntityAttributes Attrs;
  int32_t SolidColour = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0;
};

struct TJwwEntSolidQuad {
  EntityAttributes Attrs;
  int32_t SolidColour = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};

struct TJwwEntSolidCircle {
  EntityAttributes Attrs;
  int32_t SolidColour = 0;
  double Param1 = 0, Param2 = 0, Param3 = 0, Param4 = 0, Param5 = 0, Param6 = 0, Param7 = 0;
  int32_t Param8 = 0;
};

struct TJwwEntSolidRing {
  EntityAttributes Attrs;
  int32_t SolidColour = 0;
  double Param1 = 0, Param2 = 0, Param3 = 0, Param4 = 0, Param5 = 0, Param6 = 0, Param7 = 0, Param8 = 0;
};

// One entry of the entity index: the element's kind and its 0-based place in the store of that kind.
struct EntityIndexEntry {
  int32_t Kind = 0;
  int32_t Position = 0;
};

}  // namespace jwcount
