#include "Utf8Text.h"

#include "ShiftJis.h"

namespace jwcount {
namespace {

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// More distinct runs than this means the text is not the reports' own; the cache starts afresh then.
constexpr std::size_t kMaxCached = 4096;

}  // namespace

std::size_t Utf8Text::JapaneseEnd(std::string_view bytes, std::size_t i) {
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) break;
    i += IsLeadByte(b) && i + 1 < bytes.size() ? 2 : 1;
  }
  return i;
}

const std::string& Utf8Text::Lookup(std::string_view run) {
  const auto found = cache_.find(run);
  if (found != cache_.end()) return found->second;
  if (cache_.size() >= kMaxCached) cache_.clear();
  return cache_.emplace(std::string(run), ShiftJisToUtf8(run)).first->second;
}

std::string Utf8Text::ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  Convert(bytes, [&out](std::string_view piece, bool) { out += piece; });
  return out;
}

}  // namespace jwcount
