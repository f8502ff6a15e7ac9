// The quantity sheet: which rule takes which element, and the items' figures.
#include "takeoff/Takeoff.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "counting/CountTable.h"
#include "counting/Quantities.h"
#include "takeoff/Sha256.h"
#include "takeoff/TakeoffTexts.h"

namespace jwcount {
namespace {

// The attributes an element is counted under, as one key: its column, layer group, layer, and its colour,
// type and width where the count tables give them rows of their own (any other value selects nothing, so
// all such values are one).
constexpr uint64_t kNoValue = 0xFFFF;

uint64_t ValueKey(int32_t value, int otherRow, int row) {
  return row == otherRow ? kNoValue : static_cast<uint64_t>(value);
}

struct Attributes {
  int Column = 0;
  int32_t Group = 0;
  int32_t Layer = 0;
  int32_t Colour = 0;  // kNoValue where the value has no row
  int32_t Type = 0;
  int32_t Width = 0;
};

uint64_t KeyOf(int column, const EntityAttributes& a) {
  const uint64_t colour = ValueKey(a.LineColour, kSg3OtherRow, LineColourRow(a.LineColour));
  const uint64_t type = ValueKey(a.LineType, kSg4OtherRow, LineTypeRow(a.LineType));
  const uint64_t width = ValueKey(a.LineWidth, kSg5OtherRow, LineWidthRow(a.LineWidth));
  return static_cast<uint64_t>(column) | static_cast<uint64_t>(a.LayerGroup) << 4 |
         static_cast<uint64_t>(a.Layer) << 8 | colour << 12 | type << 28 | width << 44;
}

Attributes AttributesOf(uint64_t key) {
  const auto field = [key](int shift, uint64_t mask) { return static_cast<int32_t>(key >> shift & mask); };
  return {field(0, 0xF),     field(4, 0xF),     field(8, 0xF),
          field(12, 0xFFFF), field(28, 0xFFFF), field(44, 0xFFFF)};
}

bool HasValue(const std::vector<int32_t>& values, int32_t value) {
  return values.empty() || std::binary_search(values.begin(), values.end(), value);
}

// The layers (group × 16 + layer) whose elements the rule's group and layer selectors take.
std::bitset<kLayerCount> LayersOf(const TakeoffRule& rule, const DrawingState& drawing) {
  std::bitset<kLayerCount> layers;
  for (int32_t g = 0; g < kGroupCount; ++g) {
    if (rule.LayerGroup != kAnyNumber && rule.LayerGroup != g) continue;
    if (rule.LayerOfGroup != kAnyNumber && rule.LayerOfGroup != g) continue;
    if (!rule.LayerGroupName.Empty() &&
        !rule.LayerGroupName.Matches(drawing.GroupNames[static_cast<std::size_t>(g)]))
      continue;
    for (int32_t l = 0; l < kLayersPerGroup; ++l) {
      const auto place = static_cast<std::size_t>(g * kLayersPerGroup + l);
      if (rule.Layer != kAnyNumber && rule.Layer != l) continue;
      if (!rule.LayerName.Empty() && !rule.LayerName.Matches(drawing.LayerNames[place])) continue;
      layers.set(place);
    }
  }
  return layers;
}

// True when the rule's colour, type and width selectors take elements of these attributes.
bool SelectsLineAttributes(const TakeoffRule& rule, const Attributes& a) {
  const auto value = [](int32_t v) { return v == static_cast<int32_t>(kNoValue) ? -1 : v; };
  return HasValue(rule.Colours, value(a.Colour)) && HasValue(rule.Types, value(a.Type)) &&
         HasValue(rule.Widths, value(a.Width));
}

const NamePattern& NameSelector(const TakeoffRule& rule) {
  return rule.BlockName.Empty() ? rule.Text : rule.BlockName;
}

// The name a block or text carries, which rules may select it by; "" for every other kind.
std::string_view ElementName(const JwwGaibu& reader, const EntityIndexEntry& e) {
  if (e.Kind == kBlock) return reader.Stores.Blocks[e.Position].BlockText.View();
  if (e.Kind == kText) return reader.Stores.Texts[e.Position].Text.View();
  return {};
}

// One step of an element's way through the rules: a rule that takes it, and whether it is the first of its
// item's rules to take it (so the item counts the element once).
struct Taking {
  int32_t Rule;
  bool FirstOfItem;
};

bool HasWildcard(const NamePattern& pattern) {
  return pattern.Text().find_first_of("*?") != std::string::npos;
}

// The rules that select a block or a text by name, and which of them take a name: those whose pattern is the
// name itself are found by the name, the few with wildcards are tried on it.
class NameRules {
 public:
  void Add(int32_t rule, const NamePattern& pattern) {
    if (HasWildcard(pattern))
      wild_.push_back({rule, &pattern});
    else
      exact_[pattern.Text()].push_back(rule);
  }
  // The rules whose pattern takes the name, in file order; worked out once for each name.
  const std::vector<int32_t>& Taking(std::string_view name) {
    const auto [found, added] = taking_.try_emplace(name);
    if (!added) return found->second;
    std::vector<int32_t>& rules = found->second;
    if (const auto exact = exact_.find(name); exact != exact_.end()) rules = exact->second;
    for (const auto& [rule, pattern] : wild_)
      if (pattern->Matches(name)) rules.push_back(rule);
    std::sort(rules.begin(), rules.end());
    return rules;
  }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::vector<int32_t>, Hash, std::equal_to<>> exact_;
  std::vector<std::pair<int32_t, const NamePattern*>> wild_;
  // By the drawing's own bytes, which stay in place as long as the reader holds the drawing.
  std::unordered_map<std::string_view, std::vector<int32_t>> taking_;
};

// Which rules take an element, found once for each combination of attributes and name the drawing holds,
// not element by element against every rule: an element is looked up by its attributes, and by its name only
// where a rule that selects its attributes also selects by name.
class RuleChains {
 public:
  RuleChains(const TakeoffRules& rules, const JwwGaibu& reader) : rules_(rules), reader_(reader) {
    for (std::size_t r = 0; r < rules.Rules.size(); ++r) {
      const TakeoffRule& rule = rules.Rules[r];
      const auto index = static_cast<int32_t>(r);
      for (int column = 1; column <= kSummaryCount; ++column) {
        if (rule.Columns != 0 && (rule.Columns >> column & 1) == 0) continue;
        if (!rule.BlockName.Empty() && column != KindColumn(kBlock)) continue;
        if (!rule.Text.Empty() && column != KindColumn(kText)) continue;
        byColumn_[static_cast<std::size_t>(column)].push_back(index);
      }
      layers_.push_back(LayersOf(rule, reader.Drawing));
      if (!rule.BlockName.Empty()) blockNames_.Add(index, rule.BlockName);
      if (!rule.Text.Empty()) texts_.Add(index, rule.Text);
    }
  }

