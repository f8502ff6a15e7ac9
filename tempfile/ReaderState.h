// The drawing header values and the attributes in force while the exchange file is read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tempfile/Records.h"

namespace jwcount {

struct TextKindEntry {
  double CharWidth = 3.0;
  double CharHeight = 3.0;
  double CharSpacing = 0.0;
  int32_t CharColour = 2;
};

struct HpPoint {
  bool Used = false;
  double X = 0.0;
  double Y = 0.0;
  int32_t Kind = 0;  // suffix of the keyword: none 0, "-" 1, "ln" 2, "ci" 3, "ch" 4
};

// Which attribute a first-seen flag and first-seen value belong to.
enum FirstSeen : int {
  kFirstLayerGroup = 0,
  kFirstLayer = 1,
  kFirstLineColour = 2,
  kFirstLineType = 3,
  kFirstLineWidth = 4,
  kFirstTextKind = 5,
};

inline constexpr int kGroupCount = 16;
inline constexpr int kLayerCount = 256;  // 16 layer groups x 16 layers
inline constexpr int kHpPointCount = 100;
inline constexpr int kTextKindCount = 10;

struct DrawingState {
  std::string FileName;
  double HkValue = 0.0;
  std::array<double, 16> HsValues{};
  double SheetWidth = 1189.0;  // A0 in millimetres
  double SheetHeight = 841.0;
  std::array<TextKindEntry, kTextKindCount> TextKindTable{};  // text kinds 1 to 10 at 0 to 9
  bool BzFlag = false;
  std::array<double, 4> HnValues{};
  std::array<int32_t, kGroupCount> GroupValues{};
  std::array<std::string, kGroupCount> GroupNames{};
  std::array<int32_t, kLayerCount> LayerValues{};  // index layer group x 16 + layer
  std::array<std::string, kLayerCount> LayerNames{};
  std::array<HpPoint, kHpPointCount> HpPoints{};  // only 1 to 99 are ever filled
  int32_t HpCount = 0;
  bool LineWidthSeen = false;
  std::array<bool, 6> FirstSeenFlags{};  // indexed by FirstSeen
  int32_t FirstLayerGroup = 0;
  int32_t FirstLayer = 0;
  int32_t FirstLineColour = 1;
  int32_t FirstLineType = 1;
  int32_t FirstLineWidth = 0;
  int32_t FirstTextKind = 1;
  double FirstFreeCharWidth = 2.0;
  double FirstFreeCharHeight = 2.0;
  double FirstFreeCharSpacing = 0.0;
  int32_t FirstFreeCharColour = 1;
  std::string FirstFontName;
};

// The default font name, "<ＭＳ ゴシック>" in Shift-JIS.
inline constexpr std::string_view kDefaultFontName = "<\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e>";

struct CurrentAttributes {
  // The seven values every entity record copies into its header, in header order.
  int32_t HhpNumber = 0;
  int32_t LayerGroup = 0;
  int32_t Layer = 0;
  int32_t LineColour = 1;
  int32_t LineType = 1;
  int32_t LineWidth = 0;
  int32_t AttributeFlags = 0;

  int32_t TextKind = 1;
  double FreeCharWidth = 2.0;
  double FreeCharHeight = 2.0;
  double FreeCharSpacing = 0.0;
  int32_t FreeCharColour = 1;
  int32_t CcCode = 0;
  std::string FontName{kDefaultFontName};
  int32_t PointColour = 1;
  int32_t SolidColour = 0;
  int32_t PolylineCount = 0;
  bool InPolyline = false;
  bool DimensionPending = false;
  TJwwEntLine PendingDimensionLine{{0, 0, 0, 1, 1, 0, 0}, 0, 0.0, 0.0, 1.0, 0.0};
};

}  // namespace jwcount
