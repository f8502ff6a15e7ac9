#include "app/win32/LinkLabel.h"

#include <windowsx.h>

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

#include "app/win32/Dpi.h"
#include "app/win32/WinUtil.h"

namespace jwcount {
namespace {

constexpr wchar_t kLinkLabelClass[] = L"TLinkLabel";
// Links, as Windows draws them by default. The system's colour of links (COLOR_HOTLIGHT) is not used: the
// sheets are white whatever the scheme, and that colour is not always readable on white (Wine's is a pale
// grey).
constexpr COLORREF kLinkColour = RGB(0, 102, 204);
constexpr int kPadding = 2;      // around the text, for the focus rectangle
constexpr int kLineHeight = 13;  // one line of the window's font: the least height of the text
constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX;
constexpr std::wstring_view kSeparator = L", ";  // between two items of the text

struct CreateParams {
  COLORREF background;
  HFONT font;
  UINT dpi;
};

// The font underlined, as links are.
Font UnderlinedFont(HFONT font) {
  LOGFONTW look{};
  GetObjectW(font, sizeof look, &look);
  look.lfUnderline = TRUE;
  return Font(CreateFontIndirectW(&look));
}

// The size of a text of one or more lines in the font selected into the DC.
SIZE TextSize(HDC dc, std::wstring_view text) {
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | kTextFormat);
  return {bounds.right, bounds.bottom};
}

// The text broken into lines no wider than width where it is wider, only ever between two items (after
// their comma). An item wider than width alone takes a line of its own.
std::wstring WrappedBetweenItems(HDC dc, std::wstring_view text, int width) {
  std::wstring wrapped;
  std::size_t lineStart = 0;  // of the line being filled
  std::size_t lineEnd = 0;    // of its last item so far; lineStart while it holds none
  std::size_t start = 0;      // of the next item
  for (;;) {
    const std::size_t found = text.find(kSeparator, start);
    const std::size_t end = found == std::wstring_view::npos ? text.size() : found;
    if (lineEnd > lineStart && TextSize(dc, text.substr(lineStart, end - lineStart)).cx > width) {
      wrapped.append(text.substr(lineStart, lineEnd - lineStart)).append(L",\r\n");
      lineStart = start;
    }
    lineEnd = end;
    if (found == std::wstring_view::npos) break;
    start = found + kSeparator.size();
  }
  return wrapped.append(text.substr(lineStart));
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

struct LinkLabel {
  HWND hwnd = nullptr;
  Brush background;
  HFONT plainFont = nullptr;
  Font linkFont;  // plainFont underlined
  UINT dpi = 96;

  static LinkLabel* Attach(HWND hwnd, const CREATESTRUCTW& create);
  static void Detach(LinkLabel* label) { delete label; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Paint(HDC dc) const;
  void OnSetFont(HFONT font, bool redraw);
  void Clicked() const;
};

LinkLabel* LinkLabel::Attach(HWND hwnd, const CREATESTRUCTW& create) {
  const auto& params = *static_cast<const CreateParams*>(create.lpCreateParams);
  auto* label = new (std::nothrow) LinkLabel;
  if (label == nullptr) return nullptr;
  label->hwnd = hwnd;
  label->background = Brush(CreateSolidBrush(params.background));
  label->dpi = params.dpi;
  label->OnSetFont(params.font, false);
  return label;
}

// The text in the link's colour, underlined, broken as LinkLabelSize broke it for the layout (its lines
// all fit in the width made for them, and no longer ones do), and the focus rectangle while the label has
// the focus, as a push button draws it: not while the keyboard cues are hidden (the mouse alone was used).
void LinkLabel::Paint(HDC dc) const {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, background.Get());
  const int padding = Scaled(kPadding, dpi);
  RECT bounds = client;
  InflateRect(&bounds, -padding, -padding);
  {
    ScopedSelectObject selectFont(dc, linkFont.Get());
    const std::wstring shown = WrappedBetweenItems(dc, TextOf(hwnd), bounds.right - bounds.left);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(hwnd) ? kLinkColour : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &bounds, kTextFormat);
  }
  const auto cues = static_cast<UINT>(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0));
  if (GetFocus() == hwnd && (cues & UISF_HIDEFOCUS) == 0) DrawFocusRect(dc, &client);
}

