// What may be garbage in a drawing, such as one received from another firm: elements lying on top of an
// earlier element of the same kind, lines of no length, circles and arcs of radius 0, and texts of nothing.
// The checks only count; nothing is changed or deleted.
//
// Values are compared after rounding each one to the nearest 0.001 (a micrometre at real size), halves
// away from zero; a value too large to round that way keeps its exact value (counting/CheckKey.h).
#pragma once

#include <array>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <vector>

#include "tempfile/BulkMemory.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// What one check found: how many elements, and the layers they lie on.
struct CheckFinding {
  int32_t Count = 0;
  std::bitset<kLayerCount> Layers;  // bit: layer group × 16 + layer

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

// Adds what one part of the checks found to the whole.
void AddFindings(DrawingChecks& whole, const DrawingChecks& part);

// Every check over every element the reader holds, in reading order.
DrawingChecks CheckDrawing(const JwwGaibu& reader);

// Which elements the checks find, one bit per entry of the entity index (bit i of word i / 64): each
// duplicate (every later element of a key, never the first), and each element found empty (which check
// found it follows from its kind: a line of no length, a circle or arc of radius 0, a text of nothing).
struct CheckedElements {
  std::vector<uint64_t> Duplicates;
  std::vector<uint64_t> Empty;
};
CheckedElements FindCheckedElements(const JwwGaibu& reader);

// The checks in two stages: the elements are hashed a piece at a time, in any order and on as many threads
// as there are, and then the duplicates are found in reading order.
//
// Each element's key is hashed into 32 bits as its record is read (4 bytes an element); a copy of the
// element before it, byte for byte, is only marked as a copy, so that a run of copies costs a comparison of
// records each and is counted as a run. A bitmap over the hashes marks the keys that may have been seen
// before, and only elements of such keys go through a table that compares the keys themselves, made again
// from the records: equal hashes only make two elements candidates, and elements whose hashes agree but
// whose keys differ stay apart.
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
  // Keeps which elements the checks find in `elements` as well (before the first piece is hashed; the
  // bitmaps must outlive the checker).
  void RecordInto(CheckedElements& elements);

 private:
  static constexpr int32_t kPiece = 4096;

  const JwwGaibu& reader_;
  // One per entry of the index, in reading order. Zeroed memory from the system, so that the pages are
  // first touched by the threads that hash them, not by the thread about to tally; each is written once.
  std::size_t count_ = 0;
  ZeroedBlock hashMemory_;
  uint32_t* hashes_;  // each element's key hashed; 0 for an entry of no known kind and for a copy
  // Bit i of word i / 64: the element i is a copy, byte for byte, of the element before it in its piece.
  ZeroedBlock copyMemory_;
  uint64_t* copies_;
  bool IsCopy(std::size_t i) const { return (copies_[i / 64] >> (i % 64) & 1) != 0; }
  // The element j was found empty by `check` on `layer`.
  void NoteEmpty(CheckFinding& check, int layer, int32_t j) {
    check.Add(layer);
    if (emptyBits_ != nullptr) emptyBits_[j / 64] |= uint64_t{1} << (j % 64);
  }
  // The hashes of the keys that may repeat, sorted, each once.
  std::vector<uint32_t> MaybeRepeated() const;
  std::atomic<int32_t> nextPiece_{0};
  uint64_t* emptyBits_ = nullptr;      // when recording: the elements found empty
  uint64_t* duplicateBits_ = nullptr;  // when recording: the duplicates
};

}  // namespace jwcount
