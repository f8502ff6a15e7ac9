#include "counting/NameCountTable.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace jwcount {
namespace {

constexpr std::size_t kFirstSlots = 64;
constexpr std::size_t kFirstBlock = std::size_t{4} << 10;
constexpr std::size_t kLargestBlock = std::size_t{1} << 20;

void AddOne(int32_t& count) {
  count += static_cast<int32_t>(count != std::numeric_limits<int32_t>::max());
}

uint32_t NameHash(std::string_view name) {
  const uint64_t h = std::hash<std::string_view>{}(name);
  return static_cast<uint32_t>(h ^ (h >> 32));
}

}  // namespace

NameCountTable::NameCountTable() : slots_(kFirstSlots, 0) {}

NameCountTable::~NameCountTable() = default;

void NameCountTable::Clear() {
  rows_.clear();
  total_ = 0;
  // A table that a large drawing grew goes back to its first size, so the next count costs what it holds.
  slots_.assign(kFirstSlots, 0);
  slots_.shrink_to_fit();
  blocks_.clear();
  blockSize_ = 0;
  blockUsed_ = 0;
}

std::string_view NameCountTable::Keep(std::string_view name) {
  if (name.empty()) return {};
  if (blocks_.empty() || blockSize_ - blockUsed_ < name.size()) {
    // Blocks double up to 1 MiB; a longer name gets a block of its own size.
    blockSize_ = std::max(std::min(std::max(blockSize_ * 2, kFirstBlock), kLargestBlock), name.size());
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
    blockUsed_ = 0;
  }
  char* kept = blocks_.back().get() + blockUsed_;
  std::memcpy(kept, name.data(), name.size());
  blockUsed_ += name.size();
  return {kept, name.size()};
}

void NameCountTable::Grow() {
  std::vector<uint64_t> larger(slots_.size() * 2, 0);
  const std::size_t mask = larger.size() - 1;
  for (const uint64_t slot : slots_) {
    if (slot == 0) continue;
    std::size_t i = static_cast<uint32_t>(slot >> 32) & mask;
    while (larger[i] != 0) i = (i + 1) & mask;
    larger[i] = slot;
  }
  slots_ = std::move(larger);
}

void NameCountTable::Tally(std::string_view name) {
  const uint32_t hash = NameHash(name);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  for (; slots_[i] != 0; i = (i + 1) & mask) {
    const uint64_t slot = slots_[i];
    if (static_cast<uint32_t>(slot >> 32) != hash) continue;
    NameCountRow& row = rows_[static_cast<uint32_t>(slot) - 1];
    if (row.Name == name) {
      AddOne(row.Count);
      AddOne(total_);
      return;
    }
  }
  rows_.push_back({Keep(name), 1});
  slots_[i] = uint64_t{hash} << 32 | static_cast<uint32_t>(rows_.size());
  AddOne(total_);
  if (2 * rows_.size() > slots_.size()) Grow();
}

}  // namespace jwcount
