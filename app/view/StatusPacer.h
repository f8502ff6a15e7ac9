// Pacing the window's status line during a count.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

// The count computes a progress text every 100 elements, but putting a text on screen costs a round trip
// to the window system (under Wine most of a large count's time). Progress texts therefore go on screen at
// most once per interval. The first progress text of a run goes at once, as does every other status text;
// a progress text held back goes just before the next other text, so the last one appears as well.
class StatusPacer {
 public:
  static constexpr uint64_t kIntervalMs = 33;  // about 30 texts a second

  // Takes the next status text at the time nowMs and returns the texts to put on screen now, in order
  // (none, one, or a held-back progress text and this one).
  std::vector<std::string> Take(std::string_view text, uint64_t nowMs);

 private:
  std::string held_;  // the newest progress text not yet shown
  bool holding_ = false;
  bool inProgress_ = false;  // the last text shown was a progress text
  uint64_t shownAt_ = 0;
};

}  // namespace jwcount
