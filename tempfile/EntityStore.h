// A growable array of plain records that grows in steps of 1000.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace jwcount {

// Records live in blocks of 1000, so the length grows exactly to count + 999 whenever the 1st, 1001st,
// 2001st ... record arrives, stored records never move, and the memory held stays within one block of
// the data. New slots hold zeros.
template <class T>
class EntityStore {
 public:
  static constexpr int32_t kGrowthStep = 1000;

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
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(std::make_unique<T[]>(kGrowthStep));
  }

  // Counts the reserved slot and returns it; Reserve must have run first.
  T& Commit() { return (*this)[count_++]; }

  // Count 0 and no arrays.
  void Reset() {
    count_ = 0;
    std::vector<std::unique_ptr<T[]>>().swap(blocks_);
  }

 private:
  static std::size_t Block(int32_t position) { return static_cast<std::size_t>(position) / kGrowthStep; }
  static std::size_t Slot(int32_t position) { return static_cast<std::size_t>(position) % kGrowthStep; }

  int32_t count_ = 0;
  std::vector<std::unique_ptr<T[]>> blocks_;
};

}  // namespace jwcount
