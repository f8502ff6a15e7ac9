#include "app/view/PageTable.h"

#include "app/view/BlockOrder.h"
#include "app/view/CheckPage.h"
#include "app/view/QuantityPage.h"
#include "counting/CountTexts.h"
#include "report/CountReport.h"
#include "report/CsvWriter.h"
#include "report/ReportTexts.h"
#include "report/SummaryRows.h"

namespace jwcount {
namespace {

// A count table's page; the row heads of SG1 and SG2 carry the drawing's layer and layer-group names.
template <CountTableId Id>
std::unique_ptr<GridSource> CountTablePage(const PageData& data) {
  const bool named = Id == CountTableId::kSG1 || Id == CountTableId::kSG2;
  return std::make_unique<CountTableSource>(NamedTables(data.Tables)[static_cast<std::size_t>(Id)].Table,
                                            named ? &data.Drawing : nullptr, Id);
}

std::unique_ptr<GridSource> BlockPage(const PageData& data) {
  return std::make_unique<NameTableSource>(data.Tables.Blocks, kBlockNameHead);
}

std::unique_ptr<GridSource> TextPage(const PageData& data) {
  return std::make_unique<NameTableSource>(data.Tables.Texts, kTextHead);
}

std::unique_ptr<GridSource> CheckPage(const PageData& data) {
  return std::make_unique<CheckTableSource>(data.Tables.Checks);
}

std::unique_ptr<GridSource> QuantityPage(const PageData& data) {
  return std::make_unique<QuantityTableSource>(data.Tables, data.Drawing);
}

constexpr PageRow kPages[] = {
    {u8"Page(&1)", '1', {}, nullptr, kCountCsvSubject},
    {u8"Page(&2)", '2', kTableTitles[0], CountTablePage<CountTableId::kSG1>, kCountCsvSubject},
    {u8"Page(&3)", '3', kTableTitles[1], CountTablePage<CountTableId::kSG2>, kCountCsvSubject},
    {u8"Page(&4)", '4', kTableTitles[2], CountTablePage<CountTableId::kSG3>, kCountCsvSubject},
    {u8"Page(&5)", '5', kTableTitles[3], CountTablePage<CountTableId::kSG4>, kCountCsvSubject},
    {u8"Page(&6)", '6', kTableTitles[4], CountTablePage<CountTableId::kSG5>, kCountCsvSubject},
    {u8"Page(&7)", '7', kBlockTableTitle, BlockPage, kCountCsvSubject},
    {u8"Page(&8)", '8', kQuantityTitle, QuantityPage, kQuantityCsvSubject},
    {u8"Page(&9)", '9', kTextTableTitle, TextPage, kTextCsvSubject},
    {u8"Page(1&0)", '0', kCheckTitle, CheckPage, kCheckCsvSubject},
};

}  // namespace

std::span<const PageRow> Pages() {
  return kPages;
}

std::string PageCsv(const GridSource* source, std::span<const std::string> labelTexts,
                    std::string_view firstLine) {
  return CsvFile(source != nullptr ? GridRows(*source) : SummaryRows(labelTexts), firstLine);
}

}  // namespace jwcount
