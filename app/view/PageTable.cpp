#include "app/view/PageTable.h"

#include "app/view/QuantityPage.h"
#include "counting/CountTexts.h"
#include "report/CsvWriter.h"
#include "report/ReportTexts.h"
#include "report/SummaryRows.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

std::unique_ptr<GridSource> QuantityGrid(const SectionData& data) {
  return std::make_unique<QuantityTableSource>(data.Tables, data.Drawing);
}

// What is the window's own: its pages that show no section, and the name each page's CSV save offers. A
// page without a grid of its own shows the section of its id.
struct WindowPage {
  std::string_view Id;
  std::u8string_view CsvSubject;
  std::string_view Title = {};
  std::unique_ptr<GridSource> (*MakeOwn)(const SectionData& data) = nullptr;
  bool Own = false;
};

constexpr WindowPage kWindowPages[] = {
    {"summary", kCountCsvSubject, {}, nullptr, true},
    {"SG1", kCountCsvSubject},
    {"SG2", kCountCsvSubject},
    {"SG3", kCountCsvSubject},
    {"SG4", kCountCsvSubject},
    {"SG5", kCountCsvSubject},
    {"blocks", kCountCsvSubject},
    {"quantities", kQuantityCsvSubject, kQuantityTitle, QuantityGrid, true},
    {"texts", kTextCsvSubject},
    {"checks", kCheckCsvSubject},
    {"diff", kDiffCsvSubject},
};

// Page(&1) to Page(&9), Page(1&0), Page(11) ...; the key is the mnemonic's digit.
void SetCaptionAndKey(PageRow& page, std::size_t index) {
  const std::string number = std::to_string(index + 1);
  std::string caption = "Page(";
  if (index < 10) {
    caption += number.substr(0, number.size() - 1) + "&" + number.back();
    page.Key = number.back();
  } else {
    caption += number;
  }
  caption += ")";
  page.Caption.assign(caption.begin(), caption.end());
}

const SectionRow* FindSection(std::span<const SectionRow> sections, std::string_view id) {
  for (const SectionRow& section : sections)
    if (section.Id == id) return &section;
  return nullptr;
}

bool NamedByWindow(std::string_view id) {
  for (const WindowPage& page : kWindowPages)
    if (page.Id == id) return true;
  return false;
}

PageRow SectionPage(const SectionRow& section, std::u8string_view csvSubject) {
  PageRow page;
  page.Id = std::string(section.Id);
  page.Title = section.Title;
  page.Shows = &section;
  if (csvSubject.empty()) {
    const std::string utf8 = ShiftJisToUtf8(section.Title);
    page.CsvSubject.assign(utf8.begin(), utf8.end());
  } else {
    page.CsvSubject = csvSubject;
  }
  return page;
}

}  // namespace

std::unique_ptr<GridSource> PageRow::MakeSource(const SectionData& data) const {
  if (Shows != nullptr) return Shows->Make(data);
  return MakeOwn != nullptr ? MakeOwn(data) : nullptr;
}

std::vector<PageRow> PagesOf(std::span<const SectionRow> sections) {
  std::vector<PageRow> pages;
  for (const WindowPage& own : kWindowPages) {
    if (own.Own) {
      PageRow& page = pages.emplace_back();
      page.Id = std::string(own.Id);
      page.Title = own.Title;
      page.CsvSubject = own.CsvSubject;
      page.MakeOwn = own.MakeOwn;
    } else if (const SectionRow* section = FindSection(sections, own.Id)) {
      pages.push_back(SectionPage(*section, own.CsvSubject));
    }
  }
  for (const SectionRow& section : sections) {
    if (!NamedByWindow(section.Id)) pages.push_back(SectionPage(section, {}));
  }
  for (std::size_t i = 0; i < pages.size(); ++i) SetCaptionAndKey(pages[i], i);
  return pages;
}

std::span<const PageRow> Pages() {
  static const std::vector<PageRow> pages = PagesOf(Sections());
  return pages;
}

std::size_t PageIndex(std::string_view id) {
  const std::span<const PageRow> pages = Pages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (pages[i].Id == id) return i;
  }
  return pages.size();
}

std::string PageCsv(const GridSource* source, std::span<const std::string> labelTexts,
                    std::string_view firstLine) {
  return CsvFile(source != nullptr ? GridRows(*source) : SummaryRows(labelTexts), firstLine);
}

}  // namespace jwcount
