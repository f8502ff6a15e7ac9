#include "app/win32/Panel.h"

#include <new>

#include "app/win32/WinUtil.h"

namespace jwcount {
namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr int kCaptionCapacity = 256;

struct CreateParams {
  PanelStyle style;
  HFONT font;
};

struct Panel {
  HWND hwnd = nullptr;
  PanelStyle style;
  HFONT font = nullptr;
  Brush brush;
  PanelPart* part = nullptr;

  static Panel* Attach(HWND hwnd, const CREATESTRUCTW& create);
  static void Detach(Panel* panel) { delete panel; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Paint(HDC dc) const;
  void OnPaint() const;
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  void OnSize();
  LRESULT ToPart(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT ToParent(UINT message, WPARAM wParam, LPARAM lParam);
};

Panel* Panel::Attach(HWND hwnd, const CREATESTRUCTW& create) {
  const auto& params = *static_cast<const CreateParams*>(create.lpCreateParams);
  return new (std::nothrow)
      Panel{hwnd, params.style, params.font, Brush(CreateSolidBrush(params.style.Colour))};
}

void Panel::Paint(HDC dc) const {
  RECT rect;
  GetClientRect(hwnd, &rect);
  FillRect(dc, &rect, brush.Get());
  if (style.Bevel) DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
  if (!style.ShowCaption) return;
  wchar_t caption[kCaptionCapacity];
  const int length = GetWindowTextW(hwnd, caption, kCaptionCapacity);
  ScopedSelectObject selectFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, caption, length, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Panel::OnPaint() const {
  PaintScope paint(hwnd);
  Paint(paint.Dc());
}

LRESULT Panel::OnSetText(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
  InvalidateRect(hwnd, nullptr, FALSE);
  return result;
}

void Panel::OnSize() {
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT Panel::ToPart(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (part != nullptr && part->OnControlMessage(message, wParam, lParam, result)) return result;
  return ToParent(message, wParam, lParam);
}

LRESULT Panel::ToParent(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetParent(hwnd), message, wParam, lParam);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT:
      return OnSetText(wParam, lParam);
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_SETFONT:  // the caption's font (the window moved to a screen of another DPI)
      font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) != 0) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_VSCROLL:  // from a scroll bar control of the part
      return ToPart(message, wParam, lParam);
    case WM_CONTEXTMENU:  // as it is: the parent learns which control was clicked
      return ToParent(message, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterPanel(HINSTANCE instance) {
  RegisterWindowClass<Panel>(instance, kPanelClass, {.Cursor = ArrowCursor()});
}

HWND CreatePanel(HWND parent, int id, const wchar_t* caption, const PanelStyle& style, HFONT font) {
  CreateParams params{style, font};
  return CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, caption,
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                         ControlId(id), InstanceOf(parent), &params);
}

void SetPanelPart(HWND panel, PanelPart* part) {
  if (auto* state = reinterpret_cast<Panel*>(GetWindowLongPtrW(panel, GWLP_USERDATA)); state != nullptr)
    state->part = part;
}

}  // namespace jwcount
