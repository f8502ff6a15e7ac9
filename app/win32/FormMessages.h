// The messages of the program's top-level windows (the application window of Main.cpp and Form1), taken
// apart in one place: a window answers a message by having its handler (OnSize, OnCommand, ...), and what
// it has no handler for gets the default handling. A window whose handlers are private makes RouteMessage
// its friend.
#pragma once

#include <windows.h>

#include <windowsx.h>

namespace jwcount {

template <class W>
LRESULT RouteMessage(W& window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:  // then the default handling
      if constexpr (requires { window.OnShowWindow(true); }) window.OnShowWindow(wParam != 0);
      break;
    case WM_SIZE:
      if constexpr (requires { window.OnSize(); }) {
        window.OnSize();
        return 0;
      }
      break;
    case WM_TIMER:
      if constexpr (requires { window.OnTimer(UINT_PTR{}); }) {
        window.OnTimer(wParam);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      if constexpr (requires { window.OnDpiChanged(UINT{}, RECT{}); }) {
        window.OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
      }
      break;
    case WM_COMMAND:
      // A button's click (BN_CLICKED, 0) and a key of the accelerator table (1); a menu sends none here.
      if constexpr (requires { window.OnCommand(0); }) {
        if (HIWORD(wParam) <= 1) window.OnCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY:
      if constexpr (requires { window.OnNotify(NMHDR{}); }) {
        window.OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:  // from the control with the focus, where it takes no wheel of its own
      if constexpr (requires { window.OnMouseWheel(0); }) {
        if (window.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam))) return 0;
      }
      break;
    case WM_CONTEXTMENU:  // the default handling for a window the handler leaves
      if constexpr (requires { window.OnContextMenu(HWND{}, 0, 0); }) {
        if (window.OnContextMenu(reinterpret_cast<HWND>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
          return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if constexpr (requires { window.OnCtlColor(HDC{}); })
        return reinterpret_cast<LRESULT>(window.OnCtlColor(reinterpret_cast<HDC>(wParam)));
      break;
    case WM_ACTIVATE:
      if constexpr (requires { window.OnActivate(WORD{}); }) {
        window.OnActivate(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if constexpr (requires { window.OnSysCommand(WPARAM{}, LPARAM{}); })
        return window.OnSysCommand(wParam, lParam);
      break;
    case WM_CLOSE:
      if constexpr (requires { window.OnClose(); }) {
        window.OnClose();
        return 0;
      }
      break;
    case WM_DESTROY:
      if constexpr (requires { window.OnDestroy(); }) {
        window.OnDestroy();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace jwcount
