// Elements counted by a name they carry: block insertions by block name ("how many of each fixture are
// there?") and texts by their content ("how many of each window mark?"). One row per distinct name,
// compared byte for byte (names stay Shift-JIS bytes), in the order the count first met them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace jwcount {

struct NameCountRow {
  std::string_view Name;  // the drawing's own bytes; stays valid as long as the table is not cleared
  int32_t Count = 0;
};

class NameCountTable {
 public:
  NameCountTable() = default;
  // The rows view the names kept in the map's nodes: a move takes the nodes along, a copy would not.
  NameCountTable(const NameCountTable&) = delete;
  NameCountTable& operator=(const NameCountTable&) = delete;
  NameCountTable(NameCountTable&&) noexcept = default;
  NameCountTable& operator=(NameCountTable&&) noexcept = default;

  // No rows, total 0.
  void Clear();
  // Adds 1 for one element named `name`; a name not seen before gets a new last row. A count
  // stops at the largest 32-bit value instead of wrapping, as the count tables' cells do.
  void Tally(std::string_view name);

  const std::vector<NameCountRow>& Rows() const { return rows_; }
  // The sum of all rows: the number of elements tallied (at most the largest 32-bit value).
  int32_t Total() const { return total_; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // Name to row number. The map's nodes never move, so the rows can view their keys.
  std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> rowOf_;
  std::vector<NameCountRow> rows_;
  int32_t total_ = 0;
};

}  // namespace jwcount
