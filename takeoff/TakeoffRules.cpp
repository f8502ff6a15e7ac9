#include "takeoff/TakeoffRules.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "takeoff/RulesCsv.h"
#include "takeoff/RulesTexts.h"
#include "takeoff/RulesValues.h"
#include "text/ShiftJis.h"

namespace jwcount {

namespace {

// The columns the program knows, in the order a row's cells are read.
enum class Field : uint8_t {
  kTrade,
  kName,
  kGrade,
  kUnit,
  kSource,
  kKinds,
  kLayerGroup,
  kLayer,
  kColours,
  kTypes,
  kWidths,
  kBlockName,
  kText,
  kFactor,
  kLoss,
  kRounding,
  kDigits,
  kPrice,
  kContinue,
  kNote,
};
constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::kNote) + 1;

constexpr std::array<std::string_view, kFieldCount> kHeads = {
    kHeadTrade, kHeadName,     kHeadGrade,  kHeadUnit,   kHeadSource,    kHeadKinds, kHeadLayerGroup,
    kHeadLayer, kHeadColours,  kHeadTypes,  kHeadWidths, kHeadBlockName, kHeadText,  kHeadFactor,
    kHeadLoss,  kHeadRounding, kHeadDigits, kHeadPrice,  kHeadContinue,  kHeadNote,
};

constexpr std::string_view HeadOf(Field field) {
  return kHeads[static_cast<std::size_t>(field)];
}

// Where each known column is in the file, by its index among the row's cells.
using ColumnMap = std::array<std::optional<std::size_t>, kFieldCount>;

// A cell as Shift-JIS and trimmed. In a UTF-8 file a cell with a character code page 932 lacks is
// Unconvertible; its text then has "?" for that character, so that the row does not pass for blank.
struct Cell {
  std::string Text;
  bool Unconvertible = false;
};

Cell ToCell(std::string_view field, RulesEncoding encoding) {
  if (encoding == RulesEncoding::kCp932) return {std::string(TrimBlanks(field)), false};
  if (const std::optional<std::string> exact = Utf8ToShiftJisExact(field))
    return {std::string(TrimBlanks(*exact)), false};
  return {std::string(TrimBlanks(Utf8ToShiftJis(field))), true};
}

std::vector<Cell> ToCells(const CsvRow& row, RulesEncoding encoding) {
  std::vector<Cell> cells;
  cells.reserve(row.Fields.size());
  for (const std::string& field : row.Fields) cells.push_back(ToCell(field, encoding));
  return cells;
}

bool IsBlank(const std::vector<Cell>& cells) {
  for (const Cell& cell : cells)
    if (!cell.Text.empty()) return false;
  return true;
}

std::string_view DefaultUnit(TakeoffSource source) {
  switch (source) {
    case TakeoffSource::kLength:
      return kUnitLength;
    case TakeoffSource::kArea:
      return kUnitArea;
    case TakeoffSource::kCount:
      break;
  }
  return kUnitCount;
}

// The first of the values that every row of one item must share in which two rows differ, or none.
std::optional<Field> FirstDifference(const TakeoffItemDef& earlier, const TakeoffItemDef& later) {
  if (earlier.Source != later.Source) return Field::kSource;
  if (earlier.LossPercent != later.LossPercent) return Field::kLoss;
  if (earlier.Rounding != later.Rounding) return Field::kRounding;
  if (earlier.Digits != later.Digits) return Field::kDigits;
  if (earlier.UnitPriceMicros != later.UnitPriceMicros) return Field::kPrice;
  return std::nullopt;
}

// One data row's cells by column, and the errors found in them.
class RowCells {
 public:
  RowCells(const std::vector<Cell>& cells, const ColumnMap& columns, int32_t line)
      : cells_(cells), columns_(columns), line_(line) {}

  int32_t Line() const { return line_; }
  bool Ok() const { return found_.empty(); }

  void Fail(Field field, std::string_view message) {
    const std::optional<std::size_t> column = columns_[static_cast<std::size_t>(field)];
    found_.push_back(
        {column.value_or(cells_.size()), {line_, std::string(HeadOf(field)), std::string(message)}});
  }

  // Adds the row's errors to the file's, from its left cell to its right.
  void MoveErrorsTo(std::vector<TakeoffError>& errors) {
    std::stable_sort(found_.begin(), found_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [column, error] : found_) errors.push_back(std::move(error));
    found_.clear();
  }

