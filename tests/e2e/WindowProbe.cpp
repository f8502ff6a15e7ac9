// The window probe: a console program that runs beside jwcount.exe (under Wine in the tests) and reads
// the main window back through its controls. Texts are printed as UTF-8, one result per line.
//
//   jwcount-probe wait MS                   wait until the main window is visible
//   jwcount-probe wait-gone MS              wait until the main window has gone
//   jwcount-probe wait-text ID MS HEX       wait until control ID shows the text whose UTF-8 bytes are HEX
//   jwcount-probe text ID                   the text of control ID
//   jwcount-probe rect ID                   screen rectangle of control ID (0: the main window) as X Y W H
//   jwcount-probe window                    main window: X Y W H, its caption, the application title
//   jwcount-probe whole ID...               of the controls ID..., those that show whole: visible, inside
//                                           their parent's client area, overlapping no visible sibling of
//                                           another class
//   jwcount-probe lines-readable ID         1 when every line of edit control ID can be read: none ends
//                                           beyond its right edge, and they fit its height or its scroll
//                                           bar scrolls them; else 0
//   jwcount-probe resize W H                gives the main window that size, as dragging its frame does
//   jwcount-probe visible ID                1 when control ID is visible, else 0
//   jwcount-probe checked ID                1 when button ID is checked, else 0
//   jwcount-probe enabled ID                1 when control ID is enabled, else 0
//   jwcount-probe focus                     the identifier of the control that has the focus
//   jwcount-probe row-height GRID           the height of a row of grid SG<GRID> in pixels
//   jwcount-probe tabs-fit                  1 when every tab of PageControl1 shows whole: inside the tab
//                                           control, above the sheet shown, no scroll arrows; else 0
//   jwcount-probe tab-rows                  the number of rows of tabs of PageControl1
//   jwcount-probe cells GRID C1 R1 C2 R2    selects the range in grid SG<GRID> and prints its text (a
//                                           negative number counts from the end: -1 the last row)
//   jwcount-probe copy GRID C1 R1 C2 R2     the same through the clipboard (the grid's copy command)
//   jwcount-probe click ID X Y              a left click at X, Y in control ID, sent and answered at once;
//                                           prints the milliseconds the control took
//   jwcount-probe tooltip MS                waits for a tip of the program to show, prints its text
//   jwcount-probe menu MS                   waits for a context menu of the program to be open
//   jwcount-probe dialog MS                 waits for a dialog of the program (Save, message box), prints
//                                           its title, then "ID CLASS TEXT" for each control with a text
//   jwcount-probe hold FILE MS              opens FILE sharing nothing, prints "held", keeps it open until
//                                           the main window shows (at most MS), then ends
//   jwcount-probe keep-open FILE MS         opens FILE as Excel opens a workbook it shows (others may only
//                                           read it), prints "held", keeps it open until the main window
//                                           has gone (at most MS), then ends
//   jwcount-probe clipboard                 the Unicode text on the clipboard
//   jwcount-probe close                     asks the main window to close, as its close box does
//   jwcount-probe close-at-once MS          waits for the main window, asks it to close at once (before
//                                           its count) and prints the status line and Label1 as they were
//                                           when it appeared, line by line
//
// Exit code 0 on success, 1 when the window or control is missing or a wait timed out, 2 on bad usage.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "app/win32/ControlIds.h"
#include "app/win32/StringGrid.h"

namespace {

constexpr UINT kSendTimeout = 10000;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                      nullptr);
  return bytes;
}

