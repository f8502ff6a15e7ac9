#include "app/win32/SummaryPage.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/win32/Dpi.h"
#include "app/win32/LinkLabel.h"
#include "app/win32/StatusBar.h"
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
constexpr int kMarkLineGap = 16;  // between the line of the checks and the link beside it
constexpr wchar_t kMarkLineText[] = L"印を付けて閉じる";
constexpr wchar_t kKeepBaselineCaption[] = L"基準として保存(&K)";
constexpr int kKeepBaselineButtonHeight = 25;  // as Button1
constexpr int kColumnGap = 6;                  // between the note, the line of the comparison and the button
constexpr int kWarningInset = 4;               // around the short-read warning
constexpr COLORREF kMemoColour = RGB(187, 235, 244);
constexpr COLORREF kWarningColour = RGB(204, 0, 0);
// The line of the comparison with the kept baseline.
constexpr wchar_t kSameAsBaseline[] = L"基準と同じ";
constexpr wchar_t kRowsFromBaseline[] = L"基準との差: ";  // then the number of rows and kRows
constexpr wchar_t kRows[] = L" 行";
constexpr wchar_t kBaselineUnreadable[] = L"基準を読めません";

}  // namespace

void SummaryPage::Create(HWND sheet, COLORREF sheetColour, HFONT font, UINT dpi) {
  Font = font;
  Dpi = dpi;
  SheetColour = sheetColour;
  SheetBrush = Brush(CreateSolidBrush(sheetColour));
  MemoBrush = Brush(CreateSolidBrush(kMemoColour));
  SetPanelPart(sheet, this);
  const HINSTANCE instance = InstanceOf(sheet);
  for (int i = 0; i < kSummaryCount; ++i) {
    Labels[i] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                sheet, ControlId(kIdLabel1 + i), instance, nullptr);
    SetControlFont(Labels[i], font);
    SetLabel(i + 1, kSummaryCaptions[i]);
  }
  // Hidden until a read falls short; then it heads the note's column, above Memo1.
  ShortReadWarning =
      CreateWindowExW(0, L"STATIC", WidenUtf8(kShortReadWarning).c_str(), WS_CHILD | SS_LEFT | SS_NOPREFIX, 0,
                      0, 0, 0, sheet, ControlId(kIdSummaryWarning), instance, nullptr);
  SetControlFont(ShortReadWarning, font);
  // Read-only, skipped by the Tab key (no tab stop), no line wrapping.
  Memo1 =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", kMemo1Text,
                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0,
                      0, 0, 0, sheet, ControlId(kIdMemo1), instance, nullptr);
  SetControlFont(Memo1, font);
  // Hidden until the count has run and a check has found something.
  CheckLine = CreateLinkLabel(sheet, kIdCheckLine, sheetColour, font, dpi);
  MarkLine = CreateLinkLabel(sheet, kIdMarkLine, sheetColour, font, dpi);
  SetWindowTextW(MarkLine, kMarkLineText);
  // Hidden until the count has a comparison to tell of; then, like the keep-baseline button, after the links
  // for the Tab key.
  BaselineLine = CreateLinkLabel(sheet, kIdBaselineLine, sheetColour, font, dpi);
  // Greyed until the count has covered the whole drawing.
  KeepBaselineButton =
      CreateWindowExW(0, L"BUTTON", kKeepBaselineCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0,
                      0, 0, 0, sheet, ControlId(kIdKeepBaselineButton), instance, nullptr);
  SetControlFont(KeepBaselineButton, font);
  KeepPlainLook(KeepBaselineButton);
}

void SummaryPage::SetDpi(UINT dpi, HFONT font) {
  Dpi = dpi;
  Font = font;
  for (HWND control : Labels) SetControlFont(control, font);
  SetControlFont(ShortReadWarning, font);
  SetControlFont(Memo1, font);
  SetLinkLabelDpi(CheckLine, dpi, font);
  SetLinkLabelDpi(MarkLine, dpi, font);
  SetLinkLabelDpi(BaselineLine, dpi, font);
  SetControlFont(KeepBaselineButton, font);
  // A copy: SetLabel keeps the text it is given in LabelTexts.
  for (int i = 0; i < kSummaryCount; ++i)
    SetLabel(i + 1, std::string(LabelTexts[static_cast<std::size_t>(i)]));
}

