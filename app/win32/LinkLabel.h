// A link label: a line of text drawn as a link (underlined, in the links' blue, on the background it is
// given) with the hand over it. It takes the focus as a push button does, with a focus rectangle round it
// while the keyboard cues show; a click, Space or Enter sends its parent WM_COMMAND (BN_CLICKED) with the
// label's identifier; a disabled label is drawn in grey and takes neither. Its text is a list of items
// separated by ", ": where it is wider than the label's room, it breaks into lines only between two items, so
// that no item is ever split.
#pragma once

#include <windows.h>

namespace jwcount {

// Registers the window class once per process.
void RegisterLinkLabel(HINSTANCE instance);
// A hidden label; the font is the plain one, which the label underlines itself (WM_SETFONT takes a new
// one). Sizes are scaled to the DPI.
HWND CreateLinkLabel(HWND parent, int id, COLORREF background, HFONT font, UINT dpi);
// The window moved to a screen of another DPI: the font made for it.
void SetLinkLabelDpi(HWND label, UINT dpi, HFONT font);
// Places the label with its text's top left corner at (x, y) of its parent, sized to its text broken into
// lines within room pixels of width (its focus rectangle goes round the text); returns where it went.
RECT PlaceLinkLabel(HWND label, int x, int y, int room);
// Where the placed label's text ends, in its parent: the right end of its last line and that line's top.
POINT LinkLabelTextEnd(HWND label);

}  // namespace jwcount
