// Where things are: the elements that rows of the tables cover, and the point of the drawing a mark is put
// on for each of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "counting/ElementCover.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// A set of elements: bit i of word i / 64 stands for entry i of the entity index, in reading order.
struct ElementSelection {
  std::vector<uint64_t> Bits;
  bool Has(std::size_t i) const { return (Bits[i / 64] >> (i % 64) & 1) != 0; }
  // The number of elements in the set.
  int64_t Size() const;
};

// Every element any of the covers takes, each once. The work is one pass over the elements (two when a
// cover is a check, which finds its elements anew), however many rows are covered.
ElementSelection SelectElements(const JwwGaibu& reader, std::span<const ElementCover> covers);

struct MarkPoint {
  double X = 0;
  double Y = 0;
};

// The point of an element in drawing coordinates: a line's midpoint; the centre of a circle, arc, ellipse
// or circular solid; a text's position; a point; the midpoint of a dimension's line; a block's insertion
// point; the mean of a linear, triangle or quadrilateral solid's corners.
MarkPoint ElementPoint(const EntityStores& stores, int32_t kind, int32_t position);

// What a drawing coordinate of the layer group is divided by to give sheet millimetres: the group's scale,
// or 1 for a group outside 0 to 15, a scale that is not finite or not above 0, and a file whose coordinates
// are in sheet millimetres already ("bz").
double SheetDivisor(const DrawingState& drawing, int32_t layerGroup);

}  // namespace jwcount