void SummaryPage::SetLabel(int label, std::string_view sjis) {
  if (label < 1 || label > kSummaryCount) return;
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

void SummaryPage::SetCheckLine(std::string_view sjis, bool markable) {
  SetWindowTextW(CheckLine, Widen(sjis).c_str());
  ShowWindow(CheckLine, sjis.empty() ? SW_HIDE : SW_SHOWNA);
  ShowWindow(MarkLine, sjis.empty() || !markable ? SW_HIDE : SW_SHOWNA);
}

void SummaryPage::ShowComparison(const CountComparison& comparison) {
  std::wstring text;
  if (comparison.State == CountComparison::Outcome::kCompared) {
    const std::size_t rows = comparison.Diff.Rows.size();
    text = rows == 0 ? kSameAsBaseline : kRowsFromBaseline + std::to_wstring(rows) + kRows;
  } else if (comparison.State == CountComparison::Outcome::kUnreadable) {
    text = kBaselineUnreadable;
  }
  SetWindowTextW(BaselineLine, text.c_str());
  ShowWindow(BaselineLine, text.empty() ? SW_HIDE : SW_SHOWNA);
}

void SummaryPage::EnableKeepBaseline(bool enabled) const {
  EnableWindow(KeepBaselineButton, enabled ? TRUE : FALSE);
}

void SummaryPage::ShowShortReadWarning() const {
  ShowWindow(ShortReadWarning, SW_SHOWNA);
}

void SummaryPage::Layout(int width, int height, bool shortRead) const {
  const auto scaled = [this](int pixels) { return Scaled(pixels, Dpi); };
  for (int i = 0; i < kSummaryCount; ++i) {
    SetWindowPos(Labels[static_cast<std::size_t>(i)], nullptr, scaled(kLabelLeft),
                 scaled(kLabelTop + i * kLabelStep), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int memoWidth = scaled(kMemoWidth);
  // The line of the checks in the place of a fourteenth label, its text where a label's would be; where
  // the note leaves too little room for it on one line, it takes more lines.
  const int left = scaled(kLabelLeft);
  const int lineTop = scaled(kLabelTop + kSummaryCount * kLabelStep);
  const int room = width - memoWidth - 2 * left;
  const RECT line = PlaceLinkLabel(CheckLine, left, lineTop, room);
  // The link that marks what the checks found follows the line's last item where that line leaves room
  // for it, else it takes a line under it. The rectangles hold each label's padding round its text.
  const POINT end = LinkLabelTextEnd(CheckLine);
  const int padding = left - line.left;
  const int besideX = end.x + scaled(kMarkLineGap);
  const RECT beside = PlaceLinkLabel(MarkLine, besideX, end.y, left + room - besideX);
  const bool fits = beside.right - padding <= left + room && beside.bottom <= line.bottom;
  if (!fits) PlaceLinkLabel(MarkLine, left, line.bottom + padding, room);
  // Beside a line of more lines the link lies in its rectangle: the line leaves it out, so that it
  // neither paints over the link nor takes its clicks.
  HRGN shape = nullptr;
  if (fits && beside.left < line.right) {
    shape = CreateRectRgn(0, 0, line.right - line.left, line.bottom - line.top);
    HRGN link = CreateRectRgn(beside.left - line.left, beside.top - line.top, beside.right - line.left,
                              beside.bottom - line.top);
    CombineRgn(shape, shape, link, RGN_DIFF);
    DeleteObject(link);
  }
  SetWindowRgn(CheckLine, shape, TRUE);  // the window owns the region from here on
  // Memo1 docked to the right edge; after a short read the warning takes the top of its column, so the
  // summary labels stay where they are. The keep-baseline button ends the column, the line of the comparison
  // above it.
  const int inset = scaled(kWarningInset);
  const int warningWidth = memoWidth - 2 * inset;
  const int top =
      shortRead
          ? WrappedTextHeight(ShortReadWarning, Font, WidenUtf8(kShortReadWarning), warningWidth) + 2 * inset
          : 0;
  PlaceControl(ShortReadWarning, width - memoWidth + inset, inset, warningWidth, top - 2 * inset);
  const int gap = scaled(kColumnGap);
  const int buttonTop = height - gap - scaled(kKeepBaselineButtonHeight);
  PlaceControl(KeepBaselineButton, width - memoWidth, buttonTop, memoWidth - gap,
               scaled(kKeepBaselineButtonHeight));
  int memoBottom = buttonTop - gap;
  if ((GetWindowLongPtrW(BaselineLine, GWL_STYLE) & WS_VISIBLE) != 0) {  // shown, whether or not page 1 is
    // One line (its texts are short), indented as the labels are.
    const int lineTop = buttonTop - gap - scaled(kLabelHeight);
    PlaceLinkLabel(BaselineLine, width - memoWidth + left, lineTop, memoWidth - 2 * left);
    memoBottom = lineTop - gap;
  }
  PlaceControl(Memo1, width - memoWidth, top, memoWidth, memoBottom - top);
}

}  // namespace jwcount

namespace jwcount {

bool SummaryPage::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT && message != WM_CTLCOLORBTN) return false;
  const auto dc = reinterpret_cast<HDC>(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  if (control == ShortReadWarning) SetTextColor(dc, kWarningColour);
  const bool memo = control == Memo1;
  SetBkColor(dc, memo ? kMemoColour : SheetColour);
  result = reinterpret_cast<LRESULT>(memo ? MemoBrush.Get() : SheetBrush.Get());
  return true;
}

}  // namespace jwcount
