#include "report/TakeoffSection.h"

#include <cmath>

#include "counting/CountTexts.h"
#include "report/QuantityText.h"
#include "takeoff/RulesTexts.h"
#include "takeoff/TakeoffTexts.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

constexpr std::string_view kSheetHeads[TakeoffSection::kSheetColumns] = {
    kHeadTrade,  kHeadName, kHeadGrade,    kQuantityHead, kHeadUnit, kHeadPrice,
    kAmountHead, kHeadNote, kElementsHead, kMeasuredHead, kHeadLoss, kRuleLinesHead,
};
constexpr std::string_view kErrorHeads[] = {kErrorLineHead, kErrorColumnHead, kErrorReasonHead};

constexpr std::string_view kSourceNames[] = {"count", "length", "area"};
constexpr std::string_view kRoundingNames[] = {"none", "up", "half_up", "down"};

// clang-format off
constexpr std::string_view kRulesLine = "\x83\x8B\x81[\x83\x8B: ";  // ルール: 
constexpr std::string_view kNoRulesFile = "\x83\x8B\x81[\x83\x8B\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1: ";  // ルールファイルがありません: 
constexpr std::string_view kItemsAfter = " \x95i\x96\xDA";  //  品目
constexpr std::string_view kTotalYen = ", \x8D\x87\x8Cv \x81\x8F";  // , 合計 ￥
constexpr std::string_view kUnassignedCount = ", \x96\xA2\x8A\x84\x93\x96 ";  // , 未割当 
constexpr std::string_view kErrorsBefore = "\x83\x8B\x81[\x83\x8B\x82\xC9\x8C\xEB\x82\xE8\x82\xAA ";  // ルールに誤りが 
constexpr std::string_view kErrorsAfter = " \x8C\x8F\x82\xA0\x82\xE9\x82\xBD\x82\xDF\x81" "A\x89\xBD\x82\xE0\x93K\x97p\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81" "B\x8Ds\x81" "E\x97\xF1\x81" "E\x97\x9D\x97R\x82\xCD\x89\xBA\x82\xCC\x95\\\x82\xCC\x82\xC6\x82\xA8\x82\xE8\x82\xC5\x82\xB7\x81" "B";  //  件あるため、何も適用していません。行・列・理由は下の表のとおりです。
// clang-format on

// A decimal for people: a thousands separator in its whole part ("1,234.5"); for a file, as it is.
std::string Grouped(std::string digits, bool forCsv) {
  return forCsv ? digits : WithThousands(digits);
}

std::string YenText(int64_t yen, bool forCsv) {
  return Grouped(std::to_string(yen), forCsv);
}

// What an item measured: for people a count whole and a length or area to three places, as page 8 shows
// them; for a file the exact figure.
std::string MeasuredText(double value, TakeoffSource source, bool forCsv) {
  if (!std::isfinite(value)) return std::string(kNoFigure);
  if (forCsv) return ExactQuantity(value);
  if (source == TakeoffSource::kCount) return Grouped(ExactQuantity(value), false);
  return ShownQuantity(value * (source == TakeoffSource::kArea ? 1e6 : 1e3), source == TakeoffSource::kArea);
}

// A length (mm) or area (mm²) of unassigned elements in the sheet's units: m or ㎡ with three decimals.
std::string UnassignedFigure(const TakeoffUnassigned& u, std::size_t c, bool forCsv) {
  if (u.Length[c] > 0) return forCsv ? ExactQuantity(u.Length[c] / 1e3) : ShownQuantity(u.Length[c], false);
  if (u.Area[c] > 0) return forCsv ? ExactQuantity(u.Area[c] / 1e6) : ShownQuantity(u.Area[c], true);
  return Grouped(std::to_string(u.ByKind[c]), forCsv);
}

std::string_view UnassignedUnit(const TakeoffUnassigned& u, std::size_t c) {
  if (u.Length[c] > 0) return kUnitLength;
  if (u.Area[c] > 0) return kUnitArea;
  return kUnitCount;
}

std::string RuleLinesText(const std::vector<int32_t>& lines) {
  std::string text;
  for (const int32_t line : lines) {
    if (!text.empty()) text += ',';
    text += std::to_string(line);
  }
  return text;
}

}  // namespace

std::string TakeoffItemHead(const TakeoffItemDef& item) {
  std::string head = item.Trade;
  for (const std::string* part : {&item.Name, &item.Grade, &item.Unit}) {
    head += kHeadSeparator;
    head += *part;
  }
  return head;
}

