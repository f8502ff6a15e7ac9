// The window's pages as data: one row per page, in the order of the tabs. The window builds its tabs,
// title panels, grids, keys and CSV saves from this table alone. A page shows a section of the count
// (report/Section.h), which the reports write too, or page 1's summary, or page 8's lengths and areas of the
// count tables by the grouping the user picks.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "counting/CountTables.h"
#include "report/GridSource.h"
#include "tempfile/ReaderState.h"

namespace jwcount {

struct CountComparison;

// What the pages show: the count's tables, and the drawing for the names of its layers and layer groups.
// Both outlive the pages' sources.
struct PageData {
  const CountTables& Tables;
  const DrawingState& Drawing;
  const CountComparison* Comparison = nullptr;  // what page 11 compares; none before the window has one
};

struct PageRow {
  std::string_view Id;         // the page's name: its section's id, "summary" or "quantities"
  std::u8string_view Caption;  // the tab's caption; the character after & is its mnemonic
  char Key;                    // Alt+Key shows the page ('0' to '9'); 0 for none
  std::string_view Title;      // Shift-JIS, shown above the grid
  // The page's grid; nullptr for the page of the summary labels (page 1), which has none.
  std::unique_ptr<GridSource> (*MakeSource)(const PageData& data);
  std::u8string_view CsvSubject;  // the CSV save offers "<drawing name>_<CsvSubject>.csv"
};

// Every page, page 1 first.
std::span<const PageRow> Pages();
// The place of the page with the id in Pages(); Pages().size() for none.
std::size_t PageIndex(std::string_view id);

// What the CSV save writes for a page: its grid's every cell, or for page 1 the summary labels as rows of
// kind and count (labelTexts, Shift-JIS, as shown); after firstLine (UTF-8, such as the short-read
// warning) when that is not empty.
std::string PageCsv(const GridSource* source, std::span<const std::string> labelTexts,
                    std::string_view firstLine = {});

}  // namespace jwcount
