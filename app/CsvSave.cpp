#include "CsvSave.h"

#include "CountTexts.h"
#include "ShiftJis.h"

namespace jwcount {
namespace {

constexpr std::string_view kCaptionEnd = "\x90\x94\x81\x46";                           // 数：
constexpr std::string_view kNameSuffix = "_\xE8\xA6\x81\xE7\xB4\xA0\xE6\x95\xB0.csv";  // _要素数.csv
constexpr std::string_view kPlainName = "\xE8\xA6\x81\xE7\xB4\xA0\xE6\x95\xB0.csv";    // 要素数.csv

// Characters no Windows file name holds.
std::string FileNameSafe(std::string text) {
  for (char& c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) c = '_';
  }
  return text;
}

}  // namespace

std::vector<std::vector<std::string>> SummaryRows(std::span<const std::string> labelTexts) {
  std::vector<std::vector<std::string>> rows;
  rows.push_back({std::string(kKindHead), std::string(kCountHead)});
  for (std::size_t i = 0; i < kSummaryCaptions.size(); ++i) {
    const std::string_view caption = kSummaryCaptions[i];
    const std::string_view text = i < labelTexts.size() ? std::string_view(labelTexts[i]) : caption;
    std::string_view kind = caption;
    if (kind.ends_with(kCaptionEnd)) kind.remove_suffix(kCaptionEnd.size());
    const std::string_view count =
        text.starts_with(caption) ? text.substr(caption.size()) : std::string_view();
    rows.push_back({std::string(kind), std::string(count)});
  }
  return rows;
}

CsvFileName DefaultCsvFileName(std::string_view drawingFile) {
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
  result.NameUtf8 =
      name.empty() ? std::string(kPlainName) : FileNameSafe(ShiftJisToUtf8(name)).append(kNameSuffix);
  return result;
}

}  // namespace jwcount