TakeoffSection::TakeoffSection(const TakeoffResult* takeoff) : takeoff_(takeoff) {
  if (takeoff_ == nullptr || takeoff_->State != TakeoffResult::Outcome::kApplied) return;
  const TakeoffSheet& sheet = takeoff_->Sheet;
  for (std::size_t t = 0; t < sheet.Trades.size(); ++t) {
    const TakeoffTrade& trade = sheet.Trades[t];
    for (std::size_t i = trade.First; i < trade.First + trade.Count; ++i)
      rows_.push_back({Row::Kind::kItem, i});
    rows_.push_back({Row::Kind::kSubtotal, t});
  }
  rows_.push_back({Row::Kind::kTotal, 0});
  for (std::size_t c = 0; c < sheet.Unassigned.ByKind.size(); ++c) {
    if (sheet.Unassigned.ByKind[c] > 0) rows_.push_back({Row::Kind::kUnassigned, c + 1});
  }
}

std::string SheetFigures(const TakeoffSheet& sheet) {
  std::string line = std::to_string(sheet.Items.size());
  line += kItemsAfter;
  if (sheet.TotalAmount) {
    line += kTotalYen;
    line += YenText(*sheet.TotalAmount, false);
  }
  line += kUnassignedCount;
  line += std::to_string(sheet.Unassigned.Elements);
  return line;
}

std::string TakeoffSection::Notice() const {
  if (takeoff_ == nullptr) return {};
  const std::string file = Utf8ToShiftJis(takeoff_->RulesFile);
  if (takeoff_->State == TakeoffResult::Outcome::kNoRules) return std::string(kNoRulesFile) + file;
  std::string notice = std::string(kRulesLine) + file + "\r\n";
  switch (takeoff_->State) {
    case TakeoffResult::Outcome::kApplied:
      return notice + SheetFigures(takeoff_->Sheet);
    case TakeoffResult::Outcome::kErrors:
      return notice + std::string(kErrorsBefore) + std::to_string(takeoff_->Rules.Errors.size()) +
             std::string(kErrorsAfter);
    default:
      return notice + takeoff_->Why;
  }
}

std::string_view TakeoffSection::Title() const {
  return kTakeoffTitle;
}

bool TakeoffSection::HasContent() const {
  return takeoff_ != nullptr && takeoff_->State != TakeoffResult::Outcome::kNoRules;
}

bool TakeoffSection::ShowsErrors() const {
  return takeoff_ != nullptr && takeoff_->State == TakeoffResult::Outcome::kErrors;
}

int TakeoffSection::ColumnCount() const {
  return ShowsErrors() ? static_cast<int>(std::size(kErrorHeads)) : kSheetColumns;
}

int TakeoffSection::RowCount() const {
  if (ShowsErrors()) return static_cast<int>(takeoff_->Rules.Errors.size()) + 1;
  return static_cast<int>(rows_.size()) + 1;
}

std::string TakeoffSection::CellText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) return {};
  if (ShowsErrors()) return ErrorCell(column, row);
  if (row == 0) return std::string(kSheetHeads[column]);
  return SheetCell(column, rows_[static_cast<std::size_t>(row - 1)], false);
}

std::string TakeoffSection::CsvText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 1 || row >= RowCount() || ShowsErrors())
    return CellText(column, row);
  return SheetCell(column, rows_[static_cast<std::size_t>(row - 1)], true);
}

std::string TakeoffSection::ErrorCell(int column, int row) const {
  if (row == 0) return std::string(kErrorHeads[column]);
  const TakeoffError& error = takeoff_->Rules.Errors[static_cast<std::size_t>(row - 1)];
  if (column == 0) return error.Line > 0 ? std::to_string(error.Line) : std::string();
  return column == 1 ? error.Column : error.Message;
}