  // The cell's text: "" where the file has no such column or the row stops short of it; none, with the
  // error said, where it cannot be Shift-JIS.
  std::optional<std::string_view> Text(Field field) {
    const std::optional<std::size_t> column = columns_[static_cast<std::size_t>(field)];
    if (!column || *column >= cells_.size()) return std::string_view();
    const Cell& cell = cells_[*column];
    if (!cell.Unconvertible) return cell.Text;
    Fail(field, kErrNotShiftJis);
    return std::nullopt;
  }

  // The cell's value through `read` (which takes the text and gives an optional); none where the text is
  // not Shift-JIS or `read` cannot take it, which is said with `message`.
  template <class Read>
  auto Value(Field field, Read read, std::string_view message) -> decltype(read(std::string_view())) {
    const std::optional<std::string_view> text = Text(field);
    if (!text) return std::nullopt;
    auto value = read(*text);
    if (!value) Fail(field, message);
    return value;
  }

 private:
  const std::vector<Cell>& cells_;
  const ColumnMap& columns_;
  int32_t line_;
  std::vector<std::pair<std::size_t, TakeoffError>> found_;  // by the index of the cell
};

std::optional<double> ReadFactor(std::string_view text) {
  return text.empty() ? std::optional<double>(1) : ReadNumber(text);
}

std::optional<double> ReadLoss(std::string_view text) {
  return text.empty() ? std::optional<double>(0) : ReadLossPercent(text);
}

std::optional<uint32_t> ReadKindsCell(std::string_view text) {
  return text.empty() ? std::optional<uint32_t>(0) : ReadKinds(text);
}

template <class ReadList>
auto ListCell(ReadList readList) {
  return [readList](std::string_view text) {
    return text.empty() ? std::optional<std::vector<int32_t>>(std::in_place) : readList(text);
  };
}

// The item a row names and what it says of it.
void ReadItemCells(RowCells& cells, TakeoffItemDef& item) {
  const auto text = [&cells](Field field) { return std::string(cells.Text(field).value_or("")); };
  item.Line = cells.Line();
  item.Trade = text(Field::kTrade);
  if (const std::optional<std::string_view> name = cells.Text(Field::kName)) {
    item.Name = *name;
    if (item.Name.empty()) cells.Fail(Field::kName, kErrNoName);
  }
  item.Grade = text(Field::kGrade);
  if (const auto source = cells.Value(Field::kSource, ReadSource, kErrSource)) item.Source = *source;
  item.Unit = text(Field::kUnit);
  if (item.Unit.empty()) item.Unit = DefaultUnit(item.Source);
  if (const auto loss = cells.Value(Field::kLoss, ReadLoss, kErrNotNumber)) item.LossPercent = *loss;
  if (const auto rounding = cells.Value(Field::kRounding, ReadRounding, kErrRounding))
    item.Rounding = *rounding;
  if (const auto digits = cells.Value(Field::kDigits, ReadDigits, kErrDigits)) item.Digits = *digits;
  if (const std::optional<std::string_view> price = cells.Text(Field::kPrice); price && !price->empty()) {
    const PriceRead read = ReadUnitPrice(*price);
    if (read.Micros)
      item.UnitPriceMicros = read.Micros;
    else
      cells.Fail(Field::kPrice, read.OutOfRange ? kErrPrice : kErrNotNumber);
  }
  item.Note = text(Field::kNote);
}

// What a row selects, and how.
void ReadRuleCells(RowCells& cells, TakeoffRule& rule) {
  rule.Line = cells.Line();
  if (const auto kinds = cells.Value(Field::kKinds, ReadKindsCell, kErrKind)) rule.Columns = *kinds;
  if (const auto group = cells.Text(Field::kLayerGroup)) ReadLayerGroup(*group, rule);
  if (const auto layer = cells.Text(Field::kLayer)) ReadLayer(*layer, rule);
  if (auto colours = cells.Value(Field::kColours, ListCell(ReadColours), kErrColour))
    rule.Colours = std::move(*colours);
  if (auto types = cells.Value(Field::kTypes, ListCell(ReadTypes), kErrType)) rule.Types = std::move(*types);
  if (auto widths = cells.Value(Field::kWidths, ListCell(ReadWidths), kErrWidth))
    rule.Widths = std::move(*widths);
  rule.BlockName = NamePattern(std::string(cells.Text(Field::kBlockName).value_or("")));
  rule.Text = NamePattern(std::string(cells.Text(Field::kText).value_or("")));
  if (!rule.BlockName.Empty() && !rule.Text.Empty()) cells.Fail(Field::kText, kErrBlockAndText);
  if (const auto factor = cells.Value(Field::kFactor, ReadFactor, kErrNotNumber)) rule.Factor = *factor;
  if (const auto more = cells.Value(Field::kContinue, ReadContinue, kErrContinue)) rule.Continue = *more;
}

// The reading of one file: its heads, then its rows one by one into rules and items.
class RulesReader {
 public:
  explicit RulesReader(RulesEncoding encoding) : encoding_(encoding) {}

