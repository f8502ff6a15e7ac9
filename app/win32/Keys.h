// The main window's keys as an accelerator table, so that they work whichever control has the focus.
#pragma once

#include <windows.h>

#include <span>

#include "app/view/PageTable.h"

namespace jwcount {

// Enter, Esc and Alt+C press Button1 (kIdButton1); Alt+M gives the mark button's command (kIdMark); Alt+K
// the keep-baseline button's (kIdKeepBaseline); Alt+<key of a page> shows that page (kIdShowPage1 + its
// place); Ctrl+Tab and Ctrl+Shift+Tab show the next and the previous page; Ctrl+S saves the page shown as a
// CSV file; Ctrl+E, where the program writes workbooks (workbook), saves the count as an Excel workbook
// (kIdSaveXlsx); F5 reads the take-off rules again (kIdReloadRules). The table's owner destroys it.
HACCEL CreateFormKeys(std::span<const PageRow> pages, bool workbook);

// Takes a message for the form or one of its controls before it is dispatched: first the form's keys,
// then the dialog keys (Tab, the arrows in a group of radio buttons). True when the message was handled
// (dispatched included).
bool TranslateFormKey(HWND form, HACCEL keys, const MSG& msg);

}  // namespace jwcount
