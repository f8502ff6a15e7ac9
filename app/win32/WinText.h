// Text at the screen edge: the tool keeps Shift-JIS bytes, the controls take UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace jwcount {

inline constexpr UINT kShiftJisCodePage = 932;

// Shift-JIS bytes as UTF-16, converted right before they reach a control.
inline std::wstring Widen(std::string_view sjis) {
  if (sjis.empty()) return {};
  const int size = static_cast<int>(sjis.size());
  const int length = MultiByteToWideChar(kShiftJisCodePage, 0, sjis.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(kShiftJisCodePage, 0, sjis.data(), size, wide.data(), length);
  return wide;
}

inline std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace jwcount
