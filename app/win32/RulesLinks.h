// Page 12's links to its take-off rules, in a row under the title (wrapping where the page is narrow):
// ルールを開く opens the rules file read with the program Windows associates with CSV files (greyed while
// there is no file), ルールを選ぶ… picks another through the Open dialog and remembers the choice beside the
// program (app/view/TakeoffPage.h), and 読み直す (F5) reads the rules again. A choice made and 読み直す both
// reach the form as its command kIdReloadRules, which makes the sheet anew without reading the drawing again.
#pragma once

#include <windows.h>

#include <array>
#include <filesystem>

#include "app/win32/GridPage.h"

namespace jwcount {

class RulesLinks final : public PageBar {
 public:
  // Creates the links on the sheet, the first one greyed until a rules file is shown.
  void Create(HWND sheet, COLORREF sheetColour, HFONT font, UINT dpi);
  // The rules file read and whether it is there to be opened; choices are remembered in programFolder.
  void ShowRules(const std::filesystem::path& file, bool present, const std::filesystem::path& programFolder);

  int Layout(int width, int top) const override;
  void SetDpi(UINT dpi, HFONT font) override;
  void TabBefore(HWND control) const override;
  // Opens the file or picks another; 読み直す goes on to the form.
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HWND Form() const { return GetAncestor(sheet_, GA_ROOT); }
  void OpenRules() const;
  // The Open dialog; a file chosen is remembered and the form told to read it.
  void ChooseRules() const;

  HWND sheet_ = nullptr;
  std::array<HWND, 3> links_{};  // ルールを開く, ルールを選ぶ…, 読み直す (F5)
  std::filesystem::path file_;
  std::filesystem::path programFolder_;
  UINT dpi_ = 96;
};

}  // namespace jwcount
