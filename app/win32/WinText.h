// Text at the screen edge: the tool keeps Shift-JIS bytes and UTF-8 texts of its own, the controls take
// UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "text/ShiftJis.h"
#include "text/Utf8Text.h"

namespace jwcount {

// Shift-JIS bytes as UTF-16, converted right before they reach a control.
inline std::wstring Widen(std::string_view sjis) {
  return ShiftJisToWide(sjis);
}

// UTF-8 texts (the program's own, file names made from the drawing's) as UTF-16.
inline std::wstring WidenUtf8(std::string_view utf8) {
  const int size = static_cast<int>(utf8.size());
  const int length = size == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}
inline std::wstring WidenUtf8(std::u8string_view utf8) {
  return WidenUtf8(AsChars(utf8));
}

}  // namespace jwcount
