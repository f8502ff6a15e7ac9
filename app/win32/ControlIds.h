// Control identifiers of the main window, shared with the window probe of the end-to-end tests.
#pragma once

namespace jwcount {

inline constexpr wchar_t kForm1Class[] = L"TForm1";
inline constexpr wchar_t kApplicationClass[] = L"TApplication";

enum ControlId : int {
  kIdButton1 = 1,
  kIdPanel2 = 100,
  kIdLabelA1 = 101,
  kIdLabelA2 = 102,  // the short-read warning beside the status line
  kIdLabel1 = 201,   // Label1 .. Label13 are kIdLabel1 + 0 .. 12
  kIdLabel14 = 214,  // the short-read warning on page 1
  kIdMemo1 = 220,
  kIdPageControl1 = 300,
  kIdTabSheet1 = 301,  // TabSheet1 .. TabSheet7 are kIdTabSheet1 + 0 .. 6
  kIdPanel3 = 403,     // Panel3 .. Panel8 are kIdPanel3 + 0 .. 5
  kIdSG1 = 501,        // SG1 .. SG6 are kIdSG1 + 0 .. 5; SG6 is the block list of page 7
};

// Commands of the grids' context menu.
enum MenuCommand : int {
  kIdCopy = 601,
  kIdSelectAll = 602,
  kIdSaveCsv = 603,
};

inline constexpr int kSummaryLabels = 13;
inline constexpr int kPages = 7;
inline constexpr int kGrids = 6;
inline constexpr int kCountGrids = 5;  // SG1 .. SG5 show the count tables

}  // namespace jwcount
