// The take-off rules: a CSV file that office staff keep in Excel, whose rows map the elements they select
// (by kind, layer group, layer, colour, type, width, block name or text) to the items of a priced quantity
// sheet. The file is read once into plain rules; every text in them is Shift-JIS, as the drawing's names
// are, so that they are matched byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

// What an item measures of each element it takes: 1, its length in m, or its area in ㎡.
enum class TakeoffSource : uint8_t { kCount, kLength, kArea };

// How an item's quantity is rounded to its digits: not at all, up, half away from zero, or down.
enum class TakeoffRounding : uint8_t { kNone, kUp, kHalfUp, kDown };

// A pattern over a whole name or text of the drawing (Shift-JIS): `*` stands for any run of characters,
// none included, and `?` for one character; a double-byte character is one character, and every other
// character stands for itself, case and all. Matching takes time in proportion to the name's length times
// the pattern's, never more, whatever the pattern.
class NamePattern {
 public:
  NamePattern() = default;
  explicit NamePattern(std::string shiftJis);

  // True for the pattern of an empty cell, which selects nothing by name.
  bool Empty() const { return text_.empty(); }
  bool Matches(std::string_view name) const;
  const std::string& Text() const { return text_; }

 private:
  // A run of the pattern between stars: its bytes text_[Begin, End) and how many characters it takes.
  struct Segment {
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::size_t Chars = 0;
  };
  bool SegmentMatchesAt(const Segment& segment, std::string_view name, std::size_t at,
                        std::size_t& end) const;

  std::string text_;
  std::vector<Segment> segments_;  // one more than the stars; none for a pattern never given
};

// Any value of a selector: the number of a layer group or layer that a selector does not fix.
inline constexpr int32_t kAnyNumber = -1;

// One row of the rules file: what it selects, and the item it gives the elements it takes to.
struct TakeoffRule {
  int32_t Line = 0;  // the file's line where the row starts
  int32_t Item = 0;  // its item: an index into TakeoffRules::Items
  // Kinds, as the count tables' columns: bit c for column c (1 to 13); 0 takes every kind.
  uint32_t Columns = 0;
  // レイヤグループ: a group's number, or a pattern on the group's name; neither takes every group.
  int32_t LayerGroup = kAnyNumber;
  NamePattern LayerGroupName;
  // レイヤ: a layer by group and layer number (either may be kAnyNumber), or a pattern on the layer's name.
  int32_t LayerOfGroup = kAnyNumber;
  int32_t Layer = kAnyNumber;
  NamePattern LayerName;
  // The values in the file (colours 1 to 10 and 101 to 356, types 1 to 19 and 31 to 62, widths 0 to
  // 30000), sorted and each once; empty takes every value.
  std::vector<int32_t> Colours;
  std::vector<int32_t> Types;
  std::vector<int32_t> Widths;
  // A rule with a block-name pattern takes blocks alone; one with a text pattern, texts alone.
  NamePattern BlockName;
  NamePattern Text;
  double Factor = 1;      // 係数, >= 0
  bool Continue = false;  // 継続: an element it takes goes on to the rules below
};

// One item of the sheet: the rows with the same trade, name, grade and unit.
struct TakeoffItemDef {
  std::string Trade;  // 工種, Shift-JIS; "" for none
  std::string Name;   // 品名
  std::string Grade;  // 規格
  std::string Unit;   // 単位 as shown: the file's, or 個, m or ㎡ after the source
  TakeoffSource Source = TakeoffSource::kCount;
  double LossPercent = 0;  // ロス率, >= 0
  TakeoffRounding Rounding = TakeoffRounding::kNone;
  int32_t Digits = 0;                      // 桁, 0 to 3
  std::optional<int64_t> UnitPriceMicros;  // 単価 in millionths of a yen; none: no price, no amount
  std::string Note;                        // 備考 of the item's first row that has one
  int32_t Line = 0;                        // the line of its first row
};

// What is wrong with the file, and where: the line where the row starts (0 for the file as a whole), the
// column's head as the program knows it ("" for none), and why (both Shift-JIS).
struct TakeoffError {
  int32_t Line = 0;
  std::string Column;
  std::string Message;
};

struct TakeoffRules {
  std::vector<TakeoffRule> Rules;           // in the file's order
  std::vector<TakeoffItemDef> Items;        // in the order their first rows come
  std::vector<std::string> IgnoredColumns;  // heads the program does not know (Shift-JIS), in file order
  // Every error found, in file order. A file with any error is applied to nothing: Rules and Items are
  // then empty.
  std::vector<TakeoffError> Errors;
};

// The largest file and the most rows (beside the heads) a rules file may have.
inline constexpr std::size_t kMaxRulesFileBytes = std::size_t{4} << 20;
inline constexpr int32_t kMaxRuleRows = 10000;

// Reads a rules file's bytes: UTF-8 (with a byte-order mark, or valid with at least one multi-byte
// character) or else code page 932, as Excel writes CSV. Never throws but for memory.
TakeoffRules ReadTakeoffRules(std::string_view bytes);

}  // namespace jwcount
