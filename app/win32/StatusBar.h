// Panel2, docked to the bottom of the main window: the status line LabelA1 inside its bevel, Button1 and,
// once the count has run, the mark button and the workbook's button (where the program writes workbooks)
// at its left end in front of it, the status text centred in the room right of them (in two lines where
// one does not fit there), and the short-read warning below the status line once a read has fallen short.
// It colours its labels: the status line light grey, the warning red.
#pragma once

#include <windows.h>

#include <string>

#include "app/win32/Panel.h"
#include "app/win32/WinUtil.h"

namespace jwcount {

// Keeps a push button from ever taking the default button's look, even with the focus: Enter is Button1's.
void KeepPlainLook(HWND button);

class StatusBar final : public PanelPart {
 public:
  // With workbook, the bar has the workbook's button (Excelに保存); without, it has none.
  void Create(HWND form, HFONT font, UINT dpi, bool workbook);
  // Puts the bar right behind `window` among the form's children, which is its place in the Tab key's order.
  void PlaceBehind(HWND window) const;
  // The window moved to a screen of another DPI: the font made for it.
  void SetDpi(UINT dpi, HFONT font);
  // Places Panel2 along the bottom of a client area of width x height, taller by the warning's lines when
  // shortRead; returns its height.
  int Layout(int width, int height, bool shortRead) const;
  // Shows the buttons of a count that has run: the mark button, usable or greyed, and the workbook's.
  void ShowCountButtons(bool markable) const;
  // Shows the short-read warning below the status line; the window then lays the bar out anew.
  void ShowShortReadWarning() const;
  // Shows a status text at once: the count handles no messages while it runs.
  void ShowStatus(const std::wstring& text) const;
  // The labels' colours; the buttons' clicks go on to the form.
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Paints the status line, its text clear of the buttons in front of it.
  static LRESULT CALLBACK PaintStatusLine(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data);

  HWND Panel2 = nullptr;
  HWND LabelA1 = nullptr;      // the status line
  HWND Button1 = nullptr;      // 閉じる, the default and the cancel button
  HWND markButton_ = nullptr;  // 印を付けて閉じる, hidden until the count has run
  HWND xlsxButton_ = nullptr;  // Excelに保存, hidden until the count has run; none without workbooks
  HWND warning_ = nullptr;     // the short-read warning
  HFONT font_ = nullptr;
  UINT dpi_ = 96;  // the sizes are scaled to it
  Brush statusBrush_;
  Brush warningBrush_;
};

}  // namespace jwcount
