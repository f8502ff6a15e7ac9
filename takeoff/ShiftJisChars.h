// Shift-JIS text character by character: a lead byte (0x81 to 0x9F, 0xE0 to 0xFC) and the byte after it,
// whatever that byte is, are one character; every other byte is one.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/ShiftJis.h"

namespace jwcount {

// The length in bytes of the character that starts at `i` (< text.size()).
constexpr std::size_t CharLengthAt(std::string_view shiftJis, std::size_t i) {
  return IsCp932LeadByte(static_cast<unsigned char>(shiftJis[i])) && i + 1 < shiftJis.size() ? 2 : 1;
}

}  // namespace jwcount
