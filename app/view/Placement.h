// The window placement file: the main window's left, top, width and height, kept beside the program
// in a file named after it with the extension ".dat", one signed decimal number per line.
#pragma once

#include <cstdint>
#include <filesystem>

#include "tempfile/FileIo.h"

namespace jwcount {

struct WindowPlacement {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 475;
  int32_t Height = 475;
};

inline constexpr int32_t kMinPlacementWidth = 475;
inline constexpr int32_t kMinPlacementHeight = 200;

// The placement with width and height raised to their minimums; left and top are kept as they are.
WindowPlacement WithMinimums(WindowPlacement placement);

// The window's sizes are designed at 96 DPI and scaled to the DPI of its monitor.
inline constexpr int32_t kDesignDpi = 96;

// A size designed at 96 DPI, in pixels at the DPI: rounded to the nearest pixel, a half away from zero
// (as Windows' MulDiv rounds).
constexpr int32_t ScaledToDpi(int32_t designPixels, int32_t dpi) {
  const int64_t scaled = static_cast<int64_t>(designPixels) * dpi;
  const int64_t half = kDesignDpi / 2;
  return static_cast<int32_t>(scaled >= 0 ? (scaled + half) / kDesignDpi : (scaled - half) / kDesignDpi);
}

// Where the window goes at a DPI: a stored placement as stored, only raised to the minimums at that DPI; the
// defaults (no placement file) scaled to it as a whole, since they were never anybody's choice.
WindowPlacement PlacementAtDpi(WindowPlacement placement, bool stored, int32_t dpi);

// The placement file of a program: its path with the extension replaced by ".dat".
std::filesystem::path PlacementPath(const std::filesystem::path& programPath);

// Reads left, top, width and height from four lines; a missing or unreadable line counts as 0, and the
// minimums apply at the end. Without a file the defaults (0, 0, 475, 475) stand; when the file cannot be
// opened or a read fails, the lines read before stand and the rest keep their defaults. Never throws.
WindowPlacement LoadPlacement(FileSystem& fileSystem, const std::filesystem::path& path);

// Writes the four values, each on a line ending in CR LF, replacing the file. On any failure no file is
// left behind at the path. Never throws.
void SavePlacement(FileSystem& fileSystem, const std::filesystem::path& path,
                   const WindowPlacement& placement);

}  // namespace jwcount
