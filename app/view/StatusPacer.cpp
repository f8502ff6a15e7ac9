#include "app/view/StatusPacer.h"

#include "counting/CountTexts.h"

namespace jwcount {

std::vector<std::string> StatusPacer::Take(std::string_view text, uint64_t nowMs) {
  std::vector<std::string> shown;
  if (!text.starts_with(kStatusProgressPrefix)) {
    if (holding_) shown.push_back(std::move(held_));
    shown.emplace_back(text);
    holding_ = false;
    inProgress_ = false;
    shownAt_ = nowMs;
    return shown;
  }
  if (inProgress_ && nowMs - shownAt_ < kIntervalMs) {
    held_.assign(text);
    holding_ = true;
    return shown;
  }
  shown.emplace_back(text);
  holding_ = false;
  inProgress_ = true;
  shownAt_ = nowMs;
  return shown;
}

}  // namespace jwcount
