// Elements counted by a name they carry: block insertions by block name ("how many of each fixture are
// there?") and texts by their content ("how many of each window mark?"). One row per distinct name,
// compared byte for byte (names stay Shift-JIS bytes), in the order the count first met them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

struct NameCountRow {
  std::string_view Name;  // the drawing's own bytes; stays valid as long as the table is not cleared
  int32_t Count = 0;
};

class NameCountTable {
 public:
  NameCountTable();
  // The rows view the names kept in the table's own blocks: a move takes the blocks along, a copy would not.
  NameCountTable(const NameCountTable&) = delete;
  NameCountTable& operator=(const NameCountTable&) = delete;
  NameCountTable(NameCountTable&&) noexcept = default;
  NameCountTable& operator=(NameCountTable&&) noexcept = default;
  ~NameCountTable();

  // No rows, total 0.
  void Clear();
  // Adds 1 for one element named `name`; a name not seen before gets a new last row. A count
  // stops at the largest 32-bit value instead of wrapping, as the count tables' cells do.
  void Tally(std::string_view name);

  const std::vector<NameCountRow>& Rows() const { return rows_; }
  // The sum of all rows: the number of elements tallied (at most the largest 32-bit value).
  int32_t Total() const { return total_; }

 private:
  std::string_view Keep(std::string_view name);
  void Grow();

  // Each name's bytes once, in blocks that never move, so the rows can view them: about the name's own
  // size and a row per distinct name, however many there are.
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockSize_ = 0;
  std::size_t blockUsed_ = 0;
  // The rows by name: an open-addressed table of 32 bits of each name's hash beside its row number + 1
  // (0: empty), at most half full.
  std::vector<uint64_t> slots_;
  std::vector<NameCountRow> rows_;
  int32_t total_ = 0;
};

}  // namespace jwcount
