#include "app/win32/SummaryPage.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/win32/Dpi.h"
#include "app/win32/WinText.h"
#include "app/win32/WinUtil.h"
#include "counting/CountTexts.h"
#include "report/ReportTexts.h"

namespace jwcount {
namespace {

// The note of Memo1, nine lines.
constexpr wchar_t kMemo1Text[] =
    L"◆ブロック図形内のものは\r\n"
    L"　処理出来ませんので\r\n"
    L"　御注意下さい。\r\n"
    L"　ブロック編集内で行う\r\n"
    L"　場合には、本ソフトを\r\n"
    L"　Jw_cadのインストール・\r\n"
    L"　フォルダに配置して\r\n"
    L"　実行を行う必要がある\r\n"
    L"　場合があります。";

constexpr int kLabelLeft = 8;
constexpr int kLabelTop = 8;
constexpr int kLabelStep = 24;
constexpr int kLabelHeight = 13;  // one line of the window's font
constexpr int kMemoWidth = 177;
constexpr int kWarningInset = 4;  // around the short-read warning
constexpr int kLinkPadding = 2;   // around the text of the line of the checks, for its focus rectangle
constexpr UINT kLinkTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX;
constexpr std::wstring_view kCheckSeparator = L", ";  // between two checks of the line

// The font underlined, as links are.
Font UnderlinedFont(HFONT font) {
  LOGFONTW look{};
  GetObjectW(font, sizeof look, &look);
  look.lfUnderline = TRUE;
  return Font(CreateFontIndirectW(&look));
}

// The size of a text of one or more lines in the font selected into the DC.
SIZE TextSize(HDC dc, std::wstring_view text) {
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | kLinkTextFormat);
  return {bounds.right, bounds.bottom};
}

// The line of the checks broken into lines no wider than width where it is wider, only ever between two
// checks (after their comma), so that each check and its count stay together. A check wider than width
// alone takes a line of its own.
std::wstring WrappedBetweenChecks(HDC dc, std::wstring_view text, int width) {
  std::wstring wrapped;
  std::size_t lineStart = 0;  // of the line being filled
  std::size_t lineEnd = 0;    // of its last check so far; lineStart while it holds none
  std::size_t start = 0;      // of the next check
  for (;;) {
    const std::size_t found = text.find(kCheckSeparator, start);
    const std::size_t end = found == std::wstring_view::npos ? text.size() : found;
    if (lineEnd > lineStart && TextSize(dc, text.substr(lineStart, end - lineStart)).cx > width) {
      wrapped.append(text.substr(lineStart, lineEnd - lineStart)).append(L",\r\n");
      lineStart = start;
    }
    lineEnd = end;
    if (found == std::wstring_view::npos) break;
    start = found + kCheckSeparator.size();
  }
  return wrapped.append(text.substr(lineStart));
}

}  // namespace

void SummaryPage::Create(HWND sheet, HFONT font, UINT dpi) {
  Font = font;
  Dpi = dpi;
  const HINSTANCE instance = InstanceOf(sheet);
  for (int i = 0; i < kSummaryLabels; ++i) {
    Labels[i] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                sheet, ControlId(kIdLabel1 + i), instance, nullptr);
    SetControlFont(Labels[i], font);
    SetLabel(i + 1, kSummaryCaptions[i]);
  }
  // Hidden until a read falls short; then it heads the note's column, above Memo1.
  Label14 =
      CreateWindowExW(0, L"STATIC", WidenUtf8(kShortReadWarning).c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, 0,
                      0, 0, 0, sheet, ControlId(kIdLabel14), instance, nullptr);
  SetControlFont(Label14, font);
  // Read-only, skipped by the Tab key (no tab stop), no line wrapping.
  Memo1 =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", kMemo1Text,
                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0,
                      0, 0, 0, sheet, ControlId(kIdMemo1), instance, nullptr);
  SetControlFont(Memo1, font);
  // Hidden until the count has run and a check has found something.
  LinkFont = UnderlinedFont(font);
  CheckLine = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0, sheet,
                              ControlId(kIdCheckLine), instance, nullptr);
  SetControlFont(CheckLine, LinkFont.Get());
}

