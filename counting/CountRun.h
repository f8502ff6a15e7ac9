// The count run: summary counts, the five count tables, progress, Escape and the reply to the host.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "counting/CountTables.h"
#include "counting/CountTexts.h"
#include "counting/Quantities.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// What the count run needs from the program that shows it (the window or the console).
class CountHost {
 public:
  virtual ~CountHost() = default;
  // Shows the text (Shift-JIS) in the status line at once, before the run goes on.
  virtual void ShowStatus(std::string_view text) = 0;
  // True when the user asks to stop at this moment (the Escape key is down).
  virtual bool EscapePressed() = 0;
  // Sets summary label 1 to 13 to its text (Shift-JIS caption followed by the count).
  virtual void ShowSummary(int label, std::string_view text) = 0;
  // Makes page 1 the visible page.
  virtual void ShowFirstPage() = 0;
  // Called once the tables are finished, after the notice line has gone into the reply buffer and before
  // the reply is written: a program that answers with drawing records appends them here. `complete` is
  // false when Escape stopped the tally. Most programs add nothing.
  virtual void AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete);
};

// A pass that goes along with the tally (the take-off, where its rules are known before the count): it is
// given each block of elements as the tally has just read and measured it, in reading order, so that it
// reads no record again. `kinds` holds 0 for an element counted nowhere.
class TallyWatcher {
 public:
  virtual ~TallyWatcher() = default;
  virtual void Tallied(int32_t first, std::span<const int32_t> kinds,
                       std::span<const EntityAttributes> headers,
                       std::span<const ElementQuantity> quantities) = 0;
};

// Progress is shown, and Escape polled, before entity 1, 1 + kProgressStep, 1 + 2 * kProgressStep, ...
inline constexpr int32_t kProgressStep = 100;

// The counts of summary labels 1 to 13 (index 0 is Label1), taken from the store counts.
using SummaryCounts = std::array<int32_t, kSummaryCount>;
SummaryCounts CountSummary(const JwwGaibu& reader);

// The text of summary label 1 to 13: its caption followed by the count in decimal.
std::string SummaryText(int label, int32_t count);

// The progress text shown before entity `entity` (1-based) of `total`.
std::string ProgressText(int32_t entity, int32_t total);

// Runs the whole count over the reader's index and stores into the tables, then appends the completion
// message to the reader's reply buffer and writes it to the exchange file in programFolder. True when
// every element was tallied; false when the host's Escape stopped the tally. A watcher, when given, sees
// every block the tally tallies.
bool CountElements(JwwGaibu& reader, CountTables& tables, const std::filesystem::path& programFolder,
                   CountHost& host, TallyWatcher* watcher = nullptr);

}  // namespace jwcount