std::string TakeoffSection::SheetCell(int column, const Row& row, bool forCsv) const {
  const TakeoffSheet& sheet = takeoff_->Sheet;
  switch (row.What) {
    case Row::Kind::kSubtotal: {
      const TakeoffTrade& trade = sheet.Trades[row.Index];
      if (column == kTrade) return trade.Name;
      if (column == kName) return std::string(kSubtotalLabel);
      if (column == kAmount && trade.Amount) return YenText(*trade.Amount, forCsv);
      return {};
    }
    case Row::Kind::kTotal:
      if (column == kName) return std::string(kTotalLabel);
      if (column == kAmount && sheet.TotalAmount) return YenText(*sheet.TotalAmount, forCsv);
      return {};
    case Row::Kind::kUnassigned: {
      const std::size_t c = row.Index - 1;
      if (column == kTrade) return std::string(kUnassignedLabel);
      if (column == kName) return std::string(kColumnHeads[c]);
      if (column == kQuantity || column == kMeasured) return UnassignedFigure(sheet.Unassigned, c, forCsv);
      if (column == kUnit) return std::string(UnassignedUnit(sheet.Unassigned, c));
      if (column == kElements) return std::to_string(sheet.Unassigned.ByKind[c]);
      return {};
    }
    case Row::Kind::kItem:
      break;
  }
  const TakeoffItem& item = sheet.Items[row.Index];
  const TakeoffItemDef& def = takeoff_->Rules.Items[static_cast<std::size_t>(item.Def)];
  switch (column) {
    case kTrade:
      return def.Trade;
    case kName:
      return def.Name;
    case kGrade:
      return def.Grade;
    case kQuantity:
      return item.QuantityMicros
                 ? MicrosText(*item.QuantityMicros, def.Rounding == TakeoffRounding::kNone ? 0 : def.Digits)
                 : std::string(kNoFigure);
    case kUnit:
      return def.Unit;
    case kUnitPrice:
      return def.UnitPriceMicros ? Grouped(MicrosText(*def.UnitPriceMicros, 0), forCsv) : std::string();
    case kAmount:
      if (!def.UnitPriceMicros) return {};
      return item.Amount ? YenText(*item.Amount, forCsv) : std::string(kNoFigure);
    case kNote:
      return def.Note;
    case kElements:
      return std::to_string(item.Elements);
    case kMeasured:
      return MeasuredText(item.Measured, def.Source, forCsv);
    case kLoss:
      return ExactQuantity(def.LossPercent);
    default:
      return RuleLinesText(item.RuleLines);
  }
}

int TakeoffSection::ColumnWidth(int column) const {
  if (ShowsErrors()) {
    constexpr int kWidths[] = {48, 96, 400};
    return column >= 0 && column < 3 ? kWidths[column] : 0;
  }
  constexpr int kWidths[kSheetColumns] = {96, 160, 96, 80, 40, 72, 96, 160, 56, 80, 56, 72};
  return column >= 0 && column < kSheetColumns ? kWidths[column] : 0;
}

bool TakeoffSection::RightAligned(int column) const {
  if (ShowsErrors()) return column == 0;
  return column == kQuantity || column == kUnitPrice || column == kAmount || column == kElements ||
         column == kMeasured || column == kLoss;
}

ElementCover TakeoffItemCover(const TakeoffResult& takeoff, const TakeoffItem& item) {
  ElementCover cover;
  cover.From = ElementCover::Source::kTakeoffItem;
  cover.Row = item.Def;
  cover.Label = takeoff.Rules.Items[static_cast<std::size_t>(item.Def)].Name;
  cover.Count = item.Elements;
  return cover;
}

ElementCover UnassignedCover(const TakeoffResult& takeoff, int column) {
  const TakeoffUnassigned& unassigned = takeoff.Sheet.Unassigned;
  ElementCover cover;
  cover.From = ElementCover::Source::kUnassigned;
  cover.Row = column;
  cover.Label = std::string(kUnassignedLabel);
  if (column == 0) {
    cover.Count = unassigned.Elements;
  } else {
    cover.Label += kColumnHeads[static_cast<std::size_t>(column - 1)];
    cover.Count = unassigned.ByKind[static_cast<std::size_t>(column - 1)];
  }
  return cover;
}

ElementCover TakeoffSection::RowCover(int row) const {
  if (ShowsErrors() || row < 1 || row >= RowCount()) return {};
  const Row& entry = rows_[static_cast<std::size_t>(row - 1)];
  if (entry.What == Row::Kind::kItem) return TakeoffItemCover(*takeoff_, takeoff_->Sheet.Items[entry.Index]);
  if (entry.What == Row::Kind::kUnassigned) return UnassignedCover(*takeoff_, static_cast<int>(entry.Index));
  return {};
}