void SummaryPage::SetDpi(UINT dpi, HFONT font) {
  Dpi = dpi;
  Font = font;
  for (HWND control : Labels) SetControlFont(control, font);
  SetControlFont(Label14, font);
  SetControlFont(Memo1, font);
  LinkFont = UnderlinedFont(font);
  SetControlFont(CheckLine, LinkFont.Get());
  // A copy: SetLabel keeps the text it is given in LabelTexts.
  for (int i = 0; i < kSummaryLabels; ++i)
    SetLabel(i + 1, std::string(LabelTexts[static_cast<std::size_t>(i)]));
}

void SummaryPage::SetLabel(int label, std::string_view sjis) {
  if (label < 1 || label > kSummaryLabels) return;
  HWND control = Labels[static_cast<std::size_t>(label - 1)];
  LabelTexts[static_cast<std::size_t>(label - 1)] = sjis;
  const std::wstring text = Widen(sjis);
  SetWindowTextW(control, text.c_str());
  // Labels are sized to their text, one line high.
  SIZE size{};
  {
    WindowDc dc(control);
    ScopedSelectObject selectFont(dc.Dc(), Font);
    GetTextExtentPoint32W(dc.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
  }
  SetWindowPos(control, nullptr, 0, 0, size.cx, Scaled(kLabelHeight, Dpi),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SummaryPage::SetCheckLine(std::string_view sjis) {
  CheckText = sjis;
  SetWindowTextW(CheckLine, Widen(sjis).c_str());
  ShowWindow(CheckLine, sjis.empty() ? SW_HIDE : SW_SHOWNA);
}

void SummaryPage::DrawCheckLine(const DRAWITEMSTRUCT& item, HBRUSH background, COLORREF text) const {
  FillRect(item.hDC, &item.rcItem, background);
  const int padding = Scaled(kLinkPadding, Dpi);
  RECT bounds = item.rcItem;
  InflateRect(&bounds, -padding, -padding);
  {
    ScopedSelectObject selectFont(item.hDC, LinkFont.Get());
    // Broken as Layout broke it: its lines all fit in the width it made for them, and no longer ones do.
    const std::wstring shown = WrappedBetweenChecks(item.hDC, Widen(CheckText), bounds.right - bounds.left);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, text);
    DrawTextW(item.hDC, shown.c_str(), static_cast<int>(shown.size()), &bounds, kLinkTextFormat);
  }
  // As a push button does: not while the keyboard cues are hidden (the mouse has been used alone).
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0)
    DrawFocusRect(item.hDC, &item.rcItem);
}

void SummaryPage::Layout(int width, int height, bool shortRead) const {
  const auto scaled = [this](int pixels) { return Scaled(pixels, Dpi); };
  for (int i = 0; i < kSummaryLabels; ++i) {
    SetWindowPos(Labels[static_cast<std::size_t>(i)], nullptr, scaled(kLabelLeft),
                 scaled(kLabelTop + i * kLabelStep), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int memoWidth = scaled(kMemoWidth);
  // The line of the checks in the place of a fourteenth label, its text where a label's would be; where
  // the note leaves too little room for it on one line, it takes more lines.
  SIZE text{};
  {
    WindowDc dc(CheckLine);
    ScopedSelectObject selectFont(dc.Dc(), LinkFont.Get());
    const int room = width - memoWidth - 2 * scaled(kLabelLeft);
    text = TextSize(dc.Dc(), WrappedBetweenChecks(dc.Dc(), Widen(CheckText), room));
  }
  const int padding = scaled(kLinkPadding);
  PlaceControl(CheckLine, scaled(kLabelLeft) - padding,
               scaled(kLabelTop + kSummaryLabels * kLabelStep) - padding, text.cx + 2 * padding,
               std::max<int>(text.cy, scaled(kLabelHeight)) + 2 * padding);
  // Memo1 docked to the right edge; after a short read the warning takes the top of its column, so the
  // summary labels stay where they are.
  const int inset = scaled(kWarningInset);
  const int warningWidth = memoWidth - 2 * inset;
  const int top =
      shortRead ? WrappedTextHeight(Label14, Font, WidenUtf8(kShortReadWarning), warningWidth) + 2 * inset
                : 0;
  PlaceControl(Label14, width - memoWidth + inset, inset, warningWidth, top - 2 * inset);
  PlaceControl(Memo1, width - memoWidth, top, memoWidth, height - top);
}

}  // namespace jwcount
