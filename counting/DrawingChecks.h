// What may be garbage in a drawing, such as one received from another firm: elements lying on top of an
// earlier element of the same kind, lines of no length, circles and arcs of radius 0, and texts of nothing.
// The checks only count; nothing is changed or deleted.
//
// Values are compared after rounding each one to the nearest 0.001 (a micrometre at real size), halves
// away from zero; a value too large to round that way keeps its exact value.
#pragma once

#include <array>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "tempfile/JwwGaibu.h"

namespace jwcount {

// Layers as one number: layer group × 16 + layer.
inline constexpr int kCheckLayerCount = 256;

// What one check found: how many elements, and the layers they lie on.
struct CheckFinding {
  int32_t Count = 0;
  std::bitset<kCheckLayerCount> Layers;

  void Add(const EntityAttributes& a);
  void Add(int layer);  // layer group × 16 + layer
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

// The checks hash the elements a piece at a time, in any order and on as many threads as there are, and
// then find the duplicates in reading order.
//
// Each element's key (its kind, rounded geometry and content) is hashed twice as its record is read, into
// 96 bits, so that a false match among a million keys has a chance of about one in 10^16. The duplicates
// are found from the hashes alone, without reading a record again: a bitmap over the hashes marks the keys
// that may have been seen before, and only elements of such keys go through an exact table.
class DrawingChecker {
 public:
  // Room for every element the reader holds. Throws std::bad_alloc when there is no memory for it.
  explicit DrawingChecker(const JwwGaibu& reader);

  // Hashes the next piece of the entity index not yet taken, adding what the checks of emptiness find in
  // it to `found`; false when every piece has been taken. Two threads may call it at once, each with a
  // `found` of its own: the pieces are handed out one at a time.
  bool HashPiece(DrawingChecks& found);
  // Once every piece is hashed: finds the duplicates, in reading order, and returns them with `found`.
  DrawingChecks Finish(DrawingChecks found);

  // An element's key while it is hashed (made where the checks are).
  struct Hashed;

 private:
  // What the duplicates need of an element: its key's hashes, its kind (0 for an entry of no known kind)
  // and its layer.
  struct Element {
    uint64_t A;
    uint32_t B;
    uint8_t Kind;
    uint8_t Layer;  // layer group × 16 + layer
  };
  static constexpr int32_t kPiece = 4096;

  const JwwGaibu& reader_;
  // One per entry of the index, in reading order. Left unwritten when made, so that the pages are first
  // touched by the threads that hash them, not by the thread about to tally; each is written once.
  std::span<Element> Elements() const { return {elements_.get(), count_}; }
  std::size_t count_ = 0;
  std::unique_ptr<Element[]> elements_;
  std::atomic<int32_t> nextPiece_{0};
};

// Adds what one part of the checks found to the whole.
void AddFindings(DrawingChecks& whole, const DrawingChecks& part);

// Every check over every element the reader holds, in reading order.
DrawingChecks CheckDrawing(const JwwGaibu& reader);

}  // namespace jwcount
