// Keeps the texts of the stored records (font names, texts, block texts) in large blocks that never move.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "Records.h"

namespace jwcount {

class TextStorage {
 public:
  // Copies the bytes into the storage. Throws std::bad_alloc when memory runs out; nothing is kept then.
  TextRef Store(std::string_view bytes);
  // Frees every text; references handed out before become invalid.
  void Reset();

 private:
  static constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  std::size_t freeSize_ = 0;
};

}  // namespace jwcount
