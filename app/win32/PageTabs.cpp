#include "app/win32/PageTabs.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/view/PageTable.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Dpi.h"
#include "app/win32/Panel.h"
#include "app/win32/WinText.h"
#include "app/win32/WinUtil.h"

namespace jwcount {
namespace {

// Seven tabs fit side by side in the narrowest window (475 pixels) with this much room beside each caption;
// more tabs wrap into a second row.
constexpr int kTabPadding = 4;
constexpr int kTabVerticalPadding = 3;

}  // namespace

void PageTabs::Create(HWND form, HFONT font, UINT dpi) {
  dpi_ = dpi;
  tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_MULTILINE, 0, 0, 0, 0,
                          form, ControlId(kIdPageControl1), InstanceOf(form), nullptr);
  SetControlFont(tabs_, font);
  SetPadding();
  const PanelStyle sheetStyle{kSheetColour, false, false};
  for (std::size_t i = 0; i < Pages().size(); ++i) {
    const std::wstring caption = WidenUtf8(Pages()[i].Caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    // The sheets lie over the tab control's display area, above it in the z-order.
    HWND sheet = CreatePanel(form, kIdTabSheet1 + static_cast<int>(i), caption.c_str(), sheetStyle, font);
    SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    sheets_.push_back(sheet);
  }
}

int PageTabs::Current() const {
  return static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
}

void PageTabs::Select(int index) const {
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND focus = GetFocus();
  for (int i = 0; i < static_cast<int>(sheets_.size()); ++i) {
    HWND sheet = sheets_[static_cast<std::size_t>(i)];
    if (i != index && (focus == sheet || IsChild(sheet, focus))) SetFocus(tabs_);
    ShowWindow(sheet, i == index ? SW_SHOW : SW_HIDE);
  }
}

SIZE PageTabs::Layout(int width, int height) const {
  PlaceControl(tabs_, 0, 0, width, height);
  RECT display{0, 0, width, height};
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const SIZE size{std::max<LONG>(display.right - display.left, 0),
                  std::max<LONG>(display.bottom - display.top, 0)};
  for (HWND sheet : sheets_) PlaceControl(sheet, display.left, display.top, size.cx, size.cy);
  return size;
}

void PageTabs::SetDpi(UINT dpi, HFONT font) {
  dpi_ = dpi;
  SetControlFont(tabs_, font);
  SetPadding();
  for (HWND sheet : sheets_) SetControlFont(sheet, font);
}

void PageTabs::SetPadding() const {
  SendMessageW(tabs_, TCM_SETPADDING, 0,
               MAKELPARAM(Scaled(kTabPadding, dpi_), Scaled(kTabVerticalPadding, dpi_)));
}

}  // namespace jwcount
