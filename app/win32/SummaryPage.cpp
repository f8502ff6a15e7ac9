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

// True for a control shown on the page, whether or not the page itself is in sight.
bool Shown(HWND control) {
  return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

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
  // Read-only, skipped by the Tab key (no tab stop), no line wrapping; its scroll bar shows only where it
  // is too low for its lines (Layout).
  Memo1 = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", kMemo1Text,
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0, 0,
      0, 0, sheet, ControlId(kIdMemo1), instance, nullptr);
  SetControlFont(Memo1, font);
  // Hidden until the count has run and a check has found something.
  CheckLine = CreateLinkLabel(sheet, kIdCheckLine, sheetColour, font, dpi);
  MarkLine = CreateLinkLabel(sheet, kIdMarkLine, sheetColour, font, dpi);
  SetWindowTextW(MarkLine, kMarkLineText);
  // Hidden until the count has run and the take-off rules have been read.
  TakeoffLine = CreateLinkLabel(sheet, kIdTakeoffLine, sheetColour, font, dpi);
  // Hidden until the count has a comparison to tell of; then, like the keep-baseline button, after the links
  // for the Tab key.
  BaselineLine = CreateLinkLabel(sheet, kIdBaselineLine, sheetColour, font, dpi);
  // Greyed until the count has covered the whole drawing.
  KeepBaselineButton =
      CreateWindowExW(0, L"BUTTON", kKeepBaselineCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 0,
                      0, 0, 0, sheet, ControlId(kIdKeepBaselineButton), instance, nullptr);
  SetControlFont(KeepBaselineButton, font);
  KeepPlainLook(KeepBaselineButton);
  // Hidden while the labels fit the page.
  LabelScroll = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, sheet,
                                ControlId(kIdLabelScroll), instance, nullptr);
}

