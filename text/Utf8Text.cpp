#include "text/Utf8Text.h"

#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// More distinct runs than this means the text is not the reports' own; the cache starts afresh then.
constexpr std::size_t kMaxCached = 4096;

// The blocks of East Asian Wide and Fullwidth characters (Unicode's EastAsianWidth W and F), in order;
// the emoji, which code page 932 cannot hold, are left out.
constexpr char32_t kWideRanges[][2] = {
    {0x1100, 0x115F},    // Hangul Jamo initials
    {0x2329, 0x232A},    // angle brackets
    {0x2E80, 0x303E},    // CJK radicals, ideographic description, CJK symbols and punctuation
    {0x3041, 0x33FF},    // kana, Bopomofo, Hangul compatibility Jamo, enclosed CJK, CJK compatibility
    {0x3400, 0x4DBF},    // CJK extension A
    {0x4E00, 0x9FFF},    // CJK unified ideographs
    {0xA000, 0xA4CF},    // Yi
    {0xA960, 0xA97F},    // Hangul Jamo extended A
    {0xAC00, 0xD7A3},    // Hangul syllables
    {0xF900, 0xFAFF},    // CJK compatibility ideographs
    {0xFE10, 0xFE19},    // vertical forms
    {0xFE30, 0xFE6F},    // CJK compatibility forms, small form variants
    {0xFF01, 0xFF60},    // fullwidth ASCII forms
    {0xFFE0, 0xFFE6},    // fullwidth signs
    {0x20000, 0x3FFFD},  // supplementary ideographs
};

bool IsWide(char32_t c) {
  for (const auto& [first, last] : kWideRanges) {
    if (c < first) return false;
    if (c <= last) return true;
  }
  return false;
}

}  // namespace

std::size_t Utf8Text::JapaneseEnd(std::string_view bytes, std::size_t i) {
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) break;
    i += IsCp932LeadByte(b) && i + 1 < bytes.size() ? 2 : 1;
  }
  return i;
}

const std::string& Utf8Text::Lookup(std::string_view run) {
  const auto found = cache_.find(run);
  if (found != cache_.end()) return found->second;
  if (cache_.size() >= kMaxCached) cache_.clear();
  return cache_.emplace(std::string(run), ShiftJisToUtf8(run)).first->second;
}

std::size_t Utf8Text::Columns(std::string_view utf8) {
  std::size_t columns = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3Fu >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    columns += IsWide(c) ? 2 : 1;
    i += length;
  }
  return columns;
}

std::size_t Utf8Text::DisplayWidth(std::string_view shiftJis) {
  std::size_t width = 0;
  Convert(shiftJis,
          [&width](std::string_view piece, bool ascii) { width += ascii ? piece.size() : Columns(piece); });
  return width;
}

}  // namespace jwcount
