// What may be garbage in a drawing, such as one received from another firm: elements lying on top of an
// earlier element of the same kind, lines of no length, circles and arcs of radius 0, and texts of nothing.
// The checks only count; nothing is changed or deleted.
//
// Values are compared after rounding each one to the nearest 0.001 (a micrometre at real size), halves
// away from zero; a value too large to round that way keeps its exact value.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "tempfile/JwwGaibu.h"

namespace jwcount {

// Layers as one number: layer group × 16 + layer.
inline constexpr int kCheckLayerCount = 256;

// What one check found: how many elements, and the layers they lie on.
struct CheckFinding {
  int32_t Count = 0;
  std::bitset<kCheckLayerCount> Layers;

  void Add(const EntityAttributes& a);
};

struct DrawingChecks {
  // An element is a duplicate when an earlier element of the same kind has the same geometry and content,
  // on any layer; SameLayer counts those with such an earlier element on their own layer group and layer.
  CheckFinding Duplicates;
  int32_t SameLayer = 0;
  std::array<CheckFinding, 15> DuplicatesByKind;  // [kind − 1]
  CheckFinding ZeroLengthLines;                   // lines whose ends coincide
  CheckFinding ZeroRadius;                        // circles and arcs of radius 0
  CheckFinding EmptyTexts;                        // texts of nothing or only half- and full-width blanks

  // True when any check found something.
  bool Found() const;
};

// The value a check compares: v rounded to the nearest 0.001 as a count of thousandths, halves away from
// zero; `exact` is set when v is too large for that (or not a number) and the result holds v's own bits.
int64_t RoundedThousandths(double v, bool& exact);

// Runs every check over every element the reader holds, in reading order.
DrawingChecks CheckDrawing(const JwwGaibu& reader);

}  // namespace jwcount
