#include "Panel.h"

#include <new>

namespace jwcount {
namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";

struct Panel {
  PanelStyle style;
  HFONT font = nullptr;
  HBRUSH brush = nullptr;
};

struct CreateParams {
  PanelStyle style;
  HFONT font;
};

void Paint(HWND hwnd, const Panel& panel, HDC dc) {
  RECT rect;
  GetClientRect(hwnd, &rect);
  FillRect(dc, &rect, panel.brush);
  if (panel.style.Bevel) DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
  if (!panel.style.ShowCaption) return;
  wchar_t caption[256];
  const int length = GetWindowTextW(hwnd, caption, 256);
  HGDIOBJ oldFont = SelectObject(dc, panel.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(dc, caption, length, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* panel = reinterpret_cast<Panel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      const auto* params =
          static_cast<const CreateParams*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
      panel = new (std::nothrow) Panel{params->style, params->font, CreateSolidBrush(params->style.Colour)};
      if (panel == nullptr) return FALSE;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(panel));
      break;
    }
    case WM_NCDESTROY:
      if (panel != nullptr) {
        DeleteObject(panel->brush);
        delete panel;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (panel != nullptr) Paint(hwnd, *panel, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (panel != nullptr) Paint(hwnd, *panel, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterPanel(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = PanelProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPanelClass;
  RegisterClassExW(&windowClass);
}

HWND CreatePanel(HWND parent, int id, const wchar_t* caption, const PanelStyle& style, HFONT font,
                 DWORD extraStyle) {
  CreateParams params{style, font};
  return CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, caption,
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | extraStyle, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), &params);
}

}  // namespace jwcount
