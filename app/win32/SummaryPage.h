// Page 1 of the main window: the summary labels Label1 to Label13 in a column at the left, under them the
// line of what the drawing checks found once a check has found something, with beside it the link that
// marks those elements in the drawing and closes the window, under them the line of the quantity sheet once
// the take-off rules have been read, the note Memo1 docked to the
// right edge, under it the line of the comparison with the drawing's kept baseline once there is one to
// tell of and the button that keeps this count as the baseline, and the short-read warning at the top of
// the note's column once a read has fallen short. It colours its controls: the note light blue, the
// warning red, the rest on the sheet's white. On a page too low for them (a small window at a high DPI)
// the labels and the lines under them scroll, by a scroll bar beside them or the mouse wheel, and the note
// scrolls its own lines, so that every line can be read at any size.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "app/win32/ControlIds.h"
#include "app/win32/Panel.h"
#include "app/win32/WinUtil.h"
#include "counting/CountTexts.h"
#include "report/CountDiff.h"

namespace jwcount {

class SummaryPage final : public PanelPart {
 public:
  // Creates the controls on the sheet (a panel of the sheet's colour), the labels showing their bare
  // captions.
  void Create(HWND sheet, COLORREF sheetColour, HFONT font, UINT dpi);
  // The window moved to a screen of another DPI: the font made for it, the labels sized anew.
  void SetDpi(UINT dpi, HFONT font);
  // Shows the text (Shift-JIS) in label 1 to 13, the label sized to it.
  void SetLabel(int label, std::string_view sjis);
  // Shows the line of what the drawing checks found (Shift-JIS, "点検: 重複 2, ..."), or hides it for "";
  // the link that marks what they found shows with it when markable.
  void SetCheckLine(std::string_view sjis, bool markable);
  // Shows the line of the quantity sheet (Shift-JIS, "数量表: 13 品目, ..."), a link to its page.
  void SetTakeoffLine(std::string_view sjis);
  // Shows the line of the comparison with the kept baseline ("基準との差: 3 行", "基準と同じ" or
  // "基準を読めません"), or hides it where there is nothing to tell of (no baseline, or not compared).
  void ShowComparison(const CountComparison& comparison);
  // Makes the keep-baseline button usable (once the count has covered the whole drawing) or greys it.
  void EnableKeepBaseline(bool enabled) const;
  // Shows the short-read warning at the top of the note's column; the window then lays the page out anew.
  void ShowShortReadWarning() const;
  // The texts of Label1 .. Label13 as shown, Shift-JIS, for the CSV save.
  const std::array<std::string, kSummaryCount>& ShownLabels() const { return LabelTexts; }
  // Places the labels, the line of the checks, the note with the line of the comparison and the
  // keep-baseline button under it and, when shortRead, the warning above the note, on a sheet of width x
  // height. The labels are scrolled as far as LabelScroll says.
  void Layout(int width, int height, bool shortRead);
  // The mouse wheel turned over the page: scrolls the labels, when they scroll. False when they do not.
  bool Wheel(int delta);
  // The colours of the controls and LabelScroll's scrolling; the clicks go on to the form.
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  int PlaceLabels(int room, int scrolled) const;  // the bottom of the labels and the lines under them
  void ScrollLabelsTo(int position);

  std::array<HWND, kSummaryCount> Labels{};           // Label1 .. Label13
  std::array<std::string, kSummaryCount> LabelTexts;  // as shown, Shift-JIS, for the CSV save
  HWND ShortReadWarning = nullptr;
  HWND Memo1 = nullptr;
  // What the drawing checks found, as a link to their page (LinkLabel.h); hidden while it has no text.
  HWND CheckLine = nullptr;
  // 印を付けて閉じる beside the line of the checks (LinkLabel.h), shown with it where marking is possible.
  HWND MarkLine = nullptr;
  // The quantity sheet in a line, as a link to its page (LinkLabel.h); hidden until the rules have been read.
  HWND TakeoffLine = nullptr;
  // The comparison with the kept baseline, as a link to its page (LinkLabel.h); hidden while it has no text.
  HWND BaselineLine = nullptr;
  HWND KeepBaselineButton = nullptr;  // 基準として保存, usable once the count has covered the whole drawing
  HWND LabelScroll = nullptr;  // shown where the labels and the lines under them are taller than the page
  HFONT Font = nullptr;
  UINT Dpi = 96;  // the sizes are scaled to it
  COLORREF SheetColour = RGB(255, 255, 255);
  Brush SheetBrush;
  Brush MemoBrush;
  int labelsTop_ = 0;  // how far the labels are scrolled up, in pixels
  SIZE sheet_{};       // the page as last laid out
  bool shortRead_ = false;
};

}  // namespace jwcount
