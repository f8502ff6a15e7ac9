// The drawing checks, described once: one row per check with the id the program knows it by, the key of
// the JSON report, the name the command line takes, the label its pages and reports show, and which
// finding of DrawingChecks holds what it counts. Every output, the comparison, the baseline reader and the
// command line's selectors read this list: a new check is one row here and its finder in DrawingChecks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "counting/CountTexts.h"
#include "counting/DrawingChecks.h"

namespace jwcount {

// The checks by what they find.
enum class CheckId : uint8_t { kDuplicates, kZeroLengthLines, kZeroRadius, kEmptyTexts };

struct CheckListRow {
  CheckId Id;
  std::string_view JsonKey;  // the member of "checks" in the JSON report
  std::string_view CliName;  // as `mark --checks=NAME` takes it
  std::string_view Label;    // Shift-JIS: the row on page 10 and in the reports
  CheckFinding DrawingChecks::*Finding;
  // The duplicates are also told by kind (rows under theirs) and by whether the earlier twin lies on the
  // element's own layer.
  bool ByKind = false;

  const CheckFinding& Of(const DrawingChecks& checks) const { return checks.*Finding; }
};

inline constexpr std::array<CheckListRow, 4> kCheckList = {{
    {CheckId::kDuplicates, "duplicates", "duplicates", kDuplicateLabel, &DrawingChecks::Duplicates, true},
    {CheckId::kZeroLengthLines, "zero_length_lines", "zero-length-lines", kZeroLengthLabel,
     &DrawingChecks::ZeroLengthLines},
    {CheckId::kZeroRadius, "zero_radius", "zero-radius", kZeroRadiusLabel, &DrawingChecks::ZeroRadius},
    {CheckId::kEmptyTexts, "empty_texts", "empty-texts", kEmptyTextLabel, &DrawingChecks::EmptyTexts},
}};

constexpr const CheckListRow& CheckOf(CheckId id) {
  return kCheckList[static_cast<std::size_t>(id)];
}

// The check the command line names so; nullptr for none.
constexpr const CheckListRow* FindCheckByCliName(std::string_view name) {
  for (const CheckListRow& row : kCheckList)
    if (row.CliName == name) return &row;
  return nullptr;
}

}  // namespace jwcount
