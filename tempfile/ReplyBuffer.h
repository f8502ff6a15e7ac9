// The reply to the host: lines of at most 255 bytes, written out in one go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jwcount {

inline constexpr std::size_t kMaxReplyLine = 255;

struct ReplyBuffer {
  // Storage length grows in steps of 1000 lines; only the first LineCount entries hold lines.
  std::vector<std::string> Lines;
  int32_t LineCount = 0;
};

}  // namespace jwcount
