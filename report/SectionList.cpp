#include "report/SectionList.h"

#include "counting/CountTexts.h"
#include "report/CheckSection.h"
#include "report/CountSection.h"
#include "report/DiffSection.h"
#include "report/NameSection.h"
#include "report/TakeoffSection.h"
#include "takeoff/TakeoffTexts.h"

namespace jwcount {

namespace {

template <CountTableId Id>
std::unique_ptr<Section> CountTableSection(const SectionData& data) {
  return std::make_unique<CountSection>(CountTableOf(Id).Of(data.Tables), data.Drawing, Id);
}

std::unique_ptr<Section> BlockSection(const SectionData& data) {
  return std::make_unique<NameSection>(NameSection::kBlocks, data.Tables.Blocks);
}

std::unique_ptr<Section> TextSection(const SectionData& data) {
  return std::make_unique<NameSection>(NameSection::kTexts, data.Tables.Texts);
}

std::unique_ptr<Section> ChecksSection(const SectionData& data) {
  return std::make_unique<CheckSection>(data.Tables.Checks);
}

std::unique_ptr<Section> ComparisonSection(const SectionData& data) {
  return std::make_unique<DiffSection>(data.Comparison);
}

std::unique_ptr<Section> QuantitySheetSection(const SectionData& data) {
  return std::make_unique<TakeoffSection>(data.Takeoff);
}

template <CountTableId Id>
constexpr SectionRow CountTableRowOf() {
  return {CountTableOf(Id).Id, CountTableOf(Id).Title, CountTableSection<Id>};
}

constexpr SectionRow kSections[] = {
    CountTableRowOf<CountTableId::kSG1>(),   CountTableRowOf<CountTableId::kSG2>(),
    CountTableRowOf<CountTableId::kSG3>(),   CountTableRowOf<CountTableId::kSG4>(),
    CountTableRowOf<CountTableId::kSG5>(),   {"blocks", kBlockTableTitle, BlockSection},
    {"texts", kTextTableTitle, TextSection}, {"checks", kCheckTitle, ChecksSection},
    {"diff", kDiffTitle, ComparisonSection}, {"takeoff", kTakeoffTitle, QuantitySheetSection},
};

}  // namespace

std::span<const SectionRow> Sections() {
  return kSections;
}

std::vector<std::unique_ptr<Section>> ReportSections(const CountReport& report,
                                                     std::span<const SectionRow> rows,
                                                     const CountComparison* comparison) {
  std::vector<std::unique_ptr<Section>> sections;
  for (const SectionRow& row : rows) {
    const TakeoffResult* takeoff = report.Takeoff ? &*report.Takeoff : nullptr;
    std::unique_ptr<Section> section = row.Make({report.Tables, report.State.Drawing, comparison, takeoff});
    if (section->HasContent()) sections.push_back(std::move(section));
  }
  return sections;
}

}  // namespace jwcount
