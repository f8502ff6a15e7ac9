// Program entry: the application window that carries the title "wq47_要素数表示" on the taskbar, the main
// window Form1 owned by it, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include <string_view>

#include "ControlIds.h"
#include "Unit1.h"
#include "WinText.h"

namespace jwcount {
namespace {

constexpr std::string_view kApplicationTitle =
    "wq47_\x97v\x91"
    "f\x90\x94\x95\\\x8E\xA6";  // wq47_要素数表示

// The application window is never seen itself (it has no size); it holds the taskbar entry, minimises and
// restores the main window with it, and hands the activation on to the main window.
LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND form = reinterpret_cast<HWND>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && form != nullptr && IsWindowVisible(form)) SetActiveWindow(form);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (form != nullptr) PostMessageW(form, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (form != nullptr) PostMessageW(form, WM_CLOSE, 0, 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateApplicationWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ApplicationProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = kApplicationClass;
  RegisterClassExW(&windowClass);
  return CreateWindowExW(0, kApplicationClass, Widen(kApplicationTitle).c_str(),
                         WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                         GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                         nullptr, instance, nullptr);
}

int Run(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  HWND application = CreateApplicationWindow(instance);
  TForm1::RegisterClasses(instance);
  TForm1 form;
  if (!form.Create(instance, application)) return 1;
  SetWindowLongPtrW(application, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form.Handle()));
  ShowWindow(application, SW_SHOWNOACTIVATE);
  // Showing the window runs FormShow (reading and placement) just before it becomes visible.
  ShowWindow(form.Handle(), SW_SHOW);
  UpdateWindow(form.Handle());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyWindow(application);
  return 0;
}

}  // namespace
}  // namespace jwcount

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return jwcount::Run(instance);
}