// Text given as the hexadecimal digits of its UTF-8 bytes, so that the command line stays ASCII whatever
// the locale the test runs in.
std::wstring FromHex(const wchar_t* hex) {
  std::string bytes;
  for (std::size_t i = 0; hex[i] != L'\0' && hex[i + 1] != L'\0'; i += 2) {
    const wchar_t pair[3] = {hex[i], hex[i + 1], L'\0'};
    bytes += static_cast<char>(std::wcstol(pair, nullptr, 16));
  }
  if (bytes.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
  return text;
}

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

HWND MainWindow() {
  HWND form = FindWindowW(jwcount::kForm1Class, nullptr);
  return form != nullptr && IsWindowVisible(form) ? form : nullptr;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64];
  const int length = GetClassNameW(hwnd, name, 64);
  return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

// A visible top-level window of the program's process with the class given.
struct TopLevel {
  DWORD process;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<TopLevel*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->process || !IsWindowVisible(hwnd) || ClassOf(hwnd) != search->className) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND ProgramWindow(const wchar_t* className) {
  HWND form = FindWindowW(jwcount::kForm1Class, nullptr);
  if (form == nullptr) return nullptr;
  TopLevel search{0, className, nullptr};
  GetWindowThreadProcessId(form, &search.process);
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND Control(int id) {
  HWND form = MainWindow();
  if (form == nullptr || id == 0) return form;
  Search search{id, nullptr};
  EnumChildWindows(form, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The text of a window in another process; WM_GETTEXT is carried across by the system.
std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      kSendTimeout, &copied);
  text.resize(copied);
  return text;
}

// The text a window keeps itself, read without a message, so without waiting for its program.
std::wstring StoredText(HWND hwnd) {
  wchar_t text[256];
  const int length = InternalGetWindowText(hwnd, text, 256);
  return std::wstring(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool WaitFor(int milliseconds, bool (*ready)(const void*), const void* data) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (;;) {
    if (ready(data)) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

// The rectangles of the tabs of a tab control in another process, in its client coordinates: the
// control writes each into a RECT it is given the address of, so that RECT lives in its process.
bool TabRects(HWND tabs, std::vector<RECT>& rects) {
  DWORD process = 0;
  GetWindowThreadProcessId(tabs, &process);
  HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
  if (handle == nullptr) return false;
  void* remote = VirtualAllocEx(handle, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD_PTR count = 0;
  bool read = remote != nullptr &&
              SendMessageTimeoutW(tabs, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &count) != 0;
  for (DWORD_PTR i = 0; read && i < count; ++i) {
    DWORD_PTR done = 0;
    RECT rect{};
    read = SendMessageTimeoutW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                               kSendTimeout, &done) != 0 &&
           done != 0 && ReadProcessMemory(handle, remote, &rect, sizeof rect, nullptr) != 0;
    rects.push_back(rect);
  }
  if (remote != nullptr) VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
  CloseHandle(handle);
  return read;
}

// Every tab lies whole inside the tab control and above the sheet shown, and no scroll arrows stand
// beside the tabs.
bool TabsFit(HWND tabs) {
  HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
  if (arrows != nullptr && IsWindowVisible(arrows)) return false;
  std::vector<RECT> rects;
  if (!TabRects(tabs, rects) || rects.empty()) return false;
  RECT client;
  GetClientRect(tabs, &client);
  // The top of the sheet shown, in the tab control's client coordinates.
  LONG sheetTop = client.bottom;
  for (int page = 0; page < static_cast<int>(rects.size()); ++page) {
    HWND sheet = GetDlgItem(GetParent(tabs), jwcount::kIdTabSheet1 + page);
    if (sheet == nullptr || !IsWindowVisible(sheet)) continue;
    RECT rect;
    GetWindowRect(sheet, &rect);
    POINT top{rect.left, rect.top};
    ScreenToClient(tabs, &top);
    sheetTop = top.y;
  }
  for (const RECT& rect : rects) {
    if (rect.left < 0 || rect.top < 0 || rect.right > client.right || rect.bottom > sheetTop ||
        rect.right <= rect.left || rect.bottom <= rect.top)
      return false;
  }
  return true;
}

struct Overlap {
  HWND control;
  RECT rect;
  bool found;
};

BOOL CALLBACK FindOverlap(HWND hwnd, LPARAM data) {
  auto* overlap = reinterpret_cast<Overlap*>(data);
  RECT rect, common;
  if (hwnd == overlap->control || GetParent(hwnd) != GetParent(overlap->control) || !IsWindowVisible(hwnd) ||
      ClassOf(hwnd) == ClassOf(overlap->control) || !GetWindowRect(hwnd, &rect) ||
      !IntersectRect(&common, &rect, &overlap->rect))
    return TRUE;
  overlap->found = true;
  return FALSE;
}

// Visible, inside its parent's client area and under no control of another kind beside it.
bool ShowsWhole(HWND control) {
  HWND parent = GetParent(control);
  RECT rect, client;
  if (parent == nullptr || !IsWindowVisible(control) || !GetWindowRect(control, &rect) ||
      !GetClientRect(parent, &client))
    return false;
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (rect.left < client.left || rect.top < client.top || rect.right > client.right ||
      rect.bottom > client.bottom)
    return false;
  Overlap overlap{control, rect, false};
  EnumChildWindows(parent, FindOverlap, reinterpret_cast<LPARAM>(&overlap));
  return !overlap.found;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeout, &result);
  return static_cast<LRESULT>(result);
}

// Every line of an edit control not scrolled ends inside it, and the lines fit its height or it shows a
// vertical scroll bar to scroll them. The places of its characters say where the lines lie.
bool LinesReadable(HWND edit) {
  RECT client;
  GetClientRect(edit, &client);
  const auto place = [edit](int index) {
    const auto at = static_cast<DWORD>(Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index)));
    return POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  };
  const auto lines = static_cast<int>(Send(edit, EM_GETLINECOUNT));
  if (lines < 2 || Send(edit, EM_GETFIRSTVISIBLELINE) != 0) return false;
  for (int line = 0; line < lines; ++line) {
    const auto start = static_cast<int>(Send(edit, EM_LINEINDEX, static_cast<WPARAM>(line)));
    const auto length = static_cast<int>(Send(edit, EM_LINELENGTH, static_cast<WPARAM>(start)));
    if (length < 2) continue;
    const POINT last = place(start + length - 1);
    const POINT before = place(start + length - 2);
    if (last.x + (last.x - before.x) > client.right)
      return false;  // the last character, as wide as the one before
  }
  const LONG top = place(0).y;
  const LONG lineHeight = place(static_cast<int>(Send(edit, EM_LINEINDEX, 1))).y - top;
  const bool scrolls = (GetWindowLongPtrW(edit, GWL_STYLE) & WS_VSCROLL) != 0;
  return lineHeight > 0 && (top + lines * lineHeight <= client.bottom || scrolls);
}

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top);
}

