#include "app/win32/GridPage.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/win32/ControlIds.h"
#include "app/win32/Dpi.h"
#include "app/win32/StringGrid.h"
#include "app/win32/WinText.h"

namespace jwcount {
namespace {

constexpr int kTitleHeight = 25;
// The row of choices: each button as wide as its caption and the button's round glyph.
constexpr int kChoiceHeight = 24;  // one row of buttons
constexpr int kChoiceLeft = 8;     // the first button from the sheet's left edge
constexpr int kChoiceGlyph = 20;   // the glyph and the gap between it and the caption
constexpr int kChoiceGap = 12;     // between two buttons
constexpr int kNoticeInset = 4;    // above, below and left of the line of notice
// The grid's context menu.
constexpr wchar_t kCopyCaption[] = L"コピー(&C)\tCtrl+C";
constexpr wchar_t kSelectAllCaption[] = L"すべて選択(&A)\tCtrl+A";
constexpr wchar_t kSaveCsvCaption[] = L"CSV ファイルに保存(&S)...\tCtrl+S";
constexpr wchar_t kSaveXlsxCaption[] = L"Excel ファイルに保存(&E)...\tCtrl+E";
constexpr wchar_t kMarkCaption[] = L"印を付けて閉じる(&M)\tAlt+M";
constexpr wchar_t kKeepCaption[] = L"基準として保存(&K)\tAlt+K";

// A choice's caption (Shift-JIS) as a button shows it: an & stays an & instead of marking a mnemonic.
std::wstring ChoiceCaption(std::string_view sjis) {
  std::wstring caption;
  for (const wchar_t c : Widen(sjis)) caption.append(c == L'&' ? 2 : 1, c);
  return caption;
}

}  // namespace

// The choices come before the grid among the sheet's controls, so that the Tab key reaches them first; the
// first starts their group, and the grid starts a group of its own, which ends theirs.
GridPage::GridPage(HWND sheet, int index, std::string_view title, std::unique_ptr<GridSource> source,
                   COLORREF sheetColour, HFONT font, UINT dpi)
    : sheet_(sheet),
      source_(std::move(source)),
      sheetColour_(sheetColour),
      sheetBrush_(CreateSolidBrush(sheetColour)),
      font_(font),
      dpi_(dpi) {
  SetPanelPart(sheet_, this);
  titlePanel_ = CreatePanel(sheet_, kIdPanel3 + index - 1, Widen(title).c_str(),
                            {GetSysColor(COLOR_BTNFACE), true, true}, font_);
  notice_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, sheet_,
                            ControlId(kIdNotice2 + index - 1), InstanceOf(sheet_), nullptr);
  SetControlFont(notice_, font_);
  const std::span<const std::string_view> choices = source_->Choices();
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0);
    HWND button =
        CreateWindowExW(0, L"BUTTON", ChoiceCaption(choices[i]).c_str(), style, 0, 0, 0, 0, sheet_,
                        ControlId(ChoiceId(index + 1, static_cast<int>(i) + 1)), InstanceOf(sheet_), nullptr);
    SetControlFont(button, font_);
    choices_.push_back(button);
  }
  grid_ = CreateStringGrid(sheet_, kIdSG1 + index - 1, *source_, font_);
  SetWindowLongPtrW(grid_, GWL_STYLE, GetWindowLongPtrW(grid_, GWL_STYLE) | WS_GROUP);
  SetColumnWidths();
  if (choices_.empty()) return;
  CheckChosen();
  WidenStringGridToHeads(grid_);  // the heads change with the choice
}

// A selection made before the count selected rows of empty tables: the count starts the grid afresh.
void GridPage::Refresh() {
  source_->Refresh();
  RefreshStringGrid(grid_);
  ResetStringGridSelection(grid_);
}

// The old source goes only once the grid shows the new one.
void GridPage::SetSource(std::unique_ptr<GridSource> source) {
  const std::unique_ptr<GridSource> old = std::exchange(source_, std::move(source));
  SetStringGridSource(grid_, *source_);
  SetColumnWidths();
}

void GridPage::SetBar(PageBar* bar) {
  bar_ = bar;
  if (bar_ != nullptr) bar_->TabBefore(choices_.empty() ? grid_ : choices_.front());
}

void GridPage::SetColumnWidths() const {
  for (int column = 0; column < source_->ColumnCount(); ++column) {
    if (const int width = source_->ColumnWidth(column); width > 0)
      SetStringGridColumnWidth(grid_, column, Scaled(width, dpi_));
  }
}

void GridPage::AddSelectedCovers(std::vector<ElementCover>& covers) const {
  int first = 0;
  int last = -1;
  if (!StringGridSelectedRows(grid_, first, last)) return;
  for (int row = first; row <= last; ++row) {
    ElementCover cover = source_->RowCover(row);
    if (cover.CoversAny()) covers.push_back(std::move(cover));
  }
}

