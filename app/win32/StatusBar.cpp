#include "app/win32/StatusBar.h"

#include <commctrl.h>

#include "app/win32/ControlIds.h"
#include "app/win32/Dpi.h"
#include "app/win32/Panel.h"
#include "app/win32/WinText.h"
#include "app/win32/WinUtil.h"
#include "report/ReportTexts.h"

namespace jwcount {
namespace {

constexpr wchar_t kButton1Caption[] = L"閉じる(&C)";
constexpr wchar_t kStatusBlank[] = L"\u3000";  // one full-width space
constexpr int kPanel2Height = 41;
constexpr RECT kButton1Bounds{8, 8, 8 + 97, 8 + 25};
constexpr int kWarningInset = 4;  // above the short-read warning
constexpr COLORREF kStatusColour = RGB(231, 231, 231);
constexpr COLORREF kWarningColour = RGB(204, 0, 0);

// Button1 stays the default button wherever the focus is, as Enter closes the window from every control
// (Keys.h): the dialog keys, which make a button the focus moves to the default one, never take that look
// away from it.
LRESULT CALLBACK KeepDefault(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == BM_SETSTYLE && (wParam & BS_TYPEMASK) == BS_PUSHBUTTON)
    wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_DEFPUSHBUTTON;
  return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

void StatusBar::Create(HWND form, HFONT font, UINT dpi) {
  Font = font;
  Dpi = dpi;
  const HINSTANCE instance = InstanceOf(form);
  StatusBrush = Brush(CreateSolidBrush(kStatusColour));
  WarningBrush = Brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  Panel2 = CreatePanel(form, kIdPanel2, L"", {GetSysColor(COLOR_BTNFACE), true, false}, font);
  SetPanelPart(Panel2, this);
  LabelA1 =
      CreateWindowExW(0, L"STATIC", kStatusBlank,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                      0, 0, 0, Panel2, ControlId(kIdLabelA1), instance, nullptr);
  Button1 = CreateWindowExW(0, L"BUTTON", kButton1Caption,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_DEFPUSHBUTTON, 0, 0, 0,
                            0, Panel2, ControlId(kIdButton1), instance, nullptr);
  SetWindowPos(Button1, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // in front of the label
  SetWindowSubclass(Button1, KeepDefault, 0, 0);
  // Hidden until a read falls short; then Panel2 grows to show it below the status line.
  LabelA2 = CreateWindowExW(0, L"STATIC", WidenUtf8(kShortReadWarning).c_str(),
                            WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, Panel2,
                            ControlId(kIdLabelA2), instance, nullptr);
  for (HWND control : {LabelA1, Button1, LabelA2}) SetControlFont(control, font);
}

void StatusBar::SetDpi(UINT dpi, HFONT font) {
  Dpi = dpi;
  Font = font;
  for (HWND control : {Panel2, LabelA1, Button1, LabelA2}) SetControlFont(control, font);
}

int StatusBar::Layout(int width, int height, bool shortRead) const {
  const auto scaled = [this](int pixels) { return Scaled(pixels, Dpi); };
  const int left = scaled(kButton1Bounds.left);
  const int barHeight = scaled(kPanel2Height);
  const int warningWidth = width - 2 * left;
  const int warningHeight =
      shortRead ? WrappedTextHeight(LabelA2, Font, WidenUtf8(kShortReadWarning), warningWidth) +
                      scaled(kWarningInset)
                : 0;
  const int panel2Height = barHeight + warningHeight;
  // The bevels stay one pixel wide.
  PlaceControl(Panel2, 0, height - panel2Height, width, panel2Height);
  PlaceControl(LabelA1, 1, 1, width - 2, barHeight - 2);
  PlaceControl(Button1, left, scaled(kButton1Bounds.top), scaled(kButton1Bounds.right - kButton1Bounds.left),
               scaled(kButton1Bounds.bottom - kButton1Bounds.top));
  PlaceControl(LabelA2, left, barHeight - 1, warningWidth, warningHeight);
  return panel2Height;
}

}  // namespace jwcount

namespace jwcount {

void StatusBar::ShowStatus(const std::wstring& text) const {
  SetWindowTextW(LabelA1, text.c_str());
  UpdateWindow(LabelA1);
}

// Button1 is left to the form's colours.
bool StatusBar::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT && message != WM_CTLCOLORBTN) return false;
  const auto dc = reinterpret_cast<HDC>(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  if (control == LabelA2) {
    SetTextColor(dc, kWarningColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(WarningBrush.Get());
    return true;
  }
  if (control == LabelA1) {
    SetBkColor(dc, kStatusColour);
    result = reinterpret_cast<LRESULT>(StatusBrush.Get());
    return true;
  }
  return false;
}

}  // namespace jwcount