void TakeoffSection::WriteText(SectionText& out) const {
  if (takeoff_->State != TakeoffResult::Outcome::kApplied && !ShowsErrors()) {
    out.Line(kTakeoffTitle);
    out.Line(takeoff_->Why);
    return;
  }
  std::vector<std::vector<std::string>> rows;
  for (int row = 0; row < RowCount(); ++row) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (int column = 0; column < ColumnCount(); ++column) {
      // The note, a text of any length, goes last.
      const int shown = ShowsErrors() || column < kNote ? column
                        : column == kSheetColumns - 1   ? kNote
                                                        : column + 1;
      cells.push_back(out.Name(CellText(shown, row)));
    }
  }
  out.Table(kTakeoffTitle, rows, true);
}

void TakeoffSection::WriteCsv(SectionCsv& out) const {
  if (ShowsErrors()) {
    for (const TakeoffError& error : takeoff_->Rules.Errors)
      out.Record(kTakeoffTitle, std::to_string(error.Line), error.Column, kErrorReasonHead, error.Message);
    return;
  }
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const Row& row = rows_[r];
    std::string head;
    if (row.What == Row::Kind::kItem) {
      const TakeoffItem& item = takeoff_->Sheet.Items[row.Index];
      head = TakeoffItemHead(takeoff_->Rules.Items[static_cast<std::size_t>(item.Def)]);
    } else {
      head = SheetCell(kTrade, row, true) + std::string(kHeadSeparator) + SheetCell(kName, row, true);
    }
    for (int column = kQuantity; column < kSheetColumns; ++column) {
      if (column == kUnit) continue;
      const std::string value = SheetCell(column, row, true);
      if (!value.empty()) out.Record(kTakeoffTitle, head, {}, kSheetHeads[column], value);
    }
  }
}

