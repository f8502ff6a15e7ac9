// A plain panel: a background colour, an optional one-pixel raised bevel and an optional caption centred
// in it. The part that fills it with controls (SetPanelPart) answers their commands, notifications and
// colour requests; what the part leaves, and every context-menu request, goes on to the panel's parent.
#pragma once

#include <windows.h>

namespace jwcount {

struct PanelStyle {
  COLORREF Colour = RGB(255, 255, 255);
  bool Bevel = false;
  bool ShowCaption = false;
};

// The controls of a part on a panel: the status bar's, page 1's, a grid page's.
class PanelPart {
 public:
  // A message from one of the part's controls (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR...): true when the part
  // answered it, with its answer in result.
  virtual bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

 protected:
  ~PanelPart() = default;
};

void RegisterPanel(HINSTANCE instance);
HWND CreatePanel(HWND parent, int id, const wchar_t* caption, const PanelStyle& style, HFONT font);
// The part asked first about the messages of the panel's children; it must outlive the panel.
void SetPanelPart(HWND panel, PanelPart* part);

}  // namespace jwcount
