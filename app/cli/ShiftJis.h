// Shift-JIS (code page 932) to UTF-8: the one place where the tool's texts change encoding, right at the
// terminal edge.
#pragma once

#include <string>
#include <string_view>

namespace jwcount {

// Converts code-page-932 bytes to UTF-8 the way Windows maps them (so 0x81 0x7C becomes U+FF0D). A byte
// that starts no valid character becomes U+FFFD and the conversion goes on after it.
std::string ShiftJisToUtf8(std::string_view bytes);

}  // namespace jwcount
