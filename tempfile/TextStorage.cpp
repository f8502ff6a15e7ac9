#include "tempfile/TextStorage.h"

#include <algorithm>
#include <cstring>

namespace jwcount {

TextRef TextStorage::Store(std::string_view bytes) {
  if (bytes.empty()) return {};
  if (bytes.size() > freeSize_) {
    const bool own = bytes.size() > kOwnBlockSize;
    const std::size_t size = own ? bytes.size() : nextBlockSize_;
    blocks_.reserve(blocks_.size() + 1);
    char* const data = static_cast<char*>(blocks_.emplace_back(size).Data());
    if (own) {
      std::memcpy(data, bytes.data(), bytes.size());
      return {data, bytes.size()};
    }
    open_ = blocks_.size() - 1;
    free_ = data;
    freeSize_ = size;
    nextBlockSize_ = std::min(2 * nextBlockSize_, kLargestBlockSize);
  }
  char* data = free_;
  std::memcpy(data, bytes.data(), bytes.size());
  free_ += bytes.size();
  freeSize_ -= bytes.size();
  return {data, bytes.size()};
}

void TextStorage::ReleaseSpare() {
  if (free_ == nullptr) return;
  ZeroedBlock& block = blocks_[open_];
  block.ReleaseUnused(static_cast<std::size_t>(free_ - static_cast<char*>(block.Data())));
}

void TextStorage::Reset() {
  std::vector<ZeroedBlock>().swap(blocks_);
  nextBlockSize_ = kFirstBlockSize;
  free_ = nullptr;
  freeSize_ = 0;
}

}  // namespace jwcount
