#include "app/win32/Keys.h"

#include <initializer_list>
#include <vector>

#include "app/win32/ControlIds.h"

namespace jwcount {
namespace {

// The keys reach the window as WM_KEYDOWN, or as WM_SYSKEYDOWN while Alt is down without Ctrl. A key is
// taken with Shift as well as without.
// Keys of WM_KEYDOWN: with or without Shift and Ctrl; Ctrl+Alt still sends WM_KEYDOWN.
constexpr BYTE kPlainKey[] = {
    0, FSHIFT, FCONTROL, FCONTROL | FSHIFT, FCONTROL | FALT, FCONTROL | FALT | FSHIFT};
// Ctrl+key (Ctrl+Alt too, which arrives as WM_KEYDOWN like Ctrl alone).
constexpr BYTE kControlKey[] = {FCONTROL, FCONTROL | FSHIFT, FCONTROL | FALT, FCONTROL | FALT | FSHIFT};
// Alt+key without Ctrl: WM_SYSKEYDOWN.
constexpr BYTE kAltKey[] = {FALT, FALT | FSHIFT};

void Add(std::vector<ACCEL>& table, WORD key, std::span<const BYTE> modifiers, int command) {
  for (const BYTE modifier : modifiers) {
    table.push_back({static_cast<BYTE>(FVIRTKEY | modifier), key, static_cast<WORD>(command)});
  }
}

}  // namespace

HACCEL CreateFormKeys(std::span<const PageRow> pages, bool workbook) {
  std::vector<ACCEL> table;
  // Button1 is the default and the cancel button.
  Add(table, VK_RETURN, kPlainKey, kIdButton1);
  Add(table, VK_ESCAPE, kPlainKey, kIdButton1);
  Add(table, 'C', kAltKey, kIdButton1);
  Add(table, 'M', kAltKey, kIdMark);              // Button2's mnemonic, whichever control has the focus
  Add(table, 'K', kAltKey, kIdKeepBaseline);      // Button3's, on every page
  Add(table, 'S', {kControlKey, 2}, kIdSaveCsv);  // Ctrl+S and Ctrl+Shift+S, not with Alt
  if (workbook) Add(table, 'E', {kControlKey, 2}, kIdSaveXlsx);
  for (const BYTE modifier : kControlKey) {
    Add(table, VK_TAB, {&modifier, 1}, (modifier & FSHIFT) != 0 ? kIdPreviousPage : kIdNextPage);
  }
  Add(table, VK_F5, {kPlainKey, 2}, kIdReloadRules);  // F5 and Shift+F5
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (pages[i].Key != 0)
      Add(table, static_cast<WORD>(pages[i].Key), kAltKey, kIdShowPage1 + static_cast<int>(i));
  }
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

bool TranslateFormKey(HWND form, HACCEL keys, const MSG& msg) {
  if (msg.hwnd != form && !IsChild(form, msg.hwnd)) return false;
  MSG key = msg;
  if (TranslateAcceleratorW(form, keys, &key)) {
    // The default handling still sees an Alt key, so that releasing Alt afterwards does not open the
    // system menu; without TranslateMessage no WM_SYSCHAR follows, so nothing else happens.
    if (msg.message == WM_SYSKEYDOWN) DefWindowProcW(form, msg.message, msg.wParam, msg.lParam);
    return true;
  }
  // Tab and the arrow keys as in a dialog: the Tab key's order is the controls' order on the form and
  // its sheets, and the arrows move within a group of radio buttons. Not for a control whose page went
  // out of sight while the key was down (Wine's search for a mnemonic never ends there).
  if (!IsWindowVisible(msg.hwnd)) return false;
  return IsDialogMessageW(form, &key) != FALSE;
}

}  // namespace jwcount
