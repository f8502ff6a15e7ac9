// Shift-JIS (code page 932) to UTF-8: the one conversion for every text that leaves the tool as UTF-8 (the
// CLI's reports, the CSV files), right at the edge.
#pragma once

#include <string>
#include <string_view>

namespace jwcount {

// The first bytes of a double-byte character in code page 932: 0x81 to 0x9F and 0xE0 to 0xFC.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Converts code-page-932 bytes to UTF-8 the way Windows maps them (so 0x81 0x7C becomes U+FF0D). A byte
// that starts no valid character becomes U+FFFD and the conversion goes on after it.
std::string ShiftJisToUtf8(std::string_view bytes);

}  // namespace jwcount