namespace {

void WriteMicros(JsonWriter& json, std::string_view key, const std::optional<int64_t>& micros) {
  json.Key(key);
  if (micros)
    json.Literal(MicrosText(*micros, 0));
  else
    json.Literal("null");
}

void WriteYen(JsonWriter& json, std::string_view key, const std::optional<int64_t>& yen) {
  json.Key(key);
  if (yen)
    json.Int(*yen);
  else
    json.Literal("null");
}

void WriteItem(JsonWriter& json, const TakeoffItem& item, const TakeoffItemDef& def) {
  json.Newline();
  json.BeginObject();
  json.TextField("trade", def.Trade);
  json.TextField("name", def.Name);
  json.TextField("spec", def.Grade);
  json.TextField("unit", def.Unit);
  json.Key("source");
  json.Text(kSourceNames[static_cast<std::size_t>(def.Source)]);
  json.ArrayField("rules", item.RuleLines);
  json.Field("elements", item.Elements);
  json.Field("measured", item.Measured);
  json.Field("factored", item.Factored);
  json.Field("loss_percent", def.LossPercent);
  json.Key("rounding");
  json.Text(kRoundingNames[static_cast<std::size_t>(def.Rounding)]);
  json.Field("digits", def.Digits);
  WriteMicros(json, "quantity", item.QuantityMicros);
  WriteMicros(json, "unit_price", def.UnitPriceMicros);
  WriteYen(json, "amount", item.Amount);
  json.TextField("note", def.Note);
  json.EndObject();
}

void WriteUnassigned(JsonWriter& json, const TakeoffUnassigned& u) {
  json.Key("unassigned");
  json.BeginObject();
  json.Field("elements", u.Elements);
  json.ArrayField("by_kind", u.ByKind);
  json.Field("length", u.TotalLength);
  json.Field("area", u.TotalArea);
  json.EndObject();
}

void WriteErrors(JsonWriter& json, const TakeoffResult& takeoff) {
  json.Key("errors");
  json.BeginArray();
  for (const TakeoffError& error : takeoff.Rules.Errors) {
    json.Newline();
    json.BeginObject();
    json.Field("line", error.Line);
    json.TextField("column", error.Column);
    json.TextField("message", error.Message);
    json.EndObject();
  }
  // A file that could not be read or a count of part of the drawing: one error for the file as a whole.
  if (takeoff.State == TakeoffResult::Outcome::kUnreadable ||
      takeoff.State == TakeoffResult::Outcome::kNotComplete) {
    json.Newline();
    json.BeginObject();
    json.Field("line", 0);
    json.TextField("column", "");
    json.TextField("message", takeoff.Why);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

void TakeoffSection::WriteJsonValue(JsonWriter& json) const {
  const TakeoffResult& takeoff = *takeoff_;
  const bool applied = takeoff.State == TakeoffResult::Outcome::kApplied;
  json.BeginObject();
  json.Newline();
  json.Key("rules_file");
  json.Utf8(takeoff.RulesFile);
  json.Key("rules_sha256");
  if (takeoff.Sha256.empty())
    json.Literal("null");
  else
    json.Text(takeoff.Sha256);
  json.Newline();
  json.TextArrayField("ignored_columns", takeoff.Rules.IgnoredColumns);
  json.Newline();
  WriteErrors(json, takeoff);
  json.Newline();
  json.Key("items");
  json.BeginArray();
  for (const TakeoffItem& item : takeoff.Sheet.Items)
    WriteItem(json, item, takeoff.Rules.Items[static_cast<std::size_t>(item.Def)]);
  json.EndArray();
  json.Newline();
  json.Key("trades");
  json.BeginArray();
  for (const TakeoffTrade& trade : takeoff.Sheet.Trades) {
    json.BeginObject();
    json.TextField("trade", trade.Name);
    WriteYen(json, "amount", trade.Amount);
    json.EndObject();
  }
  json.EndArray();
  json.Newline();
  if (applied) {
    WriteYen(json, "total_amount", takeoff.Sheet.TotalAmount);
    json.Newline();
    WriteUnassigned(json, takeoff.Sheet.Unassigned);
  } else {
    json.Key("total_amount");
    json.Literal("null");
    json.Key("unassigned");
    json.Literal("null");
  }
  json.EndObject();
}

namespace {

// The workbook's columns of the sheet: the page's, then how 数量 is worked out from 図面数量.
enum WorkbookColumn : int {
  kFactoredColumn = TakeoffSection::kMeasured + 1,
  kLossColumn,
  kRoundingColumn,
  kDigitsColumn,
  kRuleLinesColumn,
};

constexpr std::string_view kWorkbookHeads[] = {
    kHeadTrade,    kHeadName,   kHeadGrade,    kQuantityHead, kHeadUnit,
    kHeadPrice,    kAmountHead, kHeadNote,     kElementsHead, kMeasuredHead,
    kFactoredHead, kHeadLoss,   kHeadRounding, kHeadDigits,   kRuleLinesHead,
};

std::string_view RoundingWord(TakeoffRounding rounding) {
  switch (rounding) {
    case TakeoffRounding::kUp:
      return kRoundUp;
    case TakeoffRounding::kHalfUp:
      return kRoundHalfUp;
    case TakeoffRounding::kDown:
      return kRoundDown;
    case TakeoffRounding::kNone:
      break;
  }
  return {};
}

// 数量 as a formula of the row's 換算数量, ロス率 and 桁: the factored quantity with its loss to six places,
// then rounded the item's way.
std::string QuantityFormula(TakeoffRounding rounding, int64_t row) {
  const std::string inner =
      "ROUND(" + CellName(kFactoredColumn, row) + "*(1+" + CellName(kLossColumn, row) + "/100),6)";
  const std::string_view function = rounding == TakeoffRounding::kUp       ? "ROUNDUP"
                                    : rounding == TakeoffRounding::kHalfUp ? "ROUND"
                                    : rounding == TakeoffRounding::kDown   ? "ROUNDDOWN"
                                                                           : "";
  if (function.empty()) return inner;
  return std::string(function) + "(" + inner + "," + CellName(kDigitsColumn, row) + ")";
}

// The decimals of a figure held in millionths: none for a whole one, else as many as it has.
int MicrosDecimals(int64_t micros) {
  int decimals = 6;
  for (int64_t rest = micros % 1000000; decimals > 0 && rest % 10 == 0; rest /= 10) --decimals;
  return micros % 1000000 == 0 ? 0 : decimals;
}

}  // namespace

void TakeoffSection::WriteItemRow(SectionSheet& out, const TakeoffItem& item) const {
  const TakeoffItemDef& def = takeoff_->Rules.Items[static_cast<std::size_t>(item.Def)];
  const int64_t row = out.Row();
  const auto text = [&out](std::string_view value) { value.empty() ? out.Blank() : out.Text(value); };
  text(def.Trade);
  text(def.Name);
  text(def.Grade);
  // Shown to the item's 桁, or without rounding a count whole and a length or area to three places.
  const int digits = def.Rounding != TakeoffRounding::kNone ? def.Digits
                     : def.Source == TakeoffSource::kCount  ? 0
                                                            : 3;
  if (item.QuantityMicros)
    out.Formula(QuantityFormula(def.Rounding, row), static_cast<double>(*item.QuantityMicros) / 1e6, digits);
  else
    out.Text(kNoFigure);
  text(def.Unit);
  if (def.UnitPriceMicros)
    out.Figure(static_cast<double>(*def.UnitPriceMicros) / 1e6, MicrosDecimals(*def.UnitPriceMicros));
  else
    out.Blank();
  if (!def.UnitPriceMicros)
    out.Blank();
  else if (item.QuantityMicros && item.Amount)
    out.Formula("ROUNDDOWN(ROUND(" + CellName(kQuantity, row) + "*" + CellName(kUnitPrice, row) + ",6),0)",
                static_cast<double>(*item.Amount), 0);
  else
    out.Text(kNoFigure);
  text(def.Note);
  out.Whole(item.Elements);
  out.Figure(item.Measured, def.Source == TakeoffSource::kCount ? 0 : 3);
  out.Figure(item.Factored, def.Source == TakeoffSource::kCount ? 0 : 3);
  out.Figure(def.LossPercent, MicrosDecimals(static_cast<int64_t>(std::llround(def.LossPercent * 1e6))));
  text(RoundingWord(def.Rounding));
  if (def.Rounding == TakeoffRounding::kNone)
    out.Blank();
  else
    out.Whole(def.Digits);
  out.Text(RuleLinesText(item.RuleLines));
  out.EndRow();
}

void TakeoffSection::WriteSheet(SectionSheet& out) const {
  if (out.Member != Id()) return;
  if (ShowsErrors()) return WriteGridSheet(out, Title(), *this);
  const std::vector<std::string> heads(std::begin(kWorkbookHeads), std::end(kWorkbookHeads));
  out.Begin(Title(), heads);
  if (takeoff_->State != TakeoffResult::Outcome::kApplied) {
    out.Text(takeoff_->Why);
    out.EndRow();
    return;
  }
  const TakeoffSheet& sheet = takeoff_->Sheet;
  const int64_t firstItem = out.Row();
  int64_t tradeFirst = firstItem;
  const auto amounts = [](int64_t first, int64_t last) {
    return "SUBTOTAL(9," + CellName(kAmount, first) + ":" + CellName(kAmount, last) + ")";
  };
  for (const Row& row : rows_) {
    switch (row.What) {
      case Row::Kind::kItem:
        WriteItemRow(out, sheet.Items[row.Index]);
        break;
      case Row::Kind::kSubtotal: {
        const TakeoffTrade& trade = sheet.Trades[row.Index];
        out.Text(trade.Name);
        out.Text(kSubtotalLabel);
        for (int column = kGrade; column < kAmount; ++column) out.Blank();
        if (trade.Amount)
          out.Formula(amounts(tradeFirst, out.Row() - 1), static_cast<double>(*trade.Amount), 0);
        out.EndRow();
        tradeFirst = out.Row();
        break;
      }
      case Row::Kind::kTotal:
        out.Blank();
        out.Text(kTotalLabel);
        for (int column = kGrade; column < kAmount; ++column) out.Blank();
        if (sheet.TotalAmount)
          out.Formula(amounts(firstItem, out.Row() - 1), static_cast<double>(*sheet.TotalAmount), 0);
        out.EndRow();
        break;
      case Row::Kind::kUnassigned: {
        const std::size_t c = row.Index - 1;
        const TakeoffUnassigned& u = sheet.Unassigned;
        const double figure = u.Length[c] > 0 ? u.Length[c] / 1e3
                              : u.Area[c] > 0 ? u.Area[c] / 1e6
                                              : static_cast<double>(u.ByKind[c]);
        const int decimals = u.Length[c] > 0 || u.Area[c] > 0 ? 3 : 0;
        out.Text(kUnassignedLabel);
        out.Text(kColumnHeads[c]);
        out.Blank();
        out.Figure(figure, decimals);
        out.Text(UnassignedUnit(u, c));
        out.Blank();
        out.Blank();
        out.Blank();
        out.Whole(u.ByKind[c]);
        out.Figure(figure, decimals);
        out.EndRow();
        break;
      }
    }
  }
}

}  // namespace jwcount
