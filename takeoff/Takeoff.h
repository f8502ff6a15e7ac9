// The quantity sheet of a count: every element the count tables count goes through the take-off rules from
// the top; the first rule that selects it takes it for its item (and, where the rule says 継続, hands it on
// to the rules below). Each item sums what its rules took, adds its loss, rounds, and prices the result;
// the trades and the sheet add up the amounts; what no rule took is shown by kind.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "counting/CountRun.h"
#include "counting/CountTexts.h"
#include "counting/Marks.h"
#include "takeoff/TakeoffRules.h"
#include "takeoff/TakeoffTexts.h"
#include "tempfile/FileIo.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// One item of the sheet, as figured from the elements its rules took.
struct TakeoffItem {
  int32_t Def = 0;                 // its definition: an index into TakeoffRules::Items
  std::vector<int32_t> RuleLines;  // the lines of its rules, in file order
  int64_t Elements = 0;            // each element once, however many of its rules took it
  // The sum of the measures (個, m or ㎡) without and with each rule's factor; either may be infinite or
  // not a number, where a sum left a double's range.
  double Measured = 0;
  double Factored = 0;
  // 数量 and 金額: none where the quantity after loss is not finite or above 1e12, and 金額 also where the
  // item has no price or the amount is above 1e13 円.
  std::optional<int64_t> QuantityMicros;  // millionths of the unit
  std::optional<int64_t> Amount;          // whole 円
};

// A trade: its items are Items[First] to Items[First + Count - 1]; its 小計 is none when none is priced.
struct TakeoffTrade {
  std::string Name;  // Shift-JIS; "" for the items without a trade
  std::size_t First = 0;
  std::size_t Count = 0;
  std::optional<int64_t> Amount;
};

// The elements no rule took, by the count tables' columns (index 0 is column 1), with the lengths (mm) of
// those that have one and the areas (mm²) of the solids.
struct TakeoffUnassigned {
  int64_t Elements = 0;
  std::array<int64_t, kSummaryCount> ByKind{};
  std::array<double, kSummaryCount> Length{};
  std::array<double, kSummaryCount> Area{};
  double TotalLength = 0;
  double TotalArea = 0;
};

struct TakeoffSheet {
  std::vector<TakeoffItem> Items;  // grouped by trade, trades in the order they first come
  std::vector<TakeoffTrade> Trades;
  std::optional<int64_t> TotalAmount;  // none when no item is priced
  TakeoffUnassigned Unassigned;
};

// An exact count of millionths as a decimal: at least `decimals` places (0 to 6), and no trailing zeros
// beyond them ("42.3", "12", "0.29").
std::string MicrosText(int64_t micros, int32_t decimals);

// Applies rules without errors to the elements of a complete count.
TakeoffSheet ApplyTakeoff(const TakeoffRules& rules, const JwwGaibu& reader);

// What a sheet row picks for marks: an item (by its definition), or the unassigned elements of a column.
struct TakeoffPick {
  bool Unassigned = false;
  int32_t Index = 0;  // an item's definition, or a column 1 to 13 (0: every column)
};
// Every element the picks take: for an item, what its rules took; for a column, what no rule took.
ElementSelection SelectTakeoffElements(const TakeoffRules& rules, const JwwGaibu& reader,
                                       std::span<const TakeoffPick> picks);

// The take-off of one count: where its rules came from, and what became of them.
struct TakeoffResult {
  enum class Outcome : uint8_t {
    kNoRules,      // there is no rules file
    kUnreadable,   // the file is there but cannot be read (Excel holds it, say): Why says so
    kErrors,       // the file has errors: Rules.Errors lists them, and nothing is applied
    kNotComplete,  // the count did not cover the whole drawing: a sheet of part of it would mislead
    kApplied,
  };
  Outcome State = Outcome::kNoRules;
  std::string RulesFile;  // the path as given, or the file name the window used (UTF-8)
  std::string Sha256;     // of the file's bytes, as hexadecimal digits
  std::string Why;        // kUnreadable and kNotComplete: why there is no sheet (Shift-JIS)
  TakeoffRules Rules;
  TakeoffSheet Sheet;
};

// The sheet made along with the count's tally (CountElements with this as its watcher): what ApplyTakeoff
// gives after the count, from the records and quantities the tally has just read, without reading them
// again. Sheet() once the whole drawing was tallied.
class TakeoffTally final : public TallyWatcher {
 public:
  TakeoffTally(const TakeoffRules& rules, const JwwGaibu& reader);
  ~TakeoffTally() override;
  void Tallied(int32_t first, std::span<const int32_t> kinds, std::span<const EntityAttributes> headers,
               std::span<const ElementQuantity> quantities) override;
  TakeoffSheet Sheet() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Reads the rules file through `files`: no rules, a file that cannot be read, rules with errors, or rules
// to apply (kApplied, with no sheet made yet). `shown` is what the sheet calls the file (the path as given,
// or its name).
TakeoffResult ReadTakeoff(FileSystem& files, const std::filesystem::path& rulesFile, std::string shown);

// Gives rules to apply their sheet, made by `apply` (ApplyTakeoff, or a sheet already made of the same
// rules), when the count was complete; otherwise says why there is none.
template <class Apply>
void CompleteTakeoff(TakeoffResult& takeoff, bool wholeCount, Apply&& apply) {
  if (takeoff.State != TakeoffResult::Outcome::kApplied) return;
  if (wholeCount) {
    takeoff.Sheet = apply();
  } else {
    takeoff.State = TakeoffResult::Outcome::kNotComplete;
    takeoff.Why = kCountNotWhole;
  }
}

// ReadTakeoff, then CompleteTakeoff with ApplyTakeoff on the count's reader.
TakeoffResult RunTakeoff(FileSystem& files, const std::filesystem::path& rulesFile, std::string shown,
                         const JwwGaibu& reader, bool wholeCount);

}  // namespace jwcount
