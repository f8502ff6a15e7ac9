// A plain panel: a background colour, an optional one-pixel raised bevel and an optional caption centred
// in it. It passes the notifications, context-menu requests, colour requests and owner-drawn items of its
// children on to its parent, so that the main window answers all of them in one place.
#pragma once

#include <windows.h>

namespace jwcount {

struct PanelStyle {
  COLORREF Colour = RGB(255, 255, 255);
  bool Bevel = false;
  bool ShowCaption = false;
};

void RegisterPanel(HINSTANCE instance);
HWND CreatePanel(HWND parent, int id, const wchar_t* caption, const PanelStyle& style, HFONT font);

}  // namespace jwcount
