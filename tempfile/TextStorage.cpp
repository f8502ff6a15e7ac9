#include "TextStorage.h"

#include <cstring>

namespace jwcount {

TextRef TextStorage::Store(std::string_view bytes) {
  if (bytes.empty()) return {};
  if (bytes.size() > freeSize_) {
    // A text longer than a block gets a block of its own and leaves the current block open.
    const std::size_t size = bytes.size() > kBlockSize / 4 ? bytes.size() : kBlockSize;
    blocks_.reserve(blocks_.size() + 1);
    auto block = std::make_unique_for_overwrite<char[]>(size);
    char* data = block.get();
    blocks_.push_back(std::move(block));
    if (size == kBlockSize) {
      free_ = data;
      freeSize_ = size;
    } else {
      std::memcpy(data, bytes.data(), bytes.size());
      return {data, bytes.size()};
    }
  }
  char* data = free_;
  std::memcpy(data, bytes.data(), bytes.size());
  free_ += bytes.size();
  freeSize_ -= bytes.size();
  return {data, bytes.size()};
}

void TextStorage::Reset() {
  std::vector<std::unique_ptr<char[]>>().swap(blocks_);
  free_ = nullptr;
  freeSize_ = 0;
}

}  // namespace jwcount
