// Keeps the texts of the stored records (font names, texts, block texts) in large blocks that never move:
// the first is 64 KiB, and each next one doubles up to a large page (2 MiB), so a small drawing stays
// small and a large one costs few page faults.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "tempfile/BulkMemory.h"
#include "tempfile/Records.h"

namespace jwcount {

class TextStorage {
 public:
  // Copies the bytes into the storage. Throws std::bad_alloc when memory runs out; nothing is kept then.
  TextRef Store(std::string_view bytes);
  // Gives back the unwritten rest of the block texts are being added to (see ZeroedBlock::ReleaseUnused).
  void ReleaseSpare();
  // Frees every text; references handed out before become invalid.
  void Reset();

 private:
  static constexpr std::size_t kFirstBlockSize = std::size_t{64} << 10;
  static constexpr std::size_t kLargestBlockSize = std::size_t{2} << 20;
  // A text longer than this gets a block of its own and leaves the current block open.
  static constexpr std::size_t kOwnBlockSize = kFirstBlockSize / 4;

  std::vector<ZeroedBlock> blocks_;
  std::size_t open_ = 0;  // the block free_ lies in
  std::size_t nextBlockSize_ = kFirstBlockSize;
  char* free_ = nullptr;
  std::size_t freeSize_ = 0;
};

}  // namespace jwcount
