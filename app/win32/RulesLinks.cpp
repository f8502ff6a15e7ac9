#include "app/win32/RulesLinks.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "app/view/TakeoffPage.h"
#include "app/win32/ControlIds.h"
#include "app/win32/Dpi.h"
#include "app/win32/LinkLabel.h"
#include "app/win32/SaveFile.h"
#include "app/win32/WinUtil.h"

namespace jwcount {
namespace {

constexpr int kIds[] = {kIdRulesOpen, kIdRulesChoose, kIdRulesReload};
constexpr const wchar_t* kTexts[] = {L"ルールを開く", L"ルールを選ぶ…", L"読み直す (F5)"};
constexpr int kLeft = 8;  // the first link's text from the sheet's left edge, as page 1's labels
constexpr int kTop = 6;   // from the title
constexpr int kGap = 16;  // between two links
// The Open dialog and the messages.
constexpr wchar_t kChooseTitle[] = L"ルールファイルを選ぶ";
constexpr wchar_t kOpenFailed[] = L"ルールファイルを開けませんでした。";
constexpr wchar_t kRememberFailed[] = L"選んだルールファイルを覚えておけませんでした。";

std::wstring CaptionOf(HWND window) {
  wchar_t caption[256];
  const int length = GetWindowTextW(window, caption, 256);
  return std::wstring(caption, static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace

void RulesLinks::Create(HWND sheet, COLORREF sheetColour, HFONT font, UINT dpi) {
  sheet_ = sheet;
  dpi_ = dpi;
  for (std::size_t i = 0; i < links_.size(); ++i) {
    links_[i] = CreateLinkLabel(sheet, kIds[i], sheetColour, font, dpi);
    SetWindowTextW(links_[i], kTexts[i]);
    ShowWindow(links_[i], SW_SHOWNA);
  }
  EnableWindow(links_[0], FALSE);
}

void RulesLinks::ShowRules(const std::filesystem::path& file, bool present,
                           const std::filesystem::path& programFolder) {
  file_ = file;
  programFolder_ = programFolder;
  EnableWindow(links_[0], present ? TRUE : FALSE);
}

// Side by side, a link that would pass the right edge starting a row of its own.
int RulesLinks::Layout(int width, int top) const {
  const int left = Scaled(kLeft, dpi_);
  int x = left;
  int y = top + Scaled(kTop, dpi_);
  int bottom = y;
  for (HWND link : links_) {
    RECT placed = PlaceLinkLabel(link, x, y, width - left - x);
    if (x > left && placed.right > width) {
      x = left;
      y = bottom + Scaled(kTop, dpi_) / 2;
      placed = PlaceLinkLabel(link, x, y, width - 2 * left);
    }
    x = placed.right + Scaled(kGap, dpi_);
    bottom = std::max<int>(bottom, placed.bottom);
  }
  return bottom - top;
}

void RulesLinks::SetDpi(UINT dpi, HFONT font) {
  dpi_ = dpi;
  for (HWND link : links_) SetLinkLabelDpi(link, dpi, font);
}

void RulesLinks::TabBefore(HWND control) const {
  for (HWND link : links_) {
    HWND above = GetWindow(control, GW_HWNDPREV);
    SetWindowPos(link, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

bool RulesLinks::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  const auto from = reinterpret_cast<HWND>(lParam);
  if (from == links_[0]) {
    OpenRules();
  } else if (from == links_[1]) {
    ChooseRules();
  } else {
    return false;
  }
  result = 0;
  return true;
}

void RulesLinks::OpenRules() const {
  if (file_.empty()) return;
  const std::wstring path = file_.wstring();
  SHELLEXECUTEINFOW open{};
  open.cbSize = sizeof open;
  open.hwnd = Form();
  open.lpVerb = L"open";
  open.lpFile = path.c_str();
  open.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&open)) return;
  const DWORD error = GetLastError();
  if (error == ERROR_CANCELLED) return;  // the user closed the system's own dialog
  ShowFileFailure(Form(), kOpenFailed, path, SystemErrorText(error), CaptionOf(Form()).c_str());
}

void RulesLinks::ChooseRules() const {
  // The Open dialog on the folder of the file read.
  const std::filesystem::path folder = file_.empty() ? programFolder_ : file_.parent_path();
  const std::wstring chosen = AskOpenPath(Form(), {kChooseTitle, kCsvFilter, nullptr, folder.wstring(), {}});
  if (chosen.empty()) return;
  const std::wstring caption = CaptionOf(Form());
  if (!WriteFileOrSay(Form(), RulesChoicePath(programFolder_), RulesChoiceBytes(chosen),
                      {kRememberFailed, caption.c_str()}))
    return;
  PostMessageW(Form(), WM_COMMAND, MAKEWPARAM(kIdReloadRules, 1), 0);
}

}  // namespace jwcount
