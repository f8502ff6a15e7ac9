// Page 1 of the main window: the summary labels Label1 to Label13 in a column at the left, under them the
// line of what the drawing checks found once a check has found something, the note Memo1 docked to the
// right edge, and the short-read warning Label14 at the top of the note's column once a read has fallen
// short.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "app/win32/ControlIds.h"
#include "app/win32/WinUtil.h"

namespace jwcount {

struct SummaryPage {
  std::array<HWND, kSummaryLabels> Labels{};           // Label1 .. Label13
  std::array<std::string, kSummaryLabels> LabelTexts;  // as shown, Shift-JIS, for the CSV save
  HWND Label14 = nullptr;
  HWND Memo1 = nullptr;
  // What the drawing checks found, as a link to their page: an owner-drawn push button, so that it takes
  // the focus and Space like any button; hidden while CheckText is "".
  HWND CheckLine = nullptr;
  std::string CheckText;  // as shown, Shift-JIS
  HFONT Font = nullptr;
  jwcount::Font LinkFont;  // Font underlined, for CheckLine
  UINT Dpi = 96;           // the sizes are scaled to it

  // Creates the controls on the sheet, the labels showing their bare captions.
  void Create(HWND sheet, HFONT font, UINT dpi);
  // The window moved to a screen of another DPI: the font made for it, the labels sized anew.
  void SetDpi(UINT dpi, HFONT font);
  // Shows the text (Shift-JIS) in label 1 to 13, the label sized to it.
  void SetLabel(int label, std::string_view sjis);
  // Shows the line of what the drawing checks found (Shift-JIS, "点検: 重複 2, ..."), or hides it for "".
  void SetCheckLine(std::string_view sjis);
  // Draws CheckLine on its background: the text in the colour given, underlined, and the focus rectangle
  // while it has the focus.
  void DrawCheckLine(const DRAWITEMSTRUCT& item, HBRUSH background, COLORREF text) const;
  // Places the labels, the line of the checks, the note and, when shortRead, the warning above the note,
  // on a sheet of width x height.
  void Layout(int width, int height, bool shortRead) const;
};

}  // namespace jwcount