std::wstring ClipboardText() {
  std::wstring text;
  for (int attempt = 0; attempt < 40 && !OpenClipboard(nullptr); ++attempt) Sleep(50);
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data)); chars != nullptr) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

int Cells(int argc, wchar_t** argv, bool viaClipboard) {
  if (argc < 7) return 2;
  HWND grid = Control(jwcount::kIdSG1 + _wtoi(argv[2]) - 1);
  if (grid == nullptr) return 1;
  const WPARAM anchor = MAKEWPARAM(_wtoi(argv[3]), _wtoi(argv[4]));
  const LPARAM cursor = MAKELPARAM(_wtoi(argv[5]), _wtoi(argv[6]));
  DWORD_PTR result = 0;
  SendMessageTimeoutW(grid, jwcount::kGridSetSelection, anchor, cursor, SMTO_ABORTIFHUNG, kSendTimeout,
                      &result);
  std::wstring text;
  if (viaClipboard) {
    SendMessageTimeoutW(grid, WM_COPY, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &result);
    text = ClipboardText();
  } else {
    text = TextOf(grid);
  }
  std::string bytes = Utf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);  // rows already end in CR LF
  std::fflush(stdout);
  return 0;
}

BOOL CALLBACK PrintControlText(HWND hwnd, LPARAM) {
  const std::wstring text = TextOf(hwnd);
  if (!text.empty()) {
    Print(std::to_string(GetDlgCtrlID(hwnd)) + " " + Utf8(ClassOf(hwnd)) + " " + Utf8(text));
  }
  return TRUE;
}

int Dialog(int milliseconds) {
  if (!WaitFor(
          milliseconds, [](const void*) { return ProgramWindow(L"#32770") != nullptr; }, nullptr)) {
    return 1;
  }
  Sleep(300);  // the dialog fills its controls right after it shows
  HWND dialog = ProgramWindow(L"#32770");
  if (dialog == nullptr) return 1;
  Print(Utf8(TextOf(dialog)));
  EnumChildWindows(dialog, PrintControlText, 0);
  return 0;
}

