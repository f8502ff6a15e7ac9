#include "report/CheckSection.h"

#include <array>
#include <vector>

#include "counting/CountTexts.h"
#include "report/CheckText.h"
#include "report/SheetTexts.h"

namespace jwcount {
namespace {

constexpr std::string_view kIndent = "\x81\x40";  // a full-width blank before a kind under 重複

ElementCover CoverOf(const CheckRow& entry) {
  ElementCover cover;
  cover.From = ElementCover::Source::kCheck;
  cover.Kind = entry.Kind;
  cover.Check = entry.Check->Id;
  cover.Label = entry.Label;
  cover.Count = entry.Finding->Count;
  return cover;
}

}  // namespace

ElementCover CheckSection::RowCover(int row) const {
  if (!checks_.Found() || row < 1 || row >= RowCount()) return {};
  return CoverOf(CheckRows(checks_)[static_cast<std::size_t>(row - 1)]);
}

std::vector<ElementCover> CheckCovers(const DrawingChecks& checks) {
  std::vector<ElementCover> covers;
  for (const CheckRow& row : CheckRows(checks)) {
    if (row.Kind == 0 && row.Finding->Count > 0) covers.push_back(CoverOf(row));
  }
  return covers;
}

int CheckSection::RowCount() const {
  return checks_.Found() ? static_cast<int>(CheckRows(checks_).size()) + 1 : 2;
}

std::string CheckSection::CellText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) return {};
  if (row == 0) {
    constexpr std::string_view kHeads[] = {kCheckTitle, kCountHead, kSameLayerHead, kOtherLayerHead,
                                           kLayersHead};
    return std::string(kHeads[column]);
  }
  if (!checks_.Found()) return column == kCheckColumn ? std::string(kNoProblems) : std::string();
  const CheckRow entry = CheckRows(checks_)[static_cast<std::size_t>(row - 1)];
  const bool duplicates = entry.Kind == 0 && entry.Check->ByKind;
  switch (column) {
    case kCheckColumn:
      return entry.Kind != 0 ? std::string(kIndent) + std::string(entry.Label) : std::string(entry.Label);
    case kCountColumn:
      return std::to_string(entry.Finding->Count);
    case kSameLayerColumn:
      return duplicates ? std::to_string(checks_.SameLayer) : std::string();
    case kOtherLayerColumn:
      return duplicates ? std::to_string(checks_.Duplicates.Count - checks_.SameLayer) : std::string();
    default:
      return LayersText(entry.Finding->Layers);
  }
}

int CheckSection::ColumnWidth(int column) const {
  constexpr int kWidths[] = {136, 48, 72, 72, 160};
  return column >= 0 && column < ColumnCount() ? kWidths[column] : 0;
}

std::string_view CheckSection::Title() const {
  return kCheckTitle;
}

void CheckSection::WriteJsonValue(JsonWriter& json) const {
  json.BeginObject();
  for (const CheckListRow& check : kCheckList) {
    if (!check.ByKind) {
      json.Field(check.JsonKey, check.Of(checks_).Count);
      continue;
    }
    json.Key(check.JsonKey);
    json.BeginObject();
    json.Field("total", check.Of(checks_).Count);
    json.Field("same_layer", checks_.SameLayer);
    std::array<int32_t, 15> byKind{};
    for (std::size_t k = 0; k < byKind.size(); ++k) byKind[k] = checks_.DuplicatesByKind[k].Count;
    json.ArrayField("by_kind", byKind);
    json.EndObject();
  }
  json.EndObject();
}

void CheckSection::WriteText(SectionText& out) const {
  if (!checks_.Found()) {
    out.Line(kCheckTitle);
    out.Line(kNoProblems);
    return;
  }
  std::vector<std::vector<std::string>> rows;
  rows.push_back({out.Utf8(kCheckTitle), out.Utf8(kCountHead), out.Utf8(kSameLayerHead),
                  out.Utf8(kOtherLayerHead), out.Utf8(kLayersHead)});
  for (const CheckRow& row : CheckRows(checks_)) {
    std::vector<std::string>& cells = rows.emplace_back();
    cells.push_back((row.Kind != 0 ? "  " : "") + out.Utf8(row.Label));
    cells.push_back(std::to_string(row.Finding->Count));
    const bool split = row.Kind == 0 && row.Check->ByKind;
    cells.push_back(split ? std::to_string(checks_.SameLayer) : "");
    cells.push_back(split ? std::to_string(checks_.Duplicates.Count - checks_.SameLayer) : "");
    cells.push_back(out.Utf8(LayersText(row.Finding->Layers)));
  }
  out.Table(kCheckTitle, rows, true);
}

// The checks that found something, the duplicates also by layer and by kind (the kind as the name).
void CheckSection::WriteCsv(SectionCsv& out) const {
  for (const CheckRow& row : CheckRows(checks_)) {
    if (row.Finding->Count == 0) continue;
    const bool byKind = row.Kind != 0;
    out.Record(kCheckTitle, byKind ? row.Check->Label : row.Label, byKind ? row.Label : std::string_view(),
               kCountHead, std::to_string(row.Finding->Count));
    if (row.Kind != 0 || !row.Check->ByKind) continue;
    const int32_t other = checks_.Duplicates.Count - checks_.SameLayer;
    if (checks_.SameLayer > 0)
      out.Record(kCheckTitle, row.Label, {}, kSameLayerHead, std::to_string(checks_.SameLayer));
    if (other > 0) out.Record(kCheckTitle, row.Label, {}, kOtherLayerHead, std::to_string(other));
  }
}

std::string_view CheckSection::SheetName() const {
  return kCheckSheet;
}

}  // namespace jwcount
