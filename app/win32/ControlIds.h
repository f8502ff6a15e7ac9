// Control identifiers of the main window, shared with the window probe of the end-to-end tests.
#pragma once

namespace jwcount {

inline constexpr wchar_t kForm1Class[] = L"TForm1";
inline constexpr wchar_t kApplicationClass[] = L"TApplication";

enum ControlId : int {
  kIdButton1 = 1,
  kIdPanel2 = 100,
  kIdLabelA1 = 101,
  kIdLabel1 = 201,  // Label1 .. Label13 are kIdLabel1 + 0 .. 12
  kIdMemo1 = 220,
  kIdPageControl1 = 300,
  kIdTabSheet1 = 301,  // TabSheet1 .. TabSheet6 are kIdTabSheet1 + 0 .. 5
  kIdPanel3 = 403,     // Panel3 .. Panel7 are kIdPanel3 + 0 .. 4
  kIdSG1 = 501,        // SG1 .. SG5 are kIdSG1 + 0 .. 4
};

inline constexpr int kSummaryLabels = 13;
inline constexpr int kPages = 6;
inline constexpr int kGrids = 5;

}  // namespace jwcount