void LinkLabel::OnSetFont(HFONT font, bool redraw) {
  plainFont = font;
  linkFont = UnderlinedFont(font);
  if (redraw) InvalidateRect(hwnd, nullptr, FALSE);
}

void LinkLabel::Clicked() const {
  SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd));
}

LRESULT LinkLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd);
      Paint(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SIZE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(plainFont);
    case WM_GETDLGCODE:  // a button, but never the default one: Enter stays the close button's
      return DLGC_BUTTON;
    case WM_LBUTTONDOWN:  // a click is a press and a release over the label, as on a button
      SetFocus(hwnd);
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) {
        ReleaseCapture();
        RECT client;
        GetClientRect(hwnd, &client);
        if (const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; PtInRect(&client, at)) Clicked();
      }
      return 0;
    // As on a push button, Space clicks when it is let go, after the character it typed has been handled
    // here; Enter clicks at once.
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) Clicked();
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) Clicked();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LinkLabel* LabelOf(HWND hwnd) {
  return reinterpret_cast<LinkLabel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

void RegisterLinkLabel(HINSTANCE instance) {
  RegisterWindowClass<LinkLabel>(instance, kLinkLabelClass, {.Cursor = LoadCursorW(nullptr, IDC_HAND)});
}

HWND CreateLinkLabel(HWND parent, int id, COLORREF background, HFONT font, UINT dpi) {
  CreateParams params{background, font, dpi};
  return CreateWindowExW(0, kLinkLabelClass, L"", WS_CHILD | WS_TABSTOP, 0, 0, 0, 0, parent, ControlId(id),
                         InstanceOf(parent), &params);
}

void SetLinkLabelDpi(HWND hwnd, UINT dpi, HFONT font) {
  if (LinkLabel* label = LabelOf(hwnd); label != nullptr) {
    label->dpi = dpi;
    label->OnSetFont(font, true);
  }
}

RECT PlaceLinkLabel(HWND hwnd, int x, int y, int room) {
  const LinkLabel* label = LabelOf(hwnd);
  if (label == nullptr) return {x, y, x, y};
  SIZE text{};
  {
    WindowDc dc(hwnd);
    ScopedSelectObject selectFont(dc.Dc(), label->linkFont.Get());
    text = TextSize(dc.Dc(), WrappedBetweenItems(dc.Dc(), TextOf(hwnd), room));
  }
  const int padding = Scaled(kPadding, label->dpi);
  const RECT placed{x - padding, y - padding, x + text.cx + padding,
                    y + std::max<int>(text.cy, Scaled(kLineHeight, label->dpi)) + padding};
  PlaceControl(hwnd, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top);
  return placed;
}

POINT LinkLabelTextEnd(HWND hwnd) {
  RECT bounds{};
  GetWindowRect(hwnd, &bounds);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&bounds), 2);
  const LinkLabel* label = LabelOf(hwnd);
  if (label == nullptr) return {bounds.right, bounds.top};
  const int padding = Scaled(kPadding, label->dpi);
  WindowDc dc(hwnd);
  ScopedSelectObject selectFont(dc.Dc(), label->linkFont.Get());
  // Broken into lines as Paint breaks it.
  const std::wstring wrapped =
      WrappedBetweenItems(dc.Dc(), TextOf(hwnd), bounds.right - bounds.left - 2 * padding);
  const std::size_t lastLine = wrapped.rfind(L'\n');
  const std::wstring_view last =
      std::wstring_view(wrapped).substr(lastLine == std::wstring::npos ? 0 : lastLine + 1);
  const SIZE whole = TextSize(dc.Dc(), wrapped);
  const SIZE end = TextSize(dc.Dc(), last);
  return {bounds.left + padding + end.cx, bounds.top + padding + whole.cy - end.cy};
}

}  // namespace jwcount
