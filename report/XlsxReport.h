// The workbook: every sheet of the count in one Excel file (.xlsx), in the order of the window's pages:
// 概要, the five count tables, ブロック, 長さ・面積 (every grouping), 文字, チェック, 基準との差 when there
// is a comparison, 数量表 when rules were applied, and 情報 (what the workbook was made of). Cells are
// typed: counts are whole numbers, lengths and areas figures in m and ㎡, names and texts always texts;
// the quantity sheet's 数量, 金額, 小計 and 合計 are formulas that hold our figures as their results. The
// sheets are streamed to the file as they are written, so a drawing of millions of texts is never held
// whole in memory.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "report/Section.h"

namespace jwcount {

struct CountReport;
struct CountComparison;
struct CountDiff;

// True where the program was built with the workbook's library; where it was not, the writers below
// write nothing and say so.
bool WorkbookAvailable();

// What the sheet 情報 says beside the count's own facts: when the workbook was made (as people read it).
struct WorkbookStamp {
  std::string Time;  // ASCII
};

// Writes the count's workbook into `path`, a file that does not exist yet (the caller puts it in place
// when it is whole). Returns "" when it was written whole, else why not (UTF-8); a file it could not
// finish is removed.
std::string WriteCountWorkbook(const std::filesystem::path& path, const CountReport& report,
                               std::span<const SectionRow> sections, const CountComparison* comparison,
                               const WorkbookStamp& stamp);

// The quantity sheet alone, and 情報.
std::string WriteTakeoffWorkbook(const std::filesystem::path& path, const CountReport& report,
                                 const WorkbookStamp& stamp);

// What changed between two counts: the sheet 基準との差, and 情報.
std::string WriteDiffWorkbook(const std::filesystem::path& path, const CountDiff& diff,
                              const WorkbookStamp& stamp);

}  // namespace jwcount