  // The rules that take the element at place i of the index, in order: none when no rule takes it or the
  // count tables do not count it (a kind outside 1 to 15, a layer group or layer outside 0 to 15).
  std::span<const Taking> Of(int32_t i) {
    const EntityIndexEntry& e = reader_.Entity(i);
    const int column = KindColumn(e.Kind);
    if (column == 0) return {};
    const EntityAttributes& a = reader_.Header(e.Kind, e.Position);
    if ((static_cast<uint32_t>(a.LayerGroup) | static_cast<uint32_t>(a.Layer)) >= kGroupCount) return {};
    const int32_t combination = Combination(KeyOf(column, a));
    const Chain& selected = combinations_[static_cast<std::size_t>(combination)];
    if (!selected.ByName) return Span(selected);
    const std::string_view name = ElementName(reader_, e);
    const auto [named, added] = named_.try_emplace(NamedKey{combination, name}, Chain{});
    if (added) named->second = Resolve(combination, e.Kind == kBlock ? blockNames_ : texts_, name);
    return Span(named->second);
  }

 private:
  struct Chain {
    std::size_t First = 0;
    std::size_t Size = 0;
    bool ByName = false;  // some rule that selects its attributes selects by name too: the name decides
  };
  // The rules that select a combination's attributes: those that select by nothing else, and those that
  // select by name too (both in file order).
  struct Candidates {
    std::vector<int32_t> Plain;
    std::vector<int32_t> Named;
  };
  struct NamedKey {
    int32_t Combination;
    std::string_view Name;  // the drawing's own bytes
    bool operator==(const NamedKey&) const = default;
  };
  struct NamedHash {
    std::size_t operator()(const NamedKey& k) const {
      return std::hash<std::string_view>{}(k.Name) * 31 + static_cast<std::size_t>(k.Combination);
    }
  };

