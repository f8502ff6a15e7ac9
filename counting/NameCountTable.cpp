#include "counting/NameCountTable.h"

#include <limits>

namespace jwcount {
namespace {

void AddOne(int32_t& count) {
  count += static_cast<int32_t>(count != std::numeric_limits<int32_t>::max());
}

}  // namespace

void NameCountTable::Clear() {
  rows_.clear();
  rowOf_.clear();
  total_ = 0;
}

void NameCountTable::Tally(std::string_view name) {
  auto found = rowOf_.find(name);
  if (found == rowOf_.end()) {
    found = rowOf_.emplace(std::string(name), rows_.size()).first;
    rows_.push_back({found->first, 0});
  }
  AddOne(rows_[found->second].Count);
  AddOne(total_);
}

}  // namespace jwcount