void SummaryPage::SetDpi(UINT dpi, HFONT font) {
  Dpi = dpi;
  Font = font;
  for (HWND control : Labels) SetControlFont(control, font);
  SetControlFont(ShortReadWarning, font);
  SetControlFont(Memo1, font);
  SetLinkLabelDpi(CheckLine, dpi, font);
  SetLinkLabelDpi(MarkLine, dpi, font);
  SetLinkLabelDpi(TakeoffLine, dpi, font);
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

void SummaryPage::SetTakeoffLine(std::string_view sjis) {
  SetWindowTextW(TakeoffLine, Widen(sjis).c_str());
  ShowWindow(TakeoffLine, sjis.empty() ? SW_HIDE : SW_SHOWNA);
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

// The labels from the top, scrolled up by `scrolled` pixels, and the line of the checks under them in room
// pixels of width; returns the bottom of those shown, as if not scrolled.
int SummaryPage::PlaceLabels(int room, int scrolled) const {
  const auto scaled = [this](int pixels) { return Scaled(pixels, Dpi); };
  for (int i = 0; i < kSummaryCount; ++i) {
    SetWindowPos(Labels[static_cast<std::size_t>(i)], nullptr, scaled(kLabelLeft),
                 scaled(kLabelTop + i * kLabelStep) - scrolled, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The line of the checks in the place of a fourteenth label, its text where a label's would be; where
  // the note leaves too little room for it on one line, it takes more lines.
  const int left = scaled(kLabelLeft);
  const int lineTop = scaled(kLabelTop + kSummaryCount * kLabelStep) - scrolled;
  const RECT line = PlaceLinkLabel(CheckLine, left, lineTop, room);
  // The link that marks what the checks found follows the line's last item where that line leaves room
  // for it, else it takes a line under it. The rectangles hold each label's padding round its text.
  const POINT end = LinkLabelTextEnd(CheckLine);
  const int padding = left - line.left;
  const int besideX = end.x + scaled(kMarkLineGap);
  RECT mark = PlaceLinkLabel(MarkLine, besideX, end.y, left + room - besideX);
  const bool fits = mark.right - padding <= left + room && mark.bottom <= line.bottom;
  if (!fits) mark = PlaceLinkLabel(MarkLine, left, line.bottom + padding, room);
  // Beside a line of more lines the link lies in its rectangle: the line leaves it out, so that it
  // neither paints over the link nor takes its clicks.
  HRGN shape = nullptr;
  if (fits && mark.left < line.right) {
    shape = CreateRectRgn(0, 0, line.right - line.left, line.bottom - line.top);
    HRGN link = CreateRectRgn(mark.left - line.left, mark.top - line.top, mark.right - line.left,
                              mark.bottom - line.top);
    CombineRgn(shape, shape, link, RGN_DIFF);
    DeleteObject(link);
  }
  SetWindowRgn(CheckLine, shape, TRUE);  // the window owns the region from here on
  const int labelsBottom = scaled(kLabelTop + (kSummaryCount - 1) * kLabelStep + kLabelHeight) - scrolled;
  int bottom = labelsBottom;  // of the texts, or of the links' rectangles round theirs
  if (Shown(CheckLine)) bottom = std::max<int>(bottom, line.bottom);
  if (Shown(MarkLine)) bottom = std::max<int>(bottom, mark.bottom);
  // The line of the quantity sheet a label's step under the last text above it; where the room is
  // narrow it takes more lines.
  const int textBottom = bottom == labelsBottom ? bottom : bottom - padding;
  const RECT takeoff =
      PlaceLinkLabel(TakeoffLine, left, textBottom + scaled(kLabelStep - kLabelHeight), room);
  if (Shown(TakeoffLine)) bottom = std::max<int>(bottom, takeoff.bottom);
  return bottom + scrolled;
}

void SummaryPage::Layout(int width, int height, bool shortRead) {
  sheet_ = {width, height};
  shortRead_ = shortRead;
  const auto scaled = [this](int pixels) { return Scaled(pixels, Dpi); };
  const int left = scaled(kLabelLeft);
  // Memo1 docked to the right edge; after a short read the warning takes the top of its column, so the
  // summary labels stay where they are. The keep-baseline button ends the column, the line of the comparison
  // above it.
  const int memoWidth = scaled(kMemoWidth);
  const int inset = scaled(kWarningInset);
  const int warningWidth = memoWidth - 2 * inset;
  const int top =
      shortRead
          ? WrappedTextHeight(ShortReadWarning, Font, WidenUtf8(kShortReadWarning), warningWidth) + 2 * inset
          : 0;
  const int gap = scaled(kColumnGap);
  const int buttonTop = height - gap - scaled(kKeepBaselineButtonHeight);
  const bool baselineShown = (GetWindowLongPtrW(BaselineLine, GWL_STYLE) & WS_VISIBLE) != 0;  // page 1 or not
  const int baselineTop = buttonTop - gap - scaled(kLabelHeight);
  const int memoBottom = baselineShown ? baselineTop - gap : buttonTop - gap;
  // Where the note is too low for its lines it scrolls them, its column widened by its scroll bar so
  // that no line is cut at the right.
  const int memoLines = memoBottom - top - 2 * GetSystemMetrics(SM_CYEDGE);
  const bool memoScrolls = WrappedTextHeight(Memo1, Font, kMemo1Text, 0x7FFF) > memoLines;
  const int column = memoWidth + (memoScrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  const int columnLeft = width - column;
  PlaceControl(ShortReadWarning, columnLeft + inset, inset, column - 2 * inset, top - 2 * inset);
  PlaceControl(KeepBaselineButton, columnLeft, buttonTop, column - gap, scaled(kKeepBaselineButtonHeight));
  if (baselineShown)  // one line (its texts are short), indented as the labels are
    PlaceLinkLabel(BaselineLine, columnLeft + left, baselineTop, column - 2 * left);
  PlaceControl(Memo1, columnLeft, top, column, memoBottom - top);
  ShowScrollBar(Memo1, SB_VERT, memoScrolls);
  // The labels keep their places while they fit the page; else a scroll bar beside the note's column
  // scrolls them (and takes its width from the line of the checks).
  const int room = columnLeft - 2 * left;
  int bottom = PlaceLabels(room, 0);
  const bool scrolls = bottom > height;
  const int barWidth = scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  if (scrolls) bottom = PlaceLabels(room - barWidth, 0);
  labelsTop_ = scrolls ? std::clamp(labelsTop_, 0, bottom - height) : 0;
  if (labelsTop_ != 0) PlaceLabels(room - barWidth, labelsTop_);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = bottom - 1;
  info.nPage = static_cast<UINT>(std::max(height, 0));
  info.nPos = labelsTop_;
  SetScrollInfo(LabelScroll, SB_CTL, &info, TRUE);
  PlaceControl(LabelScroll, columnLeft - barWidth, 0, barWidth, height);
  ShowWindow(LabelScroll, scrolls ? SW_SHOWNA : SW_HIDE);
}

bool SummaryPage::Wheel(int delta) {
  if (!IsWindowVisible(LabelScroll)) return false;
  ScrollLabelsTo(labelsTop_ - MulDiv(delta, 3 * Scaled(kLabelStep, Dpi), WHEEL_DELTA));
  return true;
}

void SummaryPage::ScrollLabelsTo(int position) {
  if (position == labelsTop_) return;
  labelsTop_ = position;
  Layout(sheet_.cx, sheet_.cy, shortRead_);  // which keeps it within the scroll bar's range
}

}  // namespace jwcount

namespace jwcount {

bool SummaryPage::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_VSCROLL && reinterpret_cast<HWND>(lParam) == LabelScroll) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(LabelScroll, SB_CTL, &info);
    const int step = Scaled(kLabelStep, Dpi);
    const int page = std::max(static_cast<int>(info.nPage) - step, step);
    switch (LOWORD(wParam)) {
      case SB_LINEUP:
        ScrollLabelsTo(info.nPos - step);
        break;
      case SB_LINEDOWN:
        ScrollLabelsTo(info.nPos + step);
        break;
      case SB_PAGEUP:
        ScrollLabelsTo(info.nPos - page);
        break;
      case SB_PAGEDOWN:
        ScrollLabelsTo(info.nPos + page);
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        ScrollLabelsTo(info.nTrackPos);
        break;
      case SB_TOP:
        ScrollLabelsTo(0);
        break;
      case SB_BOTTOM:
        ScrollLabelsTo(info.nMax);
        break;
      default:
        break;
    }
    result = 0;
    return true;
  }
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
