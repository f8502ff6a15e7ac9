#include "app/view/PageTable.h"

#include "app/view/QuantityPage.h"
#include "counting/CountTexts.h"
#include "report/CountReport.h"
#include "report/CsvWriter.h"
#include "report/DiffSection.h"
#include "report/ReportTexts.h"
#include "report/Section.h"
#include "report/SummaryRows.h"

namespace jwcount {
namespace {

// The page of a section: its grid is the section itself.
template <std::size_t Index>
std::unique_ptr<GridSource> SectionPage(const PageData& data) {
  return Sections()[Index].Make({data.Tables, data.Drawing, data.Comparison});
}

std::unique_ptr<GridSource> QuantityPage(const PageData& data) {
  return std::make_unique<QuantityTableSource>(data.Tables, data.Drawing);
}

constexpr PageRow kPages[] = {
    {"summary", u8"Page(&1)", '1', {}, nullptr, kCountCsvSubject},
    {"sg1", u8"Page(&2)", '2', kTableTitles[0], SectionPage<0>, kCountCsvSubject},
    {"sg2", u8"Page(&3)", '3', kTableTitles[1], SectionPage<1>, kCountCsvSubject},
    {"sg3", u8"Page(&4)", '4', kTableTitles[2], SectionPage<2>, kCountCsvSubject},
    {"sg4", u8"Page(&5)", '5', kTableTitles[3], SectionPage<3>, kCountCsvSubject},
    {"sg5", u8"Page(&6)", '6', kTableTitles[4], SectionPage<4>, kCountCsvSubject},
    {"blocks", u8"Page(&7)", '7', kBlockTableTitle, SectionPage<5>, kCountCsvSubject},
    {"quantities", u8"Page(&8)", '8', kQuantityTitle, QuantityPage, kQuantityCsvSubject},
    {"texts", u8"Page(&9)", '9', kTextTableTitle, SectionPage<6>, kTextCsvSubject},
    {"checks", u8"Page(1&0)", '0', kCheckTitle, SectionPage<7>, kCheckCsvSubject},
    {"diff", u8"Page(11)", 0, kDiffTitle, SectionPage<8>, kDiffCsvSubject},
};

}  // namespace

std::span<const PageRow> Pages() {
  return kPages;
}

std::size_t PageIndex(std::string_view id) {
  for (std::size_t i = 0; i < std::size(kPages); ++i) {
    if (kPages[i].Id == id) return i;
  }
  return std::size(kPages);
}

std::string PageCsv(const GridSource* source, std::span<const std::string> labelTexts,
                    std::string_view firstLine) {
  return CsvFile(source != nullptr ? GridRows(*source) : SummaryRows(labelTexts), firstLine);
}

}  // namespace jwcount
