// What the window adds to the quantity sheet (page 12 数量表): which rules file it reads (the one the user
// chose, remembered beside the program, or takeoff.csv there), the line of notice above the sheet, and
// page 1's line of the take-off.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "takeoff/Takeoff.h"
#include "tempfile/FileIo.h"

namespace jwcount {

// The rules file read when the user has chosen none, in the program's folder.
inline constexpr std::string_view kRulesFileName = "takeoff.csv";
// Beside it, the file that remembers the user's choice: the chosen file's path in UTF-8 on one line.
inline constexpr std::string_view kRulesChoiceFileName = "takeoff-rules.txt";

struct RulesChoice {
  std::filesystem::path File;  // the rules file to read
  std::filesystem::path
      Gone;  // the file the user chose, where it is no longer there (File is then takeoff.csv)
};

std::filesystem::path RulesChoicePath(const std::filesystem::path& programFolder);

// The rules file to read: the remembered choice while it exists, else takeoff.csv in the program's folder.
// A remembered path may be relative to that folder, in double quotes (as Windows copies a path) and follow
// a byte-order mark; a choice file that cannot be read, or holds no path, is no choice. Never throws.
RulesChoice FindRulesFile(FileSystem& files, const std::filesystem::path& programFolder);

// The bytes that remember a chosen rules file: its path in UTF-8 and CR LF.
std::string RulesChoiceBytes(const std::filesystem::path& chosen);

// A path as UTF-8, as the sheet names its rules file.
std::string PathUtf8(const std::filesystem::path& path);

// The notice above page 12's grid (Shift-JIS, lines separated by CR LF): a remembered choice that has gone,
// the sheet's own notice, and what to do next: where a rules file goes when there is none (the program's
// folder), F5 after mending rules with errors or closing a file Excel holds.
std::string TakeoffPageNotice(std::string_view sheetNotice, const TakeoffResult& takeoff,
                              const RulesChoice& choice, const std::filesystem::path& programFolder);

// Page 1's line of the take-off (Shift-JIS): "数量表: 13 品目, 合計 ￥2,067,959, 未割当 157", or why there is
// no sheet ("数量表: ルールに誤りが 3 件").
std::string TakeoffSummaryLine(const TakeoffResult& takeoff);

}  // namespace jwcount
