// Ctrl+C while the elements are tallied: the console's Escape key. The count stops at its next poll and
// still writes its totals and the reply.
#pragma once

namespace jwcount {

// While the object lives, Ctrl+C sets a flag instead of ending the program; outside, Ctrl+C ends it as
// usual (so it aborts a long read without touching the exchange file).
class InterruptAsEscape {
 public:
  InterruptAsEscape();
  ~InterruptAsEscape();
  InterruptAsEscape(const InterruptAsEscape&) = delete;
  InterruptAsEscape& operator=(const InterruptAsEscape&) = delete;

  // True once Ctrl+C has been pressed while an object lived.
  static bool Requested();
};

}  // namespace jwcount
