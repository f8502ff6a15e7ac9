#include "report/CsvFileName.h"

#include "text/ShiftJis.h"
#include "text/Utf8Text.h"

namespace jwcount {
namespace {

// Characters no Windows file name holds.
std::string FileNameSafe(std::string text) {
  for (char& c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) c = '_';
  }
  return text;
}

// "<drawing name>_<subject>.<extension>" in the drawing's folder.
CsvFileName OfferedFileName(std::string_view drawingFile, std::string_view subject,
                            std::string_view extension) {
  // The last separator, found character by character: the second byte of a double-byte character such as
  // 表 (0x95 0x5C) is no backslash.
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < drawingFile.size(); ++i) {
    const auto b = static_cast<unsigned char>(drawingFile[i]);
    if (IsCp932LeadByte(b)) {
      ++i;
    } else if (b == '\\' || b == '/') {
      nameStart = i + 1;
    }
  }
  CsvFileName result;
  if (nameStart > 0) {
    std::string_view folder = drawingFile.substr(0, nameStart - 1);
    // A drive or the root keeps its separator: "C:" alone would be the drive's current folder.
    if (folder.empty() || folder.back() == ':') folder = drawingFile.substr(0, nameStart);
    result.FolderUtf8 = ShiftJisToUtf8(folder);
  }
  std::string_view name = drawingFile.substr(nameStart);
  // Without its extension: up to the last dot (a dot is never the second byte of a character).
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  if (!name.empty()) result.NameUtf8 = FileNameSafe(ShiftJisToUtf8(name)).append("_");
  result.NameUtf8.append(subject).append(".").append(extension);
  return result;
}

}  // namespace

CsvFileName DefaultCsvFileName(std::string_view drawingFile, std::u8string_view subject) {
  return OfferedFileName(drawingFile, AsChars(subject), "csv");
}

CsvFileName DefaultWorkbookFileName(std::string_view drawingFile) {
  return OfferedFileName(drawingFile, "jwcount", "xlsx");
}

}  // namespace jwcount
