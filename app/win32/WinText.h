// Text at the screen edge: the tool keeps Shift-JIS bytes, the controls take UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ShiftJis.h"

namespace jwcount {

inline constexpr UINT kShiftJisCodePage = 932;
inline constexpr wchar_t kReplacementCharacter = L'\uFFFD';

// Appends the UTF-16 form of bytes that are all valid in the code page; false (and nothing appended) when
// some byte is not.
inline bool AppendWide(std::wstring& out, UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return false;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(length));
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data() + start, length);
  return true;
}

// Shift-JIS bytes as UTF-16, converted right before they reach a control. Names come from other people's
// drawings and may hold any bytes: a byte that starts no character becomes U+FFFD on its own, and the
// bytes after it are converted as they are (left to itself, the system would take the byte after a lead
// byte along into one default character, so a name could swallow the quote or letter behind it).
inline std::wstring Widen(std::string_view sjis) {
  std::wstring wide;
  if (AppendWide(wide, kShiftJisCodePage, sjis)) return wide;
  wide.clear();
  wide.reserve(sjis.size());
  std::size_t i = 0;
  while (i < sjis.size()) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (b < 0x80) {  // ASCII is the same in code page 932
      wide += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    if (IsCp932LeadByte(b) && i + 1 < sjis.size() && AppendWide(wide, kShiftJisCodePage, sjis.substr(i, 2))) {
      i += 2;
      continue;
    }
    if (!AppendWide(wide, kShiftJisCodePage, sjis.substr(i, 1))) wide += kReplacementCharacter;
    ++i;
  }
  return wide;
}

// The program's own UTF-8 texts (the short-read warning, file names made from the drawing's) as UTF-16.
inline std::wstring WidenUtf8(std::string_view utf8) {
  std::wstring wide;
  if (!AppendWide(wide, CP_UTF8, utf8)) {
    wide.clear();
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  }
  return wide;
}

}  // namespace jwcount