  std::span<const Taking> Span(const Chain& chain) const {
    return {takings_.data() + chain.First, chain.Size};
  }

  int32_t Combination(uint64_t key) {
    if (key == lastKey_) return lastCombination_;
    const auto [found, added] = keys_.try_emplace(key, static_cast<int32_t>(combinations_.size()));
    if (added) combinations_.push_back(Select(key));
    lastKey_ = key;
    lastCombination_ = found->second;
    return found->second;
  }

  // The rules that may take elements of a column on a layer: worked out once for each that the drawing uses.
  const std::vector<int32_t>& ByPlace(int column, int32_t group, int32_t layer) {
    const auto place = static_cast<std::size_t>(group * kLayersPerGroup + layer);
    const std::size_t at = static_cast<std::size_t>(column) * kLayerCount + place;
    if (byPlace_.empty()) byPlace_.resize((kSummaryCount + 1) * kLayerCount);
    std::optional<std::vector<int32_t>>& rules = byPlace_[at];
    if (!rules) {
      rules.emplace();
      for (const int32_t r : byColumn_[static_cast<std::size_t>(column)])
        if (layers_[static_cast<std::size_t>(r)].test(place)) rules->push_back(r);
    }
    return *rules;
  }

  // The chain of a combination, final unless a rule that selects its attributes also selects by name.
  Chain Select(uint64_t key) {
    const Attributes a = AttributesOf(key);
    const std::vector<int32_t>& byPlace = ByPlace(a.Column, a.Group, a.Layer);
    Candidates& candidates = candidates_.emplace_back();
    for (const int32_t r : byPlace) {
      const TakeoffRule& rule = rules_.Rules[static_cast<std::size_t>(r)];
      if (!SelectsLineAttributes(rule, a)) continue;
      (NameSelector(rule).Empty() ? candidates.Plain : candidates.Named).push_back(r);
    }
    if (!candidates.Named.empty()) return {candidates_.size() - 1, 0, true};
    return Take(candidates.Plain);
  }

  // The chain of a combination whose candidates select by name, for one name: the plain candidates and the
  // named ones whose pattern takes the name, in file order.
  Chain Resolve(int32_t combination, NameRules& names, std::string_view name) {
    const Candidates& candidates = candidates_[combinations_[static_cast<std::size_t>(combination)].First];
    const std::vector<int32_t>& taking = names.Taking(name);
    merged_.clear();
    for (const int32_t r : taking)
      if (std::binary_search(candidates.Named.begin(), candidates.Named.end(), r)) merged_.push_back(r);
    const auto middle = static_cast<std::ptrdiff_t>(merged_.size());
    merged_.insert(merged_.end(), candidates.Plain.begin(), candidates.Plain.end());
    std::inplace_merge(merged_.begin(), merged_.begin() + middle, merged_.end());
    return Take(merged_);
  }

  // Walks the rules that take the element from the top: it goes on past a rule only when that continues.
  Chain Take(const std::vector<int32_t>& candidates) {
    Chain chain{takings_.size(), 0, false};
    for (const int32_t r : candidates) {
      const TakeoffRule& rule = rules_.Rules[static_cast<std::size_t>(r)];
      const bool first = std::none_of(
          takings_.begin() + static_cast<std::ptrdiff_t>(chain.First), takings_.end(),
          [&](const Taking& t) { return rules_.Rules[static_cast<std::size_t>(t.Rule)].Item == rule.Item; });
      takings_.push_back({r, first});
      ++chain.Size;
      if (!rule.Continue) break;
    }
    return chain;
  }

