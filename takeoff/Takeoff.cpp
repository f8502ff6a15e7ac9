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
  int32_t Item;
  TakeoffSource Source;  // the item's
  bool FirstOfItem;
};

// The rules that take an element, and whether the count tables count it at all (of a known kind, in a
// layer group and layer 0 to 15): one they count that no rule takes is unassigned.
struct ElementTakings {
  std::span<const Taking> Takings;
  bool Counted = false;
  bool Measured = false;  // some rule that takes it measures a length or an area
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

// The combinations of attributes found so far, by key: an open-addressed table at most half full, looked up
// once for every element whose attributes differ from the element's before it.
class KeyTable {
 public:
  // The combination of the key; -1 for none yet.
  int32_t Find(uint64_t key) const {
    if (slots_.empty()) return -1;
    for (std::size_t i = Home(key);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i].Combination < 0) return -1;
      if (slots_[i].Key == key) return slots_[i].Combination;
    }
  }
  void Insert(uint64_t key, int32_t combination) {
    if (2 * (used_ + 1) > slots_.size()) Grow();
    Place(key, combination);
  }

 private:
  struct Slot {
    uint64_t Key = 0;
    int32_t Combination = -1;
  };
  std::size_t Home(uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
  }
  void Place(uint64_t key, int32_t combination) {
    std::size_t i = Home(key);
    while (slots_[i].Combination >= 0) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = {key, combination};
    ++used_;
  }
  void Grow() {
    std::vector<Slot> old(std::max<std::size_t>(64, 2 * slots_.size()));
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old)
      if (slot.Combination >= 0) Place(slot.Key, slot.Combination);
  }
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
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

  // The rules that take the element of the index entry with its attributes, in order: none when no rule
  // takes it or the count tables do not count it (a kind outside 1 to 15, a layer group or layer outside 0
  // to 15).
  ElementTakings Of(const EntityIndexEntry& e, const EntityAttributes& a) {
    const int column = KindColumn(e.Kind);
    if (column == 0) return {};
    if ((static_cast<uint32_t>(a.LayerGroup) | static_cast<uint32_t>(a.Layer)) >= kGroupCount) return {};
    const int32_t combination = Combination(KeyOf(column, a));
    const Chain& selected = combinations_[static_cast<std::size_t>(combination)];
    if (!selected.ByName) return {Span(selected), true, selected.Measured};
    const std::string_view name = ElementName(reader_, e);
    const auto [named, added] = named_.try_emplace(NamedKey{combination, name}, Chain{});
    if (added) named->second = Resolve(combination, e.Kind == kBlock ? blockNames_ : texts_, name);
    return {Span(named->second), true, named->second.Measured};
  }

 private:
  struct Chain {
    std::size_t First = 0;
    std::size_t Size = 0;
    bool ByName = false;    // some rule that selects its attributes selects by name too: the name decides
    bool Measured = false;  // some rule of the chain measures a length or an area
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
    const int32_t found = keys_.Find(key);
    lastKey_ = key;
    if (found >= 0) return lastCombination_ = found;
    lastCombination_ = static_cast<int32_t>(combinations_.size());
    combinations_.push_back(Select(key));
    keys_.Insert(key, lastCombination_);
    return lastCombination_;
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
    if (!candidates.Named.empty()) return {candidates_.size() - 1, 0, true, false};
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
    Chain chain{takings_.size(), 0, false, false};
    for (const int32_t r : candidates) {
      const TakeoffRule& rule = rules_.Rules[static_cast<std::size_t>(r)];
      const bool first = std::none_of(takings_.begin() + static_cast<std::ptrdiff_t>(chain.First),
                                      takings_.end(), [&](const Taking& t) { return t.Item == rule.Item; });
      const TakeoffSource source = rules_.Items[static_cast<std::size_t>(rule.Item)].Source;
      takings_.push_back({r, rule.Item, source, first});
      chain.Measured = chain.Measured || source != TakeoffSource::kCount;
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
  KeyTable keys_;
  std::vector<Chain> combinations_;
  std::vector<Candidates> candidates_;
  std::unordered_map<NamedKey, Chain, NamedHash> named_;
  std::vector<Taking> takings_;
  std::vector<int32_t> merged_;
  uint64_t lastKey_ = ~uint64_t{0};
  int32_t lastCombination_ = 0;
};

// True for a kind whose elements measure a length or an area: lines, circles and arcs, and the solids.
bool HasMeasure(int32_t kind) {
  return kind == kLine || kind == kCircle || kind == kArc || kind >= kSolidLine;
}

// Calls visit(i, entry, takings) for every element of the index, in reading order. The attributes of a
// block of elements are gathered first, in a loop of independent loads, so that the cache misses of reading
// records from fifteen stores overlap rather than follow one another.
template <class Visit>
void ForEachTaking(const JwwGaibu& reader, RuleChains& chains, Visit&& visit) {
  constexpr int32_t kBlock = 64;
  EntityAttributes attributes[kBlock];
  const int32_t end = reader.EntityCount();
  for (int32_t first = 0; first < end; first += kBlock) {
    const int32_t size = std::min(kBlock, end - first);
    for (int32_t j = 0; j < size; ++j) {
      const EntityIndexEntry& e = reader.Entity(first + j);
      attributes[j] = KindColumn(e.Kind) != 0 ? reader.Header(e.Kind, e.Position) : EntityAttributes{};
    }
    for (int32_t j = 0; j < size; ++j) {
      const EntityIndexEntry& e = reader.Entity(first + j);
      visit(first + j, e, chains.Of(e, attributes[j]));
    }
  }
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
// Both are millionths below 1e18 or so: each is split into its whole part and its millionths, so that
// every partial product fits 64 bits (no wider type is had on every target).
std::optional<int64_t> AmountOf(int64_t quantityMicros, int64_t priceMicros) {
  const auto q1 = static_cast<uint64_t>(quantityMicros / kMicros);
  const auto q0 = static_cast<uint64_t>(quantityMicros % kMicros);
  const auto p1 = static_cast<uint64_t>(priceMicros / kMicros);
  const auto p0 = static_cast<uint64_t>(priceMicros % kMicros);
  const auto largest = static_cast<uint64_t>(kLargestAmount);
  if (p1 != 0 && q1 > largest / p1) return std::nullopt;  // the whole parts alone are too much
  // The product in millionths of a yen: q1·p1·10⁶ + q1·p0 + q0·p1 + q0·p0 / 10⁶, the last rounded.
  const uint64_t micros = q1 * p1 * kMicros + q1 * p0 + q0 * p1 + (q0 * p0 + kMicros / 2) / kMicros;
  const uint64_t yen = micros / kMicros;
  if (yen > largest) return std::nullopt;
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

// The sums of the sheet, each a double added to in reading order: each rule's measure (in the drawing's
// units), then the unassigned length and area of each column, then the unassigned length and area in all;
// and how many elements each item and each column's unassigned elements hold.
struct SheetSums {
  SheetSums(std::size_t rules, std::size_t items)
      : Rules(rules), Values(rules + 2 * kSummaryCount + 2, 0), Elements(items, 0) {}
  std::size_t UnassignedLength(int column) const { return Rules + static_cast<std::size_t>(column - 1); }
  std::size_t UnassignedArea(int column) const { return UnassignedLength(column) + kSummaryCount; }
  std::size_t TotalLength() const { return Rules + 2 * kSummaryCount; }
  std::size_t TotalArea() const { return TotalLength() + 1; }

  std::size_t Rules;
  std::vector<double> Values;
  std::vector<int64_t> Elements;  // each item's
  std::array<int64_t, kSummaryCount> Unassigned{};
};

void AddUnassigned(SheetSums& sums, int column, const ElementQuantity& q) {
  ++sums.Unassigned[static_cast<std::size_t>(column - 1)];
  if (q.LineLength + q.CurveLength > 0) {
    sums.Values[sums.UnassignedLength(column)] += q.LineLength + q.CurveLength;
    sums.Values[sums.TotalLength()] += q.LineLength + q.CurveLength;
  }
  if (q.Area > 0) {
    sums.Values[sums.UnassignedArea(column)] += q.Area;
    sums.Values[sums.TotalArea()] += q.Area;
  }
}

// Adds an element the rules take (or none takes) to the sums, with what it measures.
void AddElement(SheetSums& sums, int32_t kind, const ElementTakings& taken, const ElementQuantity& q) {
  if (taken.Takings.empty()) AddUnassigned(sums, KindColumn(kind), q);
  for (const Taking& t : taken.Takings) {
    sums.Values[static_cast<std::size_t>(t.Rule)] += MeasureOf(t.Source, q);
    if (t.FirstOfItem) ++sums.Elements[static_cast<std::size_t>(t.Item)];
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

namespace {

// The sheet of the sums: each item's figures, in the order of the trades.
TakeoffSheet SheetOf(const TakeoffRules& rules, const SheetSums& sums) {
  TakeoffSheet sheet;
  TakeoffUnassigned& unassigned = sheet.Unassigned;
  for (int column = 1; column <= kSummaryCount; ++column) {
    const auto c = static_cast<std::size_t>(column - 1);
    unassigned.ByKind[c] = sums.Unassigned[c];
    unassigned.Elements += sums.Unassigned[c];
    unassigned.Length[c] = sums.Values[sums.UnassignedLength(column)];
    unassigned.Area[c] = sums.Values[sums.UnassignedArea(column)];
  }
  unassigned.TotalLength = sums.Values[sums.TotalLength()];
  unassigned.TotalArea = sums.Values[sums.TotalArea()];
  std::vector<TakeoffItem> figured(rules.Items.size());
  for (std::size_t d = 0; d < figured.size(); ++d) {
    figured[d].Def = static_cast<int32_t>(d);
    figured[d].Elements = sums.Elements[d];
  }
  for (std::size_t r = 0; r < rules.Rules.size(); ++r) {
    const TakeoffRule& rule = rules.Rules[r];
    TakeoffItem& item = figured[static_cast<std::size_t>(rule.Item)];
    const double measured =
        sums.Values[r] / UnitDivisor(rules.Items[static_cast<std::size_t>(rule.Item)].Source);
    item.Measured += measured;
    item.Factored += measured * rule.Factor;
    item.RuleLines.push_back(rule.Line);
  }
  for (std::size_t d = 0; d < figured.size(); ++d) Figure(figured[d], rules.Items[d]);
  OrderByTrade(rules, figured, sheet);
  return sheet;
}

}  // namespace

struct TakeoffTally::State {
  State(const TakeoffRules& rules, const JwwGaibu& reader)
      : Rules(rules), Reader(reader), Chains(rules, reader), Sums(rules.Rules.size(), rules.Items.size()) {}
  const TakeoffRules& Rules;
  const JwwGaibu& Reader;
  RuleChains Chains;
  SheetSums Sums;
};

TakeoffTally::TakeoffTally(const TakeoffRules& rules, const JwwGaibu& reader)
    : state_(std::make_unique<State>(rules, reader)) {}

TakeoffTally::~TakeoffTally() = default;

void TakeoffTally::Tallied(int32_t first, std::span<const int32_t> kinds,
                           std::span<const EntityAttributes> headers,
                           std::span<const ElementQuantity> quantities) {
  State& s = *state_;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == 0) continue;
    const EntityIndexEntry& e = s.Reader.Entity(first + static_cast<int32_t>(i));
    const ElementTakings taken = s.Chains.Of(e, headers[i]);
    if (taken.Counted) AddElement(s.Sums, e.Kind, taken, quantities[i]);
  }
}

TakeoffSheet TakeoffTally::Sheet() const {
  return SheetOf(state_->Rules, state_->Sums);
}

TakeoffSheet ApplyTakeoff(const TakeoffRules& rules, const JwwGaibu& reader) {
  SheetSums sums(rules.Rules.size(), rules.Items.size());
  RuleChains chains(rules, reader);
  ForEachTaking(reader, chains, [&](int32_t, const EntityIndexEntry& e, const ElementTakings& taken) {
    if (!taken.Counted) return;
    // Only what is measured is worked out: a count, or an unassigned text, needs no geometry.
    const bool measures = taken.Measured || (taken.Takings.empty() && HasMeasure(e.Kind));
    AddElement(sums, e.Kind, taken,
               measures ? QuantityOf(reader.Stores, e.Kind, e.Position) : ElementQuantity{});
  });
  return SheetOf(rules, sums);
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
  ForEachTaking(reader, chains, [&](int32_t i, const EntityIndexEntry& e, const ElementTakings& taken) {
    if (!taken.Counted) return;
    const std::span<const Taking> takings = taken.Takings;
    const bool picked = takings.empty() ? (unassignedColumns >> KindColumn(e.Kind) & 1) != 0
                                        : std::any_of(takings.begin(), takings.end(), [&](const Taking& t) {
                                            return items[static_cast<std::size_t>(t.Item)];
                                          });
    if (picked) selection.Bits[static_cast<std::size_t>(i) / 64] |= uint64_t{1} << (i % 64);
  });
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

TakeoffResult ReadTakeoff(FileSystem& files, const std::filesystem::path& rulesFile, std::string shown) {
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
  takeoff.State =
      takeoff.Rules.Errors.empty() ? TakeoffResult::Outcome::kApplied : TakeoffResult::Outcome::kErrors;
  return takeoff;
}

TakeoffResult RunTakeoff(FileSystem& files, const std::filesystem::path& rulesFile, std::string shown,
                         const JwwGaibu& reader, bool wholeCount) {
  TakeoffResult takeoff = ReadTakeoff(files, rulesFile, std::move(shown));
  CompleteTakeoff(takeoff, wholeCount, [&] { return ApplyTakeoff(takeoff.Rules, reader); });
  return takeoff;
}

}  // namespace jwcount
