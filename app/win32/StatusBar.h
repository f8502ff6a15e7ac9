// Panel2, docked to the bottom of the main window: the status line LabelA1 inside its bevel, Button1 and,
// once the count has run, Button2 at its left end in front of it, the status text centred in the room right
// of them, and the short-read warning LabelA2 below the status line once a read has fallen short. It
// colours its labels: the status line light grey, the warning red.
#pragma once

#include <windows.h>

#include <string>

#include "app/win32/Panel.h"
#include "app/win32/WinUtil.h"

namespace jwcount {

// Keeps a push button from ever taking the default button's look, even with the focus: Enter is Button1's.
void KeepPlainLook(HWND button);

struct StatusBar final : PanelPart {
  HWND Panel2 = nullptr;
  HWND LabelA1 = nullptr;  // the status line
  HWND Button1 = nullptr;  // 閉じる, the default and the cancel button
  HWND Button2 = nullptr;  // 印を付けて閉じる, hidden until the count has run
  HWND LabelA2 = nullptr;  // the short-read warning
  HFONT Font = nullptr;
  UINT Dpi = 96;  // the sizes are scaled to it
  Brush StatusBrush;
  Brush WarningBrush;

  void Create(HWND form, HFONT font, UINT dpi);
  // The window moved to a screen of another DPI: the font made for it.
  void SetDpi(UINT dpi, HFONT font);
  // Places Panel2 along the bottom of a client area of width x height, taller by the warning's lines when
  // shortRead; returns its height.
  int Layout(int width, int height, bool shortRead) const;
  // Shows Button2 after the count, usable or greyed.
  void ShowButton2(bool enabled) const;
  // Shows a status text at once: the count handles no messages while it runs.
  void ShowStatus(const std::wstring& text) const;
  // The labels' colours; Button1's click goes on to the form.
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace jwcount
