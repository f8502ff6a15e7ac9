// Control identifiers of the main window, shared with the window probe of the end-to-end tests. The
// controls of a page take their identifiers from the page's place in the page table (app/view/PageTable.h).
#pragma once

namespace jwcount {

inline constexpr wchar_t kForm1Class[] = L"TForm1";
inline constexpr wchar_t kApplicationClass[] = L"TApplication";

enum ControlId : int {
  kIdButton1 = 1,
  kIdMarkButton = 2,  // 印を付けて閉じる: marks the selected rows' elements in the drawing and closes
  kIdKeepBaselineButton = 3,  // 基準として保存 on page 1: keeps this count as the drawing's baseline
  kIdSaveXlsxButton = 4,      // Excelに保存 beside the mark button: saves the count as an Excel workbook
  kIdPanel2 = 100,
  kIdLabelA1 = 101,
  kIdStatusWarning = 102,   // the short-read warning beside the status line
  kIdLabel1 = 201,          // Label1 .. Label13 are kIdLabel1 + 0 .. 12
  kIdSummaryWarning = 214,  // the short-read warning on page 1
  kIdCheckLine = 215,       // page 1's line of what the drawing checks found, a link to their page
  kIdMarkLine = 216,        // beside it, the link that marks what the checks found and closes
  kIdBaselineLine = 217,    // page 1's line of the comparison with the kept baseline, a link to its page
  kIdLabelScroll = 218,     // beside page 1's labels, where they are taller than the page: scrolls them
  kIdTakeoffLine = 219,     // page 1's line of the quantity sheet, a link to its page
  kIdMemo1 = 220,
  kIdPageControl1 = 300,
  kIdTabSheet1 = 301,  // the sheet of page n (1, 2, ...) is kIdTabSheet1 + n - 1: TabSheet1, TabSheet2, ...
  kIdPanel3 = 403,     // the title panel of page n (2, 3, ...) is kIdPanel3 + n - 2: Panel3, Panel4, ...
  kIdSG1 = 501,        // the grid of page n (2, 3, ...) is kIdSG1 + n - 2: SG1 .. SG5 the count tables,
                       // then one grid per later page of the page table
  kIdNotice2 = 802,    // the line of notice under the title of page n (2, 3, ...) is kIdNotice2 + n - 2:
                       // 811 on page 11
  // Page 12's links under its title: ルールを開く opens the rules file, ルールを選ぶ… picks another, 読み直す
  // (F5) reads the rules again (kIdReloadRules).
  kIdRulesOpen = 901,
  kIdRulesChoose = 902,
  kIdRulesReload = 903,
  kIdChoice = 1000,  // the choices above a grid: see ChoiceId
};

// The radio button of choice c (1, 2, ...) above the grid of page n (2, 3, ...): 1801 .. 1805 are the five
// groupings of page 8.
inline constexpr int ChoiceId(int page, int choice) {
  return kIdChoice + 100 * page + choice;
}

// Commands of the grids' context menu and of the window's keys.
enum Command : int {
  kIdCopy = 601,
  kIdSelectAll = 602,
  kIdSaveCsv = 603,
  kIdNextPage = 604,
  kIdPreviousPage = 605,
  kIdMark = 606,          // marks the selected rows' elements and closes, as the mark button does
  kIdKeepBaseline = 607,  // keeps this count as the drawing's baseline, as the keep-baseline button does
  kIdReloadRules = 608,   // F5: reads the take-off rules again and makes the quantity sheet anew
  kIdSaveXlsx = 609,      // Ctrl+E: saves the count as an Excel workbook, as the Excelに保存 button does
  kIdShowPage1 = 700,     // shows page n (1, 2, ...) as kIdShowPage1 + n - 1
};

}  // namespace jwcount
