#include "app/view/Placement.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "tempfile/LineReader.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

constexpr std::size_t kPlacementBlock = 4096;

// The four fields in file order.
int32_t* FieldOf(WindowPlacement& placement, int index) {
  switch (index) {
    case 0:
      return &placement.Left;
    case 1:
      return &placement.Top;
    case 2:
      return &placement.Width;
    default:
      return &placement.Height;
  }
}

// Reads the lines into the fields until four are read, the file ends or a read fails. A line the file
// does not have counts as empty text; after a failed read the remaining fields keep what they hold.
void ReadFields(InputFile& file, WindowPlacement& placement) {
  LineReader lines(file, kPlacementBlock);
  bool atEnd = false;
  for (int index = 0; index < 4; ++index) {
    std::string_view line;
    if (!atEnd) {
      const LineReader::Result result = lines.Next(line);
      if (result == LineReader::Result::kError) return;
      atEnd = result == LineReader::Result::kEnd;
    }
    *FieldOf(placement, index) = atEnd ? 0 : TextToInt(line);
  }
}

std::string PlacementText(const WindowPlacement& placement) {
  std::string text;
  for (int32_t value : {placement.Left, placement.Top, placement.Width, placement.Height}) {
    text += std::to_string(value);
    text += "\r\n";
  }
  return text;
}

}  // namespace

WindowPlacement WithMinimums(WindowPlacement placement) {
  placement.Width = std::max(placement.Width, kMinPlacementWidth);
  placement.Height = std::max(placement.Height, kMinPlacementHeight);
  return placement;
}

WindowPlacement PlacementAtDpi(WindowPlacement placement, bool stored, int32_t dpi) {
  if (!stored) {
    placement.Width = ScaledToDpi(placement.Width, dpi);
    placement.Height = ScaledToDpi(placement.Height, dpi);
  }
  placement.Width = std::max(placement.Width, ScaledToDpi(kMinPlacementWidth, dpi));
  placement.Height = std::max(placement.Height, ScaledToDpi(kMinPlacementHeight, dpi));
  return placement;
}

std::filesystem::path PlacementPath(const std::filesystem::path& programPath) {
  std::filesystem::path path = programPath;
  path.replace_extension(".dat");
  return path;
}

WindowPlacement LoadPlacement(FileSystem& fileSystem, const std::filesystem::path& path) {
  WindowPlacement placement;
  try {
    if (!fileSystem.Exists(path)) return placement;
    std::unique_ptr<InputFile> file = fileSystem.OpenForRead(path);
    if (file == nullptr) return placement;
    ReadFields(*file, placement);
    file->Close();  // an error from closing changes nothing that was read
  } catch (...) {
    // Out of memory while reading: the values read so far stand.
  }
  // The minimums hold even after a failed read, so that a half-read file never yields a tiny window.
  return WithMinimums(placement);
}

void SavePlacement(FileSystem& fileSystem, const std::filesystem::path& path,
                   const WindowPlacement& placement) {
  bool written = false;
  try {
    const std::string text = PlacementText(placement);
    if (std::unique_ptr<OutputFile> file = fileSystem.Create(path); file != nullptr) {
      const bool wrote = file->Write(text.data(), text.size());
      written = file->Close() && wrote;
    }
  } catch (...) {
    written = false;
  }
  if (!written && fileSystem.Exists(path)) fileSystem.Remove(path);
}

}  // namespace jwcount
