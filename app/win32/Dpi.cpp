#include "app/win32/Dpi.h"

#include "app/win32/WinUtil.h"

namespace jwcount {
namespace {

constexpr wchar_t kFormFontName[] = L"ＭＳ ゴシック";
constexpr int kFormFontHeight = 13;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// GetDpiForWindow where user32 has it; looked up once, since older Windows lacks it.
GetDpiForWindowFunction FindGetDpiForWindow() {
  static const auto function = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(found));
  }();
  return function;
}

}  // namespace

UINT WindowDpi(HWND window) {
  if (const GetDpiForWindowFunction getDpi = FindGetDpiForWindow(); getDpi != nullptr) {
    if (const UINT dpi = getDpi(window); dpi != 0) return dpi;
  }
  WindowDc dc(nullptr);
  const int dpi = dc.Dc() != nullptr ? GetDeviceCaps(dc.Dc(), LOGPIXELSY) : 0;
  return static_cast<UINT>(dpi > 0 ? dpi : kDesignDpi);
}

HFONT CreateFormFont(UINT dpi) {
  return CreateFontW(-Scaled(kFormFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                     kFormFontName);
}

}  // namespace jwcount
