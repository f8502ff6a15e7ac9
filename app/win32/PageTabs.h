// PageControl1 with its sheets: a tab per row of the page table, each with its sheet TabSheet<n> (a white
// panel) over the tab control's display area; only the sheet of the page chosen shows. Tabs that do not
// fit side by side wrap into more rows, so that every tab stays in view.
#pragma once

#include <windows.h>

#include <vector>

namespace jwcount {

class PageTabs final {
 public:
  static constexpr COLORREF kSheetColour = RGB(255, 255, 255);

  // Creates the tab control and the sheets on the form, no page chosen yet.
  void Create(HWND form, HFONT font, UINT dpi);
  HWND Handle() const { return tabs_; }
  // The sheet of the page at place index of the page table (0 is page 1).
  HWND Sheet(std::size_t index) const { return sheets_[index]; }
  // The lowest sheet in the z-order: the sheets lie above the tab control.
  HWND LowestSheet() const { return sheets_.front(); }
  std::size_t Count() const { return sheets_.size(); }
  int Current() const;
  // Shows the page at place index; the focus in a sheet that goes out of sight moves to the tabs.
  void Select(int index) const;
  // Fills width x height with the tabs and the sheets; the size of the sheets.
  SIZE Layout(int width, int height) const;
  // The window moved to a screen of another DPI: the font made for it.
  void SetDpi(UINT dpi, HFONT font);

 private:
  void SetPadding() const;

  HWND tabs_ = nullptr;
  std::vector<HWND> sheets_;
  UINT dpi_ = 96;
};

}  // namespace jwcount