int Tooltip(int milliseconds) {
  const bool shown = WaitFor(
      milliseconds,
      [](const void*) {
        HWND tip = ProgramWindow(TOOLTIPS_CLASSW);
        return tip != nullptr && !TextOf(tip).empty();
      },
      nullptr);
  if (!shown) return 1;
  Print(Utf8(TextOf(ProgramWindow(TOOLTIPS_CLASSW))));
  return 0;
}

// Sends a click as the mouse would, and times how long the control takes to answer it.
int Click(int id, int x, int y) {
  HWND control = Control(id);
  if (control == nullptr) return 1;
  DWORD_PTR result = 0;
  const LPARAM point = MAKELPARAM(x, y);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  SendMessageTimeoutW(control, WM_LBUTTONDOWN, MK_LBUTTON, point, SMTO_ABORTIFHUNG, kSendTimeout, &result);
  SendMessageTimeoutW(control, WM_LBUTTONUP, 0, point, SMTO_ABORTIFHUNG, kSendTimeout, &result);
  QueryPerformanceCounter(&end);
  Print(std::to_string((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart));
  return 0;
}

// Keeps the exchange file open for itself alone while the program reads it: the file is there, but the
// program cannot read it. (Wine does not hold a read back at another process's byte-range lock.)
int Hold(const wchar_t* path, int milliseconds) {
  HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  Print("held");
  WaitFor(
      milliseconds, [](const void*) { return MainWindow() != nullptr; }, nullptr);
  CloseHandle(file);
  return 0;
}

// Keeps a file open as Excel keeps the workbook it shows, so that the program cannot replace it.
int KeepOpen(const wchar_t* path, int milliseconds) {
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  Print("held");
  WaitFor(
      milliseconds, [](const void*) { return MainWindow() == nullptr; }, nullptr);
  CloseHandle(file);
  return 0;
}

int Main(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  if (command == L"wait" && argc >= 3) {
    return WaitFor(
               _wtoi(argv[2]), [](const void*) { return MainWindow() != nullptr; }, nullptr)
               ? 0
               : 1;
  }
  if (command == L"wait-gone" && argc >= 3) {
    return WaitFor(
               _wtoi(argv[2]),
               [](const void*) { return FindWindowW(jwcount::kForm1Class, nullptr) == nullptr; }, nullptr)
               ? 0
               : 1;
  }
  if (command == L"wait-text" && argc >= 5) {
    struct Wanted {
      int id;
      std::wstring text;
    } wanted{_wtoi(argv[2]), FromHex(argv[4])};
    const bool shown = WaitFor(
        _wtoi(argv[3]),
        [](const void* data) {
          const auto* w = static_cast<const Wanted*>(data);
          HWND control = Control(w->id);
          return control != nullptr && TextOf(control) == w->text;
        },
        &wanted);
    if (!shown) {
      HWND control = Control(wanted.id);
      Print(control == nullptr ? std::string("(no control)") : Utf8(TextOf(control)));
    }
    return shown ? 0 : 1;
  }
  if (command == L"text" && argc >= 3) {
    HWND control = Control(_wtoi(argv[2]));
    if (control == nullptr) return 1;
    Print(Utf8(TextOf(control)));
    return 0;
  }
  if (command == L"visible" && argc >= 3) {
    HWND control = Control(_wtoi(argv[2]));
    if (control == nullptr) return 1;
    Print(IsWindowVisible(control) ? "1" : "0");
    return 0;
  }
  if (command == L"enabled" && argc >= 3) {
    HWND control = Control(_wtoi(argv[2]));
    if (control == nullptr) return 1;
    Print(IsWindowEnabled(control) ? "1" : "0");
    return 0;
  }
  if (command == L"checked" && argc >= 3) {
    HWND button = Control(_wtoi(argv[2]));
    DWORD_PTR state = 0;
    if (button == nullptr ||
        !SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &state))
      return 1;
    Print(state == BST_CHECKED ? "1" : "0");
    return 0;
  }
  if (command == L"focus") {
    HWND form = MainWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (form == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) return 1;
    Print(std::to_string(info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0));
    return 0;
  }
  if (command == L"row-height" && argc >= 3) {
    HWND grid = Control(jwcount::kIdSG1 + _wtoi(argv[2]) - 1);
    DWORD_PTR height = 0;
    if (grid == nullptr ||
        !SendMessageTimeoutW(grid, jwcount::kGridGetRowHeight, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &height))
      return 1;
    Print(std::to_string(height));
    return 0;
  }
  if (command == L"tabs-fit") {
    HWND tabs = Control(jwcount::kIdPageControl1);
    if (tabs == nullptr) return 1;
    Print(TabsFit(tabs) ? "1" : "0");
    return 0;
  }
  if (command == L"tab-rows") {
    HWND tabs = Control(jwcount::kIdPageControl1);
    DWORD_PTR rows = 0;
    if (tabs == nullptr ||
        !SendMessageTimeoutW(tabs, TCM_GETROWCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeout, &rows))
      return 1;
    Print(std::to_string(rows));
    return 0;
  }
  if (command == L"rect" && argc >= 3) {
    HWND control = Control(_wtoi(argv[2]));
    if (control == nullptr) return 1;
    RECT rect;
    GetWindowRect(control, &rect);
    Print(RectText(rect));
    return 0;
  }
  if (command == L"whole") {
    std::string shown;
    for (int i = 2; i < argc; ++i) {
      HWND control = Control(_wtoi(argv[i]));
      if (control != nullptr && ShowsWhole(control)) shown += (shown.empty() ? "" : " ") + Utf8(argv[i]);
    }
    Print(shown);
    return 0;
  }
  if (command == L"lines-readable" && argc >= 3) {
    HWND edit = Control(_wtoi(argv[2]));
    if (edit == nullptr) return 1;
    Print(LinesReadable(edit) ? "1" : "0");
    return 0;
  }
  if (command == L"window") {
    HWND form = MainWindow();
    if (form == nullptr) return 1;
    RECT rect;
    GetWindowRect(form, &rect);
    Print(RectText(rect));
    Print(Utf8(TextOf(form)));
    HWND owner = GetWindow(form, GW_OWNER);
    Print(owner == nullptr ? std::string() : Utf8(TextOf(owner)));
    return 0;
  }
  if (command == L"resize" && argc >= 4) {
    HWND form = MainWindow();
    return form != nullptr && SetWindowPos(form, nullptr, 0, 0, _wtoi(argv[2]), _wtoi(argv[3]),
                                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  }
  if (command == L"clipboard") {
    const std::string bytes = Utf8(ClipboardText());
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
  }
  if (command == L"close" || (command == L"close-at-once" && argc >= 3)) {
    if (command != L"close" &&
        !WaitFor(
            _wtoi(argv[2]), [](const void*) { return MainWindow() != nullptr; }, nullptr)) {
      return 1;
    }
    HWND form = MainWindow();
    if (form == nullptr) return 1;
    std::wstring status, label1;
    if (command != L"close") {
      // Read without a message, so that the close request follows the window's appearance at once. It
      // then comes before the count however slow the program is: the count waits for a timer, and a
      // posted message always goes before a timer's.
      status = StoredText(Control(jwcount::kIdLabelA1));
      label1 = StoredText(Control(jwcount::kIdLabel1));
    }
    if (!PostMessageW(form, WM_CLOSE, 0, 0)) return 1;
    if (command != L"close") {
      Print(Utf8(status));
      Print(Utf8(label1));
    }
    return 0;
  }
  if (command == L"cells") return Cells(argc, argv, false);
  if (command == L"copy") return Cells(argc, argv, true);
  if (command == L"click" && argc >= 5) return Click(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]));
  if (command == L"tooltip" && argc >= 3) return Tooltip(_wtoi(argv[2]));
  if (command == L"menu" && argc >= 3) {
    return WaitFor(
               _wtoi(argv[2]), [](const void*) { return ProgramWindow(L"#32768") != nullptr; }, nullptr)
               ? 0
               : 1;
  }
  if (command == L"dialog" && argc >= 3) return Dialog(_wtoi(argv[2]));
  if (command == L"hold" && argc >= 4) return Hold(argv[2], _wtoi(argv[3]));
  if (command == L"keep-open" && argc >= 4) return KeepOpen(argv[2], _wtoi(argv[3]));
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // the grid's rows already end in CR LF
  // Rectangles in the screen's own pixels at any DPI, as the window (which scales itself) has them.
  SetProcessDPIAware();
  return Main(argc, argv);
}