  const TakeoffRules& rules_;
  const JwwGaibu& reader_;
  std::array<std::vector<int32_t>, kSummaryCount + 1> byColumn_;  // the rules that may take a column's kind
  std::vector<std::bitset<kLayerCount>> layers_;                  // each rule's layers
  std::vector<std::optional<std::vector<int32_t>>> byPlace_;      // by column × 256 + layer
  NameRules blockNames_;
  NameRules texts_;
  std::unordered_map<uint64_t, int32_t> keys_;
  std::vector<Chain> combinations_;
  std::vector<Candidates> candidates_;
  std::unordered_map<NamedKey, Chain, NamedHash> named_;
  std::vector<Taking> takings_;
  std::vector<int32_t> merged_;
  uint64_t lastKey_ = ~uint64_t{0};
  int32_t lastCombination_ = 0;
};

// True for an element the count tables count: of a known kind, in a layer group and layer 0 to 15.
bool Counted(const JwwGaibu& reader, const EntityIndexEntry& e) {
  if (KindColumn(e.Kind) == 0) return false;
  const EntityAttributes& a = reader.Header(e.Kind, e.Position);
  return (static_cast<uint32_t>(a.LayerGroup) | static_cast<uint32_t>(a.Layer)) < kGroupCount;
}

// What an element measures for an item of each source: 1, its length (mm) or its area (mm²).
double MeasureOf(TakeoffSource source, const ElementQuantity& q) {
  switch (source) {
    case TakeoffSource::kCount:
      return 1;
    case TakeoffSource::kLength:
      return q.LineLength + q.CurveLength;
    case TakeoffSource::kArea:
      return q.Area;
  }
  return 0;
}

// The drawing's units in one unit of the sheet: mm in a m, mm² in a ㎡.
double UnitDivisor(TakeoffSource source) {
  return source == TakeoffSource::kLength ? 1e3 : source == TakeoffSource::kArea ? 1e6 : 1;
}

constexpr int64_t kMicros = 1000000;

// A value rounded to 6 decimal places, halves away from zero, as an exact count of millionths. The value's
// decimal is the shortest one that reads back as the same double, so that 3.0000000000004 is 3 and 1.005
// is 1.005, as a person reading the figure sees it. The value is finite, at least 0 and at most 1e12.
int64_t RoundToMicros(double value) {
  char text[400];
  const std::to_chars_result written =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  const std::string_view digits(text, static_cast<std::size_t>(written.ptr - text));
  const std::size_t point = std::min(digits.find('.'), digits.size());
  int64_t micros = 0;
  for (std::size_t i = 0; i < point; ++i) micros = micros * 10 + (digits[i] - '0');
  for (std::size_t place = 1; place <= 7; ++place) {
    const std::size_t at = point + place;
    const int digit = at < digits.size() ? digits[at] - '0' : 0;
    if (place <= 6)
      micros = micros * 10 + digit;
    else if (digit >= 5)
      ++micros;
  }
  return micros;
}

// Millionths rounded to `digits` places (0 to 3) the item's way.
int64_t RoundMicros(int64_t micros, TakeoffRounding rounding, int32_t digits) {
  int64_t step = kMicros;
  for (int32_t d = 0; d < digits; ++d) step /= 10;
  const int64_t whole = micros / step;
  const int64_t rest = micros % step;
  switch (rounding) {
    case TakeoffRounding::kNone:
      return micros;
    case TakeoffRounding::kUp:
      return (whole + (rest != 0 ? 1 : 0)) * step;
    case TakeoffRounding::kHalfUp:
      return (whole + (rest * 2 >= step ? 1 : 0)) * step;
    case TakeoffRounding::kDown:
      return whole * step;
  }
  return micros;
}

constexpr double kLargestQuantity = 1e12;
constexpr int64_t kLargestAmount = 10000000000000;  // 1e13 円

// 数量 × 単価 rounded to 6 decimal places, halves away from zero, then cut down to whole 円; none above 1e13.
std::optional<int64_t> AmountOf(int64_t quantityMicros, int64_t priceMicros) {
  __extension__ using Wide = unsigned __int128;
  const Wide product = static_cast<Wide>(quantityMicros) * static_cast<Wide>(priceMicros);  // 1e-12 円
  const Wide micros = (product + kMicros / 2) / kMicros;
  const Wide yen = micros / kMicros;
  if (yen > static_cast<Wide>(kLargestAmount)) return std::nullopt;
  return static_cast<int64_t>(yen);
}

// Steps 2 to 5 of an item: loss, the two roundings and the amount.
void Figure(TakeoffItem& item, const TakeoffItemDef& def) {
  const double withLoss = item.Factored * (1 + def.LossPercent / 100);
  if (!std::isfinite(withLoss) || withLoss > kLargestQuantity) return;
  const int64_t quantity = RoundMicros(RoundToMicros(withLoss), def.Rounding, def.Digits);
  item.QuantityMicros = quantity;
  if (def.UnitPriceMicros) item.Amount = AmountOf(quantity, *def.UnitPriceMicros);
}

// The items in the sheet's order: grouped by trade, the trades in the order their first items come.
void OrderByTrade(const TakeoffRules& rules, std::vector<TakeoffItem>& figured, TakeoffSheet& sheet) {
  std::vector<bool> placed(figured.size(), false);
  for (std::size_t i = 0; i < figured.size(); ++i) {
    if (placed[i]) continue;
    const std::string& trade = rules.Items[i].Trade;
    TakeoffTrade entry{trade, sheet.Items.size(), 0, std::nullopt};
    for (std::size_t j = i; j < figured.size(); ++j) {
      if (placed[j] || rules.Items[j].Trade != trade) continue;
      placed[j] = true;
      const TakeoffItem& item = figured[j];
      if (rules.Items[j].UnitPriceMicros) entry.Amount = entry.Amount.value_or(0) + item.Amount.value_or(0);
      sheet.Items.push_back(std::move(figured[j]));
      ++entry.Count;
    }
    if (entry.Amount) sheet.TotalAmount = sheet.TotalAmount.value_or(0) + *entry.Amount;
    sheet.Trades.push_back(std::move(entry));
  }
}

void AddUnassigned(TakeoffUnassigned& unassigned, int column, const ElementQuantity& q) {
  const auto c = static_cast<std::size_t>(column - 1);
  ++unassigned.Elements;
  ++unassigned.ByKind[c];
  if (q.LineLength + q.CurveLength > 0) {
    unassigned.Length[c] += q.LineLength + q.CurveLength;
    unassigned.TotalLength += q.LineLength + q.CurveLength;
  }
  if (q.Area > 0) {
    unassigned.Area[c] += q.Area;
    unassigned.TotalArea += q.Area;
  }
}

}  // namespace

std::string MicrosText(int64_t micros, int32_t decimals) {
  std::string text = std::to_string(micros / kMicros);
  std::string fraction = std::to_string(kMicros + micros % kMicros).substr(1);
  const std::size_t kept = std::max(fraction.find_last_not_of('0') + 1, static_cast<std::size_t>(decimals));
  fraction.resize(std::min(kept, fraction.size()));
  if (!fraction.empty()) text += '.' + fraction;
  return text;
}

TakeoffSheet ApplyTakeoff(const TakeoffRules& rules, const JwwGaibu& reader) {
  TakeoffSheet sheet;
  const std::size_t ruleCount = rules.Rules.size();
  std::vector<double> sums(ruleCount, 0);  // each rule's measure, in the drawing's units
  std::vector<TakeoffItem> figured(rules.Items.size());
  RuleChains chains(rules, reader);
  for (int32_t i = 0; i < reader.EntityCount(); ++i) {
    const EntityIndexEntry& e = reader.Entity(i);
    const std::span<const Taking> takings = chains.Of(i);
    if (takings.empty() && !Counted(reader, e)) continue;
    const ElementQuantity q = QuantityOf(reader.Stores, e.Kind, e.Position);
    if (takings.empty()) AddUnassigned(sheet.Unassigned, KindColumn(e.Kind), q);
    for (const Taking& t : takings) {
      const TakeoffRule& rule = rules.Rules[static_cast<std::size_t>(t.Rule)];
      sums[static_cast<std::size_t>(t.Rule)] +=
          MeasureOf(rules.Items[static_cast<std::size_t>(rule.Item)].Source, q);
      if (t.FirstOfItem) ++figured[static_cast<std::size_t>(rule.Item)].Elements;
    }
  }
  for (std::size_t d = 0; d < figured.size(); ++d) figured[d].Def = static_cast<int32_t>(d);
  for (std::size_t r = 0; r < ruleCount; ++r) {
    const TakeoffRule& rule = rules.Rules[r];
    TakeoffItem& item = figured[static_cast<std::size_t>(rule.Item)];
    const double measured = sums[r] / UnitDivisor(rules.Items[static_cast<std::size_t>(rule.Item)].Source);
    item.Measured += measured;
    item.Factored += measured * rule.Factor;
    item.RuleLines.push_back(rule.Line);
  }
  for (std::size_t d = 0; d < figured.size(); ++d) Figure(figured[d], rules.Items[d]);
  OrderByTrade(rules, figured, sheet);
  return sheet;
}

ElementSelection SelectTakeoffElements(const TakeoffRules& rules, const JwwGaibu& reader,
                                       std::span<const TakeoffPick> picks) {
  ElementSelection selection;
  const int32_t n = reader.EntityCount();
  selection.Bits.assign((static_cast<std::size_t>(n) + 63) / 64, 0);
  std::vector<bool> items(rules.Items.size(), false);
  uint32_t unassignedColumns = 0;
  for (const TakeoffPick& pick : picks) {
    if (pick.Unassigned)
      unassignedColumns |= pick.Index == 0 ? ~uint32_t{0} : uint32_t{1} << pick.Index;
    else if (pick.Index >= 0 && static_cast<std::size_t>(pick.Index) < items.size())
      items[static_cast<std::size_t>(pick.Index)] = true;
  }
  RuleChains chains(rules, reader);
  for (int32_t i = 0; i < n; ++i) {
    const std::span<const Taking> takings = chains.Of(i);
    if (takings.empty() && !Counted(reader, reader.Entity(i))) continue;
    const bool taken =
        takings.empty()
            ? (unassignedColumns >> KindColumn(reader.Entity(i).Kind) & 1) != 0
            : std::any_of(takings.begin(), takings.end(), [&](const Taking& t) {
                return items[static_cast<std::size_t>(rules.Rules[static_cast<std::size_t>(t.Rule)].Item)];
              });
    if (taken) selection.Bits[static_cast<std::size_t>(i) / 64] |= uint64_t{1} << (i % 64);
  }
  return selection;
}

namespace {

// Reads at most one byte past the largest rules file, so that a larger one is told apart without being read.
bool ReadRulesFile(FileSystem& files, const std::filesystem::path& path, std::string& bytes) {
  std::unique_ptr<InputFile> file = files.OpenForRead(path);
  if (!file) return false;
  char buffer[65536];
  while (bytes.size() <= kMaxRulesFileBytes) {
    const std::ptrdiff_t n = file->Read(buffer, sizeof buffer);
    if (n < 0) return false;
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  file->Close();
  return true;
}

}  // namespace

TakeoffResult RunTakeoff(FileSystem& files, const std::filesystem::path& rulesFile, std::string shown,
                         const JwwGaibu& reader, bool wholeCount) {
  TakeoffResult takeoff;
  takeoff.RulesFile = std::move(shown);
  if (!files.Exists(rulesFile)) return takeoff;
  std::string bytes;
  if (!ReadRulesFile(files, rulesFile, bytes)) {
    takeoff.State = TakeoffResult::Outcome::kUnreadable;
    takeoff.Why = kRulesUnreadable;
    return takeoff;
  }
  if (bytes.size() <= kMaxRulesFileBytes) takeoff.Sha256 = Sha256Hex(bytes);
  takeoff.Rules = ReadTakeoffRules(bytes);
  if (!takeoff.Rules.Errors.empty()) {
    takeoff.State = TakeoffResult::Outcome::kErrors;
  } else if (!wholeCount) {
    takeoff.State = TakeoffResult::Outcome::kNotComplete;
    takeoff.Why = kCountNotWhole;
  } else {
    takeoff.State = TakeoffResult::Outcome::kApplied;
    takeoff.Sheet = ApplyTakeoff(takeoff.Rules, reader);
  }
  return takeoff;
}

}  // namespace jwcount
