#include "app/win32/StatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/win32/ControlIds.h"
#include "app/win32/Dpi.h"
#include "app/win32/Panel.h"
#include "app/win32/WinText.h"
#include "app/win32/WinUtil.h"
#include "report/ReportTexts.h"

namespace jwcount {
namespace {

constexpr wchar_t kButton1Caption[] = L"閉じる(&C)";
constexpr wchar_t kMarkButtonCaption[] = L"印を付けて閉じる(&M)";
constexpr wchar_t kXlsxButtonCaption[] = L"Excelに保存";
constexpr wchar_t kStatusBlank[] = L"\u3000";  // one full-width space
constexpr int kPanel2Height = 41;
constexpr RECT kButton1Bounds{8, 8, 8 + 97, 8 + 25};
constexpr int kButtonGap = 6;       // between two buttons, and between the buttons and the status text
constexpr int kButtonPadding = 12;  // either side of a caption, the mark button being as wide as its caption
constexpr int kWarningInset = 4;    // above the short-read warning
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

// The mark button never takes that look, even with the focus: Enter is Button1's.
LRESULT CALLBACK KeepPlain(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == BM_SETSTYLE && (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
    wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_PUSHBUTTON;
  return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

// The status line: its text centred in the room right of the buttons in front of it, so that no button
// hides any of it; a text wider than that room (a narrow window) goes into two lines at the room's left
// edge, the first as full as it can be.
LRESULT CALLBACK StatusBar::PaintStatusLine(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
  if (message == WM_SETTEXT) {  // kept, and painted here rather than by the static control itself
    const LRESULT result = DefWindowProcW(label, message, wParam, lParam);
    InvalidateRect(label, nullptr, FALSE);
    return result;
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefSubclassProc(label, message, wParam, lParam);
  const auto& bar = *reinterpret_cast<const StatusBar*>(data);
  PaintScope paint(label);
  RECT client;
  GetClientRect(label, &client);
  FillRect(paint.Dc(), &client, bar.statusBrush_.Get());
  RECT room = client;
  for (HWND button : {bar.Button1, bar.markButton_, bar.xlsxButton_}) {
    if (button == nullptr || !IsWindowVisible(button)) continue;
    RECT bounds;
    GetWindowRect(button, &bounds);
    MapWindowPoints(nullptr, label, reinterpret_cast<POINT*>(&bounds), 2);
    room.left = std::max<LONG>(room.left, bounds.right + Scaled(kButtonGap, bar.dpi_));
  }
  wchar_t text[512];
  const int length = GetWindowTextW(label, text, 512);
  ScopedSelectObject selectFont(paint.Dc(), bar.font_);
  SetBkMode(paint.Dc(), TRANSPARENT);
  SetTextColor(paint.Dc(), GetSysColor(COLOR_WINDOWTEXT));
  RECT measured{0, 0, 0, 0};
  DrawTextW(paint.Dc(), text, length, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int roomWidth = std::max<int>(room.right - room.left, 1);
  if (measured.right <= roomWidth) {
    DrawTextW(paint.Dc(), text, length, &room, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CENTER);
    return 0;
  }
  int fit = 0;
  SIZE size{};
  GetTextExtentExPointW(paint.Dc(), text, length, roomWidth, &fit, nullptr, &size);
  fit = std::clamp(fit, 1, length);
  const int lineHeight = measured.bottom;
  RECT line = room;
  line.top = std::max<LONG>((client.bottom - 2 * lineHeight) / 2, 0);
  line.bottom = line.top + lineHeight;
  DrawTextW(paint.Dc(), text, fit, &line, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
  OffsetRect(&line, 0, lineHeight);
  DrawTextW(paint.Dc(), text + fit, length - fit, &line,
            DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);
  return 0;
}

namespace {

// The width a push button needs for its caption, the mnemonic's & left out.
int CaptionWidth(HWND button, HFONT font) {
  wchar_t caption[128];
  std::wstring shown;
  const int length = GetWindowTextW(button, caption, 128);
  for (int i = 0; i < length; ++i) {
    if (caption[i] != L'&') shown += caption[i];
  }
  WindowDc dc(button);
  ScopedSelectObject selectFont(dc.Dc(), font);
  SIZE size{};
  GetTextExtentPoint32W(dc.Dc(), shown.c_str(), static_cast<int>(shown.size()), &size);
  return size.cx;
}

}  // namespace

void KeepPlainLook(HWND button) {
  SetWindowSubclass(button, KeepPlain, 0, 0);
}

void StatusBar::Create(HWND form, HFONT font, UINT dpi, bool workbook) {
  font_ = font;
  dpi_ = dpi;
  const HINSTANCE instance = InstanceOf(form);
  statusBrush_ = Brush(CreateSolidBrush(kStatusColour));
  warningBrush_ = Brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
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
  SetWindowSubclass(LabelA1, PaintStatusLine, 0, reinterpret_cast<DWORD_PTR>(this));
  // Disabled and out of sight until the count has run: the progress texts keep the room they always had.
  markButton_ = CreateWindowExW(0, L"BUTTON", kMarkButtonCaption,
                                WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | WS_DISABLED | BS_PUSHBUTTON, 0, 0,
                                0, 0, Panel2, ControlId(kIdMarkButton), instance, nullptr);
  // In front of the label, after Button1 for the Tab key.
  SetWindowPos(markButton_, Button1, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  KeepPlainLook(markButton_);
  if (workbook) {
    xlsxButton_ = CreateWindowExW(0, L"BUTTON", kXlsxButtonCaption,
                                  WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON, 0, 0, 0, 0, Panel2,
                                  ControlId(kIdSaveXlsxButton), instance, nullptr);
    SetWindowPos(xlsxButton_, markButton_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    KeepPlainLook(xlsxButton_);
    SetControlFont(xlsxButton_, font);
  }
  // Hidden until a read falls short; then Panel2 grows to show it below the status line.
  warning_ = CreateWindowExW(0, L"STATIC", WidenUtf8(kShortReadWarning).c_str(),
                             WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, Panel2,
                             ControlId(kIdStatusWarning), instance, nullptr);
  for (HWND control : {LabelA1, Button1, markButton_, warning_}) SetControlFont(control, font);
}

void StatusBar::PlaceBehind(HWND window) const {
  SetWindowPos(Panel2, window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void StatusBar::ShowCountButtons(bool markable) const {
  EnableWindow(markButton_, markable ? TRUE : FALSE);
  ShowWindow(markButton_, SW_SHOWNA);
  if (xlsxButton_ != nullptr) ShowWindow(xlsxButton_, SW_SHOWNA);
  InvalidateRect(LabelA1, nullptr, FALSE);
}

void StatusBar::ShowShortReadWarning() const {
  ShowWindow(warning_, SW_SHOWNA);
}

void StatusBar::SetDpi(UINT dpi, HFONT font) {
  dpi_ = dpi;
  font_ = font;
  for (HWND control : {Panel2, LabelA1, Button1, markButton_, xlsxButton_, warning_}) {
    if (control != nullptr) SetControlFont(control, font);
  }
}

int StatusBar::Layout(int width, int height, bool shortRead) const {
  const auto scaled = [this](int pixels) { return Scaled(pixels, dpi_); };
  const int left = scaled(kButton1Bounds.left);
  const int barHeight = scaled(kPanel2Height);
  const int warningWidth = width - 2 * left;
  const int warningHeight =
      shortRead ? WrappedTextHeight(warning_, font_, WidenUtf8(kShortReadWarning), warningWidth) +
                      scaled(kWarningInset)
                : 0;
  const int panel2Height = barHeight + warningHeight;
  // The bevels stay one pixel wide.
  PlaceControl(Panel2, 0, height - panel2Height, width, panel2Height);
  PlaceControl(LabelA1, 1, 1, width - 2, barHeight - 2);
  const int buttonHeight = scaled(kButton1Bounds.bottom - kButton1Bounds.top);
  const int button1Width = scaled(kButton1Bounds.right - kButton1Bounds.left);
  PlaceControl(Button1, left, scaled(kButton1Bounds.top), button1Width, buttonHeight);
  // The buttons after Button1, each as wide as its caption.
  int x = left + button1Width;
  for (HWND button : {markButton_, xlsxButton_}) {
    if (button == nullptr) continue;
    const int width = CaptionWidth(button, font_) + 2 * scaled(kButtonPadding);
    x += scaled(kButtonGap);
    PlaceControl(button, x, scaled(kButton1Bounds.top), width, buttonHeight);
    x += width;
  }
  InvalidateRect(LabelA1, nullptr, FALSE);
  PlaceControl(warning_, left, barHeight - 1, warningWidth, warningHeight);
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
  if (control == warning_) {
    SetTextColor(dc, kWarningColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(warningBrush_.Get());
    return true;
  }
  if (control == LabelA1) {
    SetBkColor(dc, kStatusColour);
    result = reinterpret_cast<LRESULT>(statusBrush_.Get());
    return true;
  }
  return false;
}

}  // namespace jwcount