int GridPage::ContextMenu(HWND owner, int x, int y, GridMenuChoices choices) const {
  PopupMenu menu;
  AppendMenuW(menu.Get(), MF_STRING, kIdCopy, kCopyCaption);
  AppendMenuW(menu.Get(), MF_STRING, kIdSelectAll, kSelectAllCaption);
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING, kIdSaveCsv, kSaveCsvCaption);
  if (choices.Workbook) {
    AppendMenuW(menu.Get(), MF_STRING | (choices.SaveWorkbook ? MF_ENABLED : MF_GRAYED), kIdSaveXlsx,
                kSaveXlsxCaption);
  }
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING | (choices.Mark ? MF_ENABLED : MF_GRAYED), kIdMark, kMarkCaption);
  AppendMenuW(menu.Get(), MF_STRING | (choices.KeepBaseline ? MF_ENABLED : MF_GRAYED), kIdKeepBaseline,
              kKeepCaption);
  const int command =
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr);
  if (command == kIdCopy) {
    SendMessageW(grid_, WM_COPY, 0, 0);
  } else if (command == kIdSelectAll) {
    SendMessageW(grid_, kGridSelectAll, 0, 0);
  } else {
    return command;
  }
  return 0;
}

void GridPage::SetNotice(const std::wstring& text) {
  noticeText_ = text;
  SetWindowTextW(notice_, text.c_str());
  ShowWindow(notice_, text.empty() ? SW_HIDE : SW_SHOWNA);
}

void GridPage::SetDpi(UINT dpi, HFONT font) {
  dpi_ = dpi;
  font_ = font;
  SetControlFont(titlePanel_, font);
  SetControlFont(notice_, font);
  for (HWND button : choices_) SetControlFont(button, font);
  if (bar_ != nullptr) bar_->SetDpi(dpi, font);
  SetStringGridDpi(grid_, dpi, font);
  if (!choices_.empty()) WidenStringGridToHeads(grid_);
}

void GridPage::Layout(int width, int height) const {
  const int titleHeight = Scaled(kTitleHeight, dpi_);
  PlaceControl(titlePanel_, 0, 0, width, titleHeight);
  const int noticeTop = titleHeight + (bar_ != nullptr ? bar_->Layout(width, titleHeight) : 0);
  const int choicesTop = noticeTop + LayoutNotice(width, noticeTop);
  const int gridTop = choicesTop + LayoutChoices(width, choicesTop);
  PlaceControl(grid_, 0, gridTop, width, height - gridTop);
}

int GridPage::LayoutNotice(int width, int top) const {
  if (noticeText_.empty()) return 0;
  const int inset = Scaled(kNoticeInset, dpi_);
  const int textWidth = width - 2 * inset;
  const int textHeight = WrappedTextHeight(notice_, font_, noticeText_, textWidth);
  PlaceControl(notice_, inset, top + inset, textWidth, textHeight);
  return textHeight + 2 * inset;
}

int GridPage::LayoutChoices(int width, int top) const {
  if (choices_.empty()) return 0;
  const int left = Scaled(kChoiceLeft, dpi_);
  const int rowHeight = Scaled(kChoiceHeight, dpi_);
  WindowDc dc(sheet_);
  ScopedSelectObject selectFont(dc.Dc(), font_);
  int x = left;
  int y = top;
  for (HWND button : choices_) {
    wchar_t caption[256];
    const int length = GetWindowTextW(button, caption, 256);
    RECT bounds{0, 0, 0, 0};
    DrawTextW(dc.Dc(), caption, length, &bounds, DT_CALCRECT | DT_SINGLELINE);
    const int buttonWidth = bounds.right + Scaled(kChoiceGlyph, dpi_);
    if (x > left && x + buttonWidth > width - left) {
      x = left;
      y += rowHeight;
    }
    PlaceControl(button, x, y, buttonWidth, rowHeight);
    x += buttonWidth + Scaled(kChoiceGap, dpi_);
  }
  return y + rowHeight - top;
}

// The choice already made is left as it is (and the order its rows are sorted in with it); another one
// shows the source's rows for it.
void GridPage::ChoiceClick(int choice) {
  if (choice != source_->Chosen() && source_->Choose(choice)) {
    WidenStringGridToHeads(grid_);
    RefreshStringGrid(grid_);
  }
  CheckChosen();
}

// The chosen button checked, the others cleared; the chosen one is the group's one tab stop, as in a
// dialog's group of radio buttons.
void GridPage::CheckChosen() {
  const int chosen = std::clamp(source_->Chosen(), 0, static_cast<int>(choices_.size()) - 1);
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    const bool checked = static_cast<int>(i) == chosen;
    SendMessageW(choices_[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG_PTR style = GetWindowLongPtrW(choices_[i], GWL_STYLE);
    SetWindowLongPtrW(choices_[i], GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

bool GridPage::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (bar_ != nullptr && bar_->OnControlMessage(message, wParam, lParam, result)) return true;
  switch (message) {
    case WM_COMMAND: {
      const auto at = std::find(choices_.begin(), choices_.end(), reinterpret_cast<HWND>(lParam));
      if (at == choices_.end() || HIWORD(wParam) != BN_CLICKED) return false;
      ChoiceClick(static_cast<int>(at - choices_.begin()));
      result = 0;
      return true;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.hwndFrom != grid_ || header.code != kGridHeadClick) return false;
      if (source_->SortBy(reinterpret_cast<const GridHeadClick&>(header).Column)) RefreshStringGrid(grid_);
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), sheetColour_);
      result = reinterpret_cast<LRESULT>(sheetBrush_.Get());
      return true;
    default:
      return false;
  }
}

}  // namespace jwcount
