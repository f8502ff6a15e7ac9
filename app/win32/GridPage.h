// A page of the window that shows a grid: its title panel along the top of the sheet, under it a bar of the
// page's own where it has one (page 12's links to its rules file), a line of notice where the source or the
// window gives the page one (whose baseline page 11 compares with, what page 12's sheet came of), a row of
// choices where the page's source offers them (radio buttons side by side, wrapping into another row where
// the sheet is too narrow), and the grid filling the rest. It answers its controls on the sheet: a choice
// clicked or reached with the arrow keys shows the source's rows for it, a click on a head sorts where the
// source sorts, and it colours its choices on the sheet's white. The grid's context menu copies and selects
// in the grid; its other commands are the form's.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/Panel.h"
#include "app/win32/WinUtil.h"
#include "counting/ElementCover.h"
#include "report/GridSource.h"

namespace jwcount {

// Which of the form's commands the grids' context menu offers as usable.
struct GridMenuChoices {
  bool Mark = false;          // the count can mark elements
  bool KeepBaseline = false;  // the count can be kept as the drawing's baseline
  bool Workbook = false;      // the program writes workbooks: the menu offers the workbook's save
  bool SaveWorkbook = false;  // the count has run and can be saved as a workbook
};

// Controls of a page's own under its title (page 12's links): they place themselves, follow the DPI and
// answer their messages before the page does.
class PageBar {
 public:
  // Places the controls in a sheet of that width from `top` down; the height they take.
  virtual int Layout(int width, int top) const = 0;
  virtual void SetDpi(UINT dpi, HFONT font) = 0;
  // Puts the controls right before `control` in the Tab key's order.
  virtual void TabBefore(HWND control) const = 0;
  // As PanelPart::OnControlMessage: true when the bar answered a message of one of its controls.
  virtual bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

 protected:
  ~PageBar() = default;
};

class GridPage final : public PanelPart {
 public:
  // The controls of the page at place index of the page table (0 is page 1) on its sheet, a panel of the
  // sheet's colour: title panel Panel<index + 2>, grid SG<index> showing the source, and the source's
  // choices, the chosen one checked.
  GridPage(HWND sheet, int index, std::string_view title, std::unique_ptr<GridSource> source,
           COLORREF sheetColour, HFONT font, UINT dpi);
  GridPage(const GridPage&) = delete;
  GridPage& operator=(const GridPage&) = delete;
  ~GridPage() = default;

  // True when the window is this page's grid.
  bool HoldsGrid(HWND window) const { return window != nullptr && window == grid_; }
  const GridSource& Source() const { return *source_; }
  // Adds the covers of the rows the user selected in the grid, in order, those that cover something. A page
  // counts only once the user has selected in its grid: the cell a grid starts on is no choice.
  void AddSelectedCovers(std::vector<ElementCover>& covers) const;
  // Opens the grid's context menu at the screen point x, y, owned by `owner`: copy and select all act on the
  // grid here; the form's command chosen (CSV save, workbook, mark, keep the baseline) is returned, 0 for
  // none.
  int ContextMenu(HWND owner, int x, int y, GridMenuChoices choices) const;
  // The source counts again (after the count has run) and the grid shows its rows, nothing selected.
  void Refresh();
  // The grid shows a new source (page 12's sheet made anew), with its columns at the widths it gives; one
  // with the same choices as the source it replaces.
  void SetSource(std::unique_ptr<GridSource> source);
  // The bar under the title, which must outlive the page; the window then lays the page out anew.
  void SetBar(PageBar* bar);
  // Shows the line of notice under the title (wrapped into more lines where the sheet is narrow), or hides
  // it for ""; the window then lays the page out anew.
  void SetNotice(const std::wstring& text);
  // The window moved to a screen of another DPI: the font made for it.
  void SetDpi(UINT dpi, HFONT font);
  // Places the controls on a sheet of width x height.
  void Layout(int width, int height) const;

  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void SetColumnWidths() const;
  int LayoutChoices(int width, int top) const;  // the height the row of choices takes
  int LayoutNotice(int width, int top) const;   // the height the line of notice takes
  void ChoiceClick(int choice);
  void CheckChosen();

  HWND sheet_;
  HWND titlePanel_ = nullptr;
  HWND notice_ = nullptr;  // hidden while the page has no notice
  std::wstring noticeText_;
  HWND grid_ = nullptr;
  std::vector<HWND> choices_;  // one radio button per choice of the source, in its order
  PageBar* bar_ = nullptr;     // none for most pages
  std::unique_ptr<GridSource> source_;
  COLORREF sheetColour_;
  Brush sheetBrush_;
  HFONT font_;
  UINT dpi_;
};

}  // namespace jwcount
