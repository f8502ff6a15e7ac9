#include "app/win32/WindowBounds.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/view/ScreenFit.h"

namespace jwcount {
namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(
        {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
  }
  return TRUE;
}

std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

}  // namespace

void ApplyPlacement(HWND window, const WindowPlacement& placement) {
  const auto clampToInt = [](long long value) {
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
  };
  const ScreenRect stored{placement.Left, placement.Top,
                          clampToInt(static_cast<long long>(placement.Left) + placement.Width),
                          clampToInt(static_cast<long long>(placement.Top) + placement.Height)};
  const ScreenRect shown = KeepOnScreen(stored, WorkAreas());
  SetWindowPos(window, nullptr, shown.Left, shown.Top, placement.Width, placement.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowPlacement WindowBounds(HWND window) {
  RECT rect;
  if (IsIconic(window)) {
    WINDOWPLACEMENT state{};
    state.length = sizeof state;
    GetWindowPlacement(window, &state);
    rect = state.rcNormalPosition;
  } else {
    GetWindowRect(window, &rect);
  }
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void RestorePlacement(HWND window, const std::filesystem::path& programPath, UINT dpi) {
  const std::filesystem::path file = PlacementPath(programPath);
  const WindowPlacement placement = LoadPlacement(NativeFileSystem(), file);
  const bool stored = NativeFileSystem().Exists(file);
  ApplyPlacement(window, PlacementAtDpi(placement, stored, static_cast<int32_t>(dpi)));
}

void KeepPlacement(HWND window, const std::filesystem::path& programPath) {
  SavePlacement(NativeFileSystem(), PlacementPath(programPath), WithMinimums(WindowBounds(window)));
}

}  // namespace jwcount
