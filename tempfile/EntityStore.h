// A growable array of plain records that grows in steps of 1000.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "tempfile/BulkMemory.h"

namespace jwcount {

// The length grows exactly to count + 999 whenever the 1st, 1001st, 2001st ... record arrives; new slots
// hold zeros and stored records never move. Behind the steps of 1000, memory is taken in zeroed pieces
// that double up to 32 MiB (and are at least 2 MiB once the store is past 256 KiB), so a big drawing needs
// few system calls and page faults, while a piece that is only partly used costs no more than the pages
// actually written.
template <class T>
class EntityStore {
  static_assert(std::is_aggregate_v<T> && std::is_trivially_copyable_v<T> &&
                    std::is_trivially_destructible_v<T>,
                "records are plain values whose all-zero bytes are a valid record");

 public:
  static constexpr int32_t kGrowthStep = 1000;

  EntityStore() = default;
  EntityStore(const EntityStore&) = delete;
  EntityStore& operator=(const EntityStore&) = delete;
  ~EntityStore() { Reset(); }

  int32_t Count() const { return count_; }
  // The array length under the growth rule (always a multiple of 1000).
  int32_t Capacity() const { return static_cast<int32_t>(blocks_.size()) * kGrowthStep; }

  const T& operator[](int32_t position) const { return blocks_[Block(position)][Slot(position)]; }
  T& operator[](int32_t position) { return blocks_[Block(position)][Slot(position)]; }

  // Makes room for one more record without counting it yet. Throws std::bad_alloc when memory runs out
  // and std::length_error when the count would leave the 32-bit range; the store is unchanged then.
  void Reserve() {
    if (count_ == std::numeric_limits<int32_t>::max()) throw std::length_error("store full");
    if (count_ < Capacity()) return;
    if (pieceBlocksLeft_ == 0) NewPiece();  // a new piece that stays unused is harmless
    // The piece is zeroed memory, and a zeroed record is a record of zeros: the block needs no writing,
    // so its pages are touched only when records are stored in them.
    T* const block = nextBlock_;
    blocks_.push_back(block);  // the last step that can fail
    // A store's first step is left to be touched record by record: a small drawing writes a few of its
    // pages. The steps after it belong to a store that is filling up, and are mapped ahead of writing.
    if (blocks_.size() > 1) PrepareForWriting(block, kGrowthStep * sizeof(T));
    nextBlock_ += kGrowthStep;
    --pieceBlocksLeft_;
  }

  // Counts the reserved slot and returns it; Reserve must have run first.
  T& Commit() { return (*this)[count_++]; }

  // Gives back the memory past the last step: a store that is done growing never writes it, and a large
  // page that the last step only began costs just the pages written. Growing again works as before.
  void ReleaseSpare() {
    if (pieces_.empty()) return;
    const Piece& last = pieces_.back();
    ReleaseUnused(
        last.Memory, last.Size,
        static_cast<std::size_t>(reinterpret_cast<char*>(nextBlock_) - static_cast<char*>(last.Memory)));
  }

  // Count 0 and no arrays.
  void Reset() {
    for (const Piece& piece : pieces_) FreeZeroed(piece.Memory, piece.Size);
    std::vector<Piece>().swap(pieces_);
    std::vector<T*>().swap(blocks_);
    count_ = 0;
    nextBlock_ = nullptr;
    pieceBlocksLeft_ = 0;
  }

 private:
  struct Piece {
    void* Memory;
    std::size_t Size;
  };
  // Pieces double up to this size.
  static constexpr std::size_t kMaxPieceBytes = std::size_t{32} << 20;
  static constexpr std::size_t kMaxPieceBlocks =
      std::max<std::size_t>(1, kMaxPieceBytes / (kGrowthStep * sizeof(T)));
  static constexpr std::size_t kLargeStoreBytes = std::size_t{256} << 10;
  static constexpr std::size_t kLargePieceBytes = std::size_t{2} << 20;
  static constexpr std::size_t kMinLargePieceBlocks =
      std::min(kMaxPieceBlocks, (kLargePieceBytes + kGrowthStep * sizeof(T) - 1) / (kGrowthStep * sizeof(T)));

  static std::size_t Block(int32_t position) { return static_cast<std::size_t>(position) / kGrowthStep; }
  static std::size_t Slot(int32_t position) { return static_cast<std::size_t>(position) % kGrowthStep; }

  void NewPiece() {
    // Pieces double from one step; once a store has grown past kLargeStoreBytes, its pieces are at least
    // one large page, so that a big drawing is written into large pages while a small one stays small.
    std::size_t blocks = pieces_.empty() ? 1 : std::min(kMaxPieceBlocks, 2 * lastPieceBlocks_);
    if (Capacity() * sizeof(T) >= kLargeStoreBytes) blocks = std::max(blocks, kMinLargePieceBlocks);
    const std::size_t size = blocks * kGrowthStep * sizeof(T);
    pieces_.reserve(pieces_.size() + 1);
    void* memory = AllocateZeroed(size);
    if (memory == nullptr) throw std::bad_alloc();
    pieces_.push_back({memory, size});
    nextBlock_ = static_cast<T*>(memory);
    pieceBlocksLeft_ = blocks;
    lastPieceBlocks_ = blocks;
  }

  int32_t count_ = 0;
  std::vector<T*> blocks_;  // one per step of 1000 records
  std::vector<Piece> pieces_;
  T* nextBlock_ = nullptr;
  std::size_t pieceBlocksLeft_ = 0;
  std::size_t lastPieceBlocks_ = 0;
};

}  // namespace jwcount
