// Program entry: the application window that carries the title "要素数表示 (jwcount)" on the taskbar, the
// main window Form1 owned by it, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include "app/win32/ControlIds.h"
#include "app/win32/FormMessages.h"
#include "app/win32/Unit1.h"
#include "app/win32/WinUtil.h"

namespace jwcount {
namespace {

constexpr wchar_t kApplicationTitle[] = L"要素数表示 (jwcount)";

// The application window is never seen itself (it has no size); it holds the taskbar entry, minimises and
// restores the main window with it, and hands the activation on to the main window.
struct Application {
  HWND hwnd = nullptr;
  HWND form = nullptr;  // Form1, once it exists

  static Application* Attach(HWND hwnd, const CREATESTRUCTW& create);
  static void Detach(Application* application) { application->hwnd = nullptr; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return RouteMessage(*this, hwnd, message, wParam, lParam);
  }

  void OnActivate(WORD state);
  LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
  void OnClose();
};

Application* Application::Attach(HWND hwnd, const CREATESTRUCTW& create) {
  auto* application = static_cast<Application*>(create.lpCreateParams);
  application->hwnd = hwnd;
  return application;
}

void Application::OnActivate(WORD state) {
  if (state != WA_INACTIVE && form != nullptr && IsWindowVisible(form)) SetActiveWindow(form);
}

LRESULT Application::OnSysCommand(WPARAM command, LPARAM lParam) {
  if ((command & 0xFFF0) != SC_CLOSE) return DefWindowProcW(hwnd, WM_SYSCOMMAND, command, lParam);
  OnClose();
  return 0;
}

// Closing the application closes Form1, which ends the program.
void Application::OnClose() {
  if (form != nullptr) PostMessageW(form, WM_CLOSE, 0, 0);
}

HWND CreateApplicationWindow(HINSTANCE instance, Application& application) {
  RegisterWindowClass<Application>(instance, kApplicationClass,
                                   {.Icon = LoadIconW(instance, MAKEINTRESOURCEW(1))});
  return CreateWindowExW(0, kApplicationClass, kApplicationTitle,
                         WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                         GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                         nullptr, instance, &application);
}

// True when the command line asks for the table answer: "/table" (or "-table"), in any case, after the
// program's name. The words are split at blanks; quotes matter only around the program's name.
bool TableOptionGiven(const wchar_t* commandLine) {
  const wchar_t* p = commandLine;
  if (*p == L'"') {
    for (++p; *p != L'\0' && *p != L'"'; ++p) {
    }
    if (*p == L'"') ++p;
  }
  while (*p != L'\0' && *p != L' ' && *p != L'\t') ++p;
  while (*p != L'\0') {
    while (*p == L' ' || *p == L'\t') ++p;
    const wchar_t* word = p;
    while (*p != L'\0' && *p != L' ' && *p != L'\t') ++p;
    const int length = static_cast<int>(p - word);
    if (length == 6 && (CompareStringOrdinal(word, length, L"/table", 6, TRUE) == CSTR_EQUAL ||
                        CompareStringOrdinal(word, length, L"-table", 6, TRUE) == CSTR_EQUAL)) {
      return true;
    }
  }
  return false;
}

int Run(HINSTANCE instance, bool drawTable) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  Application application;
  CreateApplicationWindow(instance, application);
  TForm1::RegisterClasses(instance);
  TForm1 form(drawTable);
  if (!form.Create(instance, application.hwnd)) {
    if (application.hwnd != nullptr) DestroyWindow(application.hwnd);
    return 1;
  }
  application.form = form.Handle();
  ShowWindow(application.hwnd, SW_SHOWNOACTIVATE);
  // Showing the window runs FormShow (reading and placement) just before it becomes visible.
  ShowWindow(form.Handle(), SW_SHOW);
  UpdateWindow(form.Handle());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (application.hwnd != nullptr) DestroyWindow(application.hwnd);
  return 0;
}

}  // namespace
}  // namespace jwcount

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return jwcount::Run(instance, jwcount::TableOptionGiven(GetCommandLineW()));
}
