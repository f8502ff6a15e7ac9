// The report model: what one count leaves for the outputs (summary counts, label and status texts, the
// five tables and the block names, the reader state after the read).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CountRun.h"
#include "counting/CountTables.h"
#include "counting/RowNames.h"
#include "counting/RunSequence.h"
#include "takeoff/Takeoff.h"

namespace jwcount {

struct CountReport {
  bool ReadOk = false;
  SummaryCounts Summary{};
  std::array<std::string, kSummaryCount> Labels;  // Shift-JIS, as the count run set them
  std::vector<std::string> Statuses;              // Shift-JIS, every status text in order
  CountTables Tables;
  // The reader state right after the read: always kept, since the layer-group and layer names come from it;
  // the JSON report shows it whole only when ShowState is set.
  bool ShowState = false;
  StateAfterRead State;
  // The quantity sheet, where the count was given take-off rules.
  std::optional<TakeoffResult> Takeoff;
};

}  // namespace jwcount
