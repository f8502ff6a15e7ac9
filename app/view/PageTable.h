// The window's pages as data: one row per page, in the order of the tabs. The window builds its tabs,
// title panels, grids, keys and CSV saves from these rows alone. A page shows a section of the count
// (report/Section.h), which the reports write too, or one of the window's own pages: page 1's summary, and
// page 8's lengths and areas of the count tables by the grouping the user picks.
//
// The rows are made from the list of sections: the window adds only what is its own (where its own pages
// go, and the name each page's CSV save offers), names a section by its id, and shows a section it does not
// name after the others. A tab's caption and Alt key follow from its place: Page(&1) to Page(&9) with Alt+1
// to Alt+9, Page(1&0) with Alt+0, then Page(11) and on without a key.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/CountDiff.h"
#include "report/GridSource.h"
#include "report/SectionList.h"

namespace jwcount {

struct PageRow {
  std::string Id;                     // its section's id, or the window's own page: "summary" or "quantities"
  std::u8string Caption;              // the tab's caption; the character after & is its mnemonic
  char Key = 0;                       // Alt+Key shows the page ('0' to '9'); 0 for none
  std::string_view Title;             // Shift-JIS, shown above the grid; empty for page 1
  std::u8string CsvSubject;           // the CSV save offers "<drawing name>_<CsvSubject>.csv"
  const SectionRow* Shows = nullptr;  // the section shown; nullptr for the window's own pages
  std::unique_ptr<GridSource> (*MakeOwn)(const SectionData& data) = nullptr;  // page 8's grid

  // False for page 1, whose labels are no grid.
  bool HasGrid() const { return Shows != nullptr || MakeOwn != nullptr; }
  // The page's grid over a count; nullptr for page 1.
  std::unique_ptr<GridSource> MakeSource(const SectionData& data) const;
};

// The pages of these sections, page 1 first.
std::vector<PageRow> PagesOf(std::span<const SectionRow> sections);
// The pages of every section of the count.
std::span<const PageRow> Pages();
// The place of the page with the id in Pages(); Pages().size() for none.
std::size_t PageIndex(std::string_view id);

// What the CSV save writes for a page: its grid's every cell, or for page 1 the summary labels as rows of
// kind and count (labelTexts, Shift-JIS, as shown); after firstLine (UTF-8, such as the short-read
// warning) when that is not empty.
std::string PageCsv(const GridSource* source, std::span<const std::string> labelTexts,
                    std::string_view firstLine = {});

}  // namespace jwcount
