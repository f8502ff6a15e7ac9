// The plumbing every window class of the program shares: one window procedure, one class registration,
// and owners for paint, device contexts, GDI objects and menus, so that no path out of a handler (an
// exception included) leaves a DC or an object behind.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace jwcount {

// The window procedure of every class. The window's state T is attached to its handle at WM_NCCREATE
// (through GWLP_USERDATA) and detached at WM_NCDESTROY, its last message. T supplies
//   static T* Attach(HWND hwnd, const CREATESTRUCTW& create);  the state of the new window; nullptr (or
//                                                               an exception) refuses the window
//   static void Detach(T* state);                               the window is gone
//   LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
// An exception (out of memory while building a text) ends the event it was raised in; the message then
// gets the default handling and the window stays usable.
template <class T>
LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  T* state = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    try {
      state = T::Attach(hwnd, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    } catch (...) {
      state = nullptr;
    }
    if (state == nullptr) return FALSE;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  if (state == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    T::Detach(state);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return state->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// What differs between the window classes besides their procedure.
struct WindowClassLook {
  UINT Style = 0;
  HICON Icon = nullptr;
  HICON SmallIcon = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
};

// Registers the class `name` with the window procedure of T; once per process.
template <class T>
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, const WindowClassLook& look) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = look.Style;
  windowClass.lpfnWndProc = WindowProc<T>;
  windowClass.hInstance = instance;
  windowClass.hIcon = look.Icon;
  windowClass.hIconSm = look.SmallIcon;
  windowClass.hCursor = look.Cursor;
  windowClass.hbrBackground = look.Background;
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

// The icon resource `id` at the size of a small icon (the caption's, the taskbar's).
inline HICON LoadSmallIcon(HINSTANCE instance, int id) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                       LR_DEFAULTCOLOR));
}

inline HCURSOR ArrowCursor() {
  return LoadCursorW(nullptr, IDC_ARROW);
}

// The wait cursor while the program works without handling messages (a workbook written, say); the cursor
// shown before it afterwards.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// A control identifier in the form CreateWindowExW takes it.
inline HMENU ControlId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

inline HINSTANCE InstanceOf(HWND hwnd) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE));
}

inline void SetControlFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// True while the key is held down, as of the message being handled.
inline bool KeyIsDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// BeginPaint .. EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintScope() { EndPaint(hwnd_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }

 private:
  PAINTSTRUCT paint_{};
  HWND hwnd_;
  HDC dc_;
};

// GetDC .. ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// CreateCompatibleDC .. DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
};

// SelectObject, and the previous object selected back at the end of the scope.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelectObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Owns a brush, font or bitmap and deletes it at the end.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Handle Get() const { return handle_; }

 private:
  void Reset() {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = nullptr;
  }
  Handle handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

// Moves and sizes a control without changing its place in the z-order; a negative size counts as 0.
inline void PlaceControl(HWND control, int x, int y, int width, int height) {
  SetWindowPos(control, nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The height of a text in the font, wrapped at words to the width as a multi-line static control wraps it.
inline int WrappedTextHeight(HWND window, HFONT font, const std::wstring& text, int width) {
  RECT bounds{0, 0, width > 1 ? width : 1, 0};
  WindowDc dc(window);
  ScopedSelectObject selectFont(dc.Dc(), font);
  DrawTextW(dc.Dc(), text.c_str(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  return bounds.bottom;
}

// CreateAcceleratorTableW .. DestroyAcceleratorTable.
class AcceleratorTable {
 public:
  AcceleratorTable() = default;
  explicit AcceleratorTable(HACCEL table) : table_(table) {}
  ~AcceleratorTable() {
    if (table_ != nullptr) DestroyAcceleratorTable(table_);
  }
  AcceleratorTable(AcceleratorTable&& other) noexcept : table_(std::exchange(other.table_, nullptr)) {}
  AcceleratorTable& operator=(AcceleratorTable&& other) noexcept {
    std::swap(table_, other.table_);
    return *this;
  }
  HACCEL Get() const { return table_; }

 private:
  HACCEL table_ = nullptr;
};

// CreatePopupMenu .. DestroyMenu.
class PopupMenu {
 public:
  PopupMenu() : menu_(CreatePopupMenu()) {}
  ~PopupMenu() {
    if (menu_ != nullptr) DestroyMenu(menu_);
  }
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  HMENU Get() const { return menu_; }

 private:
  HMENU menu_;
};

// The control a window gives the focus back to when it is activated again: the one that had it when the
// window was last deactivated, while that control is in sight.
class FocusMemory {
 public:
  void Deactivated(HWND window) {
    HWND focus = GetFocus();
    if (IsChild(window, focus)) last_ = focus;
  }
  void Activated(HWND fallback) const {
    SetFocus(last_ != nullptr && IsWindowVisible(last_) ? last_ : fallback);
  }

 private:
  HWND last_ = nullptr;
};

// WM_SYSCOMMAND of a window owned by the application window, which holds the taskbar entry: minimising
// minimises the owner; every other command gets the default handling.
inline LRESULT MinimiseThroughOwner(HWND window, WPARAM command, LPARAM lParam) {
  HWND owner = GetWindow(window, GW_OWNER);
  if ((command & 0xFFF0) != SC_MINIMIZE || owner == nullptr)
    return DefWindowProcW(window, WM_SYSCOMMAND, command, lParam);
  ShowWindow(owner, SW_MINIMIZE);
  return 0;
}

}  // namespace jwcount