  // Takes the row of heads, on `line`; false when the file cannot be read past it.
  bool ReadHeads(const std::vector<Cell>& cells, int32_t line) {
    for (std::size_t i = 0; i < cells.size(); ++i) ReadHead(cells[i].Text, i, line);
    if (columns_[static_cast<std::size_t>(Field::kName)]) return true;
    Fail(line, HeadOf(Field::kName), kErrNoNameColumn);
    return false;
  }

  // Takes one data row; false when the file is to be read no further.
  bool ReadRow(const CsvRow& row) {
    const std::vector<Cell> cells = ToCells(row, encoding_);
    if (IsBlank(cells) && !row.Unterminated) return true;
    if (++dataRows_ > kMaxRuleRows) {
      Fail(row.Line, "", kErrTooManyRows);
      return false;
    }
    if (row.Unterminated) {
      Fail(row.Line, "", kErrOpenQuote);
      return false;
    }
    RowCells rowCells(cells, columns_, row.Line);
    TakeoffItemDef item;
    TakeoffRule rule;
    ReadItemCells(rowCells, item);
    ReadRuleCells(rowCells, rule);
    if (rowCells.Ok()) AddRule(std::move(rule), std::move(item), rowCells);
    rowCells.MoveErrorsTo(result_.Errors);
    return true;
  }

  void Fail(int32_t line, std::string_view column, std::string_view message) {
    result_.Errors.push_back({line, std::string(column), std::string(message)});
  }

  // The rules, or none of them where anything was wrong.
  TakeoffRules Finish() && {
    if (!result_.Errors.empty()) {
      result_.Rules.clear();
      result_.Items.clear();
    }
    return std::move(result_);
  }

 private:
  void ReadHead(const std::string& head, std::size_t column, int32_t line) {
    if (head.empty()) return;
    for (std::size_t f = 0; f < kFieldCount; ++f) {
      if (head != kHeads[f]) continue;
      if (columns_[f])
        Fail(line, head, kErrSameHead);
      else
        columns_[f] = column;
      return;
    }
    result_.IgnoredColumns.push_back(head);
  }

  // The rule goes to the item with the same trade, name, grade and unit, which must agree with it.
  void AddRule(TakeoffRule rule, TakeoffItemDef item, RowCells& cells) {
    const auto [at, added] = itemIndex_.try_emplace({item.Trade, item.Name, item.Grade, item.Unit},
                                                    static_cast<int32_t>(result_.Items.size()));
    rule.Item = at->second;
    if (added) {
      result_.Items.push_back(std::move(item));
      result_.Rules.push_back(std::move(rule));
      return;
    }
    TakeoffItemDef& earlier = result_.Items[static_cast<std::size_t>(at->second)];
    if (const std::optional<Field> differs = FirstDifference(earlier, item)) {
      cells.Fail(*differs,
                 std::string(kErrItemPrefix) + std::to_string(earlier.Line) + std::string(kErrItemSuffix));
      return;
    }
    if (earlier.Note.empty()) earlier.Note = std::move(item.Note);
    result_.Rules.push_back(std::move(rule));
  }

  RulesEncoding encoding_;
  TakeoffRules result_;
  ColumnMap columns_{};
  std::map<std::array<std::string, 4>, int32_t> itemIndex_;
  int32_t dataRows_ = 0;
};

}  // namespace

TakeoffRules ReadTakeoffRules(std::string_view bytes) {
  if (bytes.size() > kMaxRulesFileBytes) {
    TakeoffRules tooLarge;
    tooLarge.Errors.push_back({0, "", std::string(kErrTooLarge)});
    return tooLarge;
  }
  const RulesText text = DetectRulesEncoding(bytes);
  RulesReader reader(text.Encoding);
  CsvReader csv(text.Bytes);
  CsvRow row;
  bool heads = false;
  while (csv.Next(row)) {
    if (!heads) {
      // The heads are the first row that is not blank.
      if (row.Unterminated) {
        reader.Fail(row.Line, "", kErrOpenQuote);
        break;
      }
      const std::vector<Cell> cells = ToCells(row, text.Encoding);
      if (IsBlank(cells)) continue;
      heads = true;
      if (!reader.ReadHeads(cells, row.Line)) break;
      continue;
    }
    if (!reader.ReadRow(row)) break;
  }
  if (!heads && !row.Unterminated) reader.Fail(1, HeadOf(Field::kName), kErrNoNameColumn);
  return std::move(reader).Finish();
}

}  // namespace jwcount
