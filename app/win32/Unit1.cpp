#include "app/win32/Unit1.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/PageTable.h"
#include "app/win32/Dpi.h"
#include "app/win32/Keys.h"
#include "app/win32/Panel.h"
#include "app/win32/SaveFile.h"
#include "app/win32/StringGrid.h"
#include "app/win32/WinText.h"
#include "app/win32/WindowBounds.h"
#include "counting/CountTexts.h"
#include "counting/RunSequence.h"
#include "report/CheckText.h"
#include "report/CsvFileName.h"
#include "report/ReportTexts.h"
#include "report/TableAnswer.h"
#include "tempfile/ProgramPath.h"

namespace jwcount {
namespace {

// Texts of the window.
constexpr wchar_t kCaption[] = L"要素数表示";
constexpr wchar_t kFontName[] = L"ＭＳ ゴシック";

constexpr int kDesignLeft = 192;
constexpr int kDesignTop = 107;
constexpr int kDesignWidth = 521;
constexpr int kDesignHeight = 423;
constexpr int kFontHeight = 13;
constexpr int kTitleHeight = 25;
// Seven tabs fit side by side in the narrowest window (475 pixels) with this much room beside each caption;
// more tabs wrap into a second row.
constexpr int kTabPadding = 4;
constexpr int kTabVerticalPadding = 3;
// The row of choices between a page's title panel and its grid: radio buttons side by side, each as wide
// as its caption and the button's round glyph, wrapping into another row where the sheet is too narrow.
constexpr int kChoiceHeight = 24;  // one row of buttons
constexpr int kChoiceLeft = 8;     // the first button from the sheet's left edge
constexpr int kChoiceGlyph = 20;   // the glyph and the gap between it and the caption
constexpr int kChoiceGap = 12;     // between two buttons
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr COLORREF kFormColour = RGB(255, 255, 255);
constexpr COLORREF kStatusColour = RGB(231, 231, 231);
constexpr COLORREF kMemoColour = RGB(187, 235, 244);
constexpr COLORREF kWarningColour = RGB(204, 0, 0);
// Links, as Windows draws them by default. The system's colour of links (COLOR_HOTLIGHT) is not used: the
// sheets are white whatever the scheme, and that colour is not always readable on white (Wine's is a pale
// grey).
constexpr COLORREF kLinkColour = RGB(0, 102, 204);

}  // namespace

TForm1::~TForm1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TForm1::RegisterClasses(HINSTANCE instance) {
  const WindowClassLook look{
      .Icon = LoadIconW(instance, MAKEINTRESOURCEW(1)),
      .SmallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR)),
      .Cursor = ArrowCursor(),
      .Background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
  };
  RegisterWindowClass<TForm1>(instance, kForm1Class, look);
  RegisterPanel(instance);
  RegisterStringGrid(instance);
}

TForm1* TForm1::Attach(HWND hwnd, const CREATESTRUCTW& create) {
  auto* form = static_cast<TForm1*>(create.lpCreateParams);
  form->hwnd_ = hwnd;
  return form;
}

namespace {

// The window's font at a DPI: ＭＳ ゴシック, 13 pixels high at 96 DPI.
Font WindowFont(UINT dpi) {
  return Font(CreateFontW(-Scaled(kFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          FIXED_PITCH | FF_MODERN, kFontName));
}

// A choice's caption (Shift-JIS) as a button shows it: an & stays an & instead of marking a mnemonic.
std::wstring ChoiceCaption(std::string_view sjis) {
  std::wstring caption;
  for (const wchar_t c : Widen(sjis)) caption.append(c == L'&' ? 2 : 1, c);
  return caption;
}

// Checks the button of the chosen choice and clears the others.
void CheckChosen(std::span<const HWND> buttons, int chosen) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const bool checked = static_cast<int>(i) == chosen;
    SendMessageW(buttons[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

// The index of the chosen choice, kept within the buttons there are (at least one).
std::size_t ChosenIndex(const GridSource& source, std::size_t buttons) {
  return static_cast<std::size_t>(std::clamp(source.Chosen(), 0, static_cast<int>(buttons) - 1));
}

}  // namespace

bool TForm1::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  formBrush_ = Brush(CreateSolidBrush(kFormColour));
  statusBrush_ = Brush(CreateSolidBrush(kStatusColour));
  memoBrush_ = Brush(CreateSolidBrush(kMemoColour));
  warningBrush_ = Brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  keys_ = AcceleratorTable(CreateFormKeys(Pages()));
  // Resizable, with a system menu and a minimise button, but no maximise button.
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  CreateWindowExW(WS_EX_CONTROLPARENT, kForm1Class, kCaption, style, kDesignLeft, kDesignTop, kDesignWidth,
                  kDesignHeight, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  dpi_ = WindowDpi(hwnd_);
  font_ = WindowFont(dpi_);
  CreateControls();
  Layout();
  return true;
}

// --- Controls ---

// The pages come from the page table: a tab and a sheet each, and on the sheet either page 1's labels and
// note or a title panel above a grid.
void TForm1::CreateControls() {
  SetControlFont(hwnd_, font_.Get());
  // Tabs that do not fit side by side wrap into more rows, so that every tab stays in view.
  PageControl1 = CreateWindowExW(0, WC_TABCONTROLW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | TCS_MULTILINE, 0, 0,
                                 0, 0, hwnd_, ControlId(kIdPageControl1), instance_, nullptr);
  SetControlFont(PageControl1, font_.Get());
  SendMessageW(PageControl1, TCM_SETPADDING, 0,
               MAKELPARAM(Scaled(kTabPadding, dpi_), Scaled(kTabVerticalPadding, dpi_)));
  const PanelStyle sheetStyle{kFormColour, false, false};
  pages_.resize(Pages().size());
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const std::wstring caption = WidenUtf8(Pages()[i].Caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    SendMessageW(PageControl1, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    // The sheets lie over the tab control's display area, above it in the z-order.
    Page& page = pages_[i];
    page.TabSheet =
        CreatePanel(hwnd_, kIdTabSheet1 + static_cast<int>(i), caption.c_str(), sheetStyle, font_.Get());
    SetWindowPos(page.TabSheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (Pages()[i].MakeSource == nullptr) {
      page1_.Create(page.TabSheet, font_.Get(), dpi_);
    } else {
      CreateGridPage(static_cast<int>(i), page);
    }
  }
  status_.Create(hwnd_, font_.Get(), dpi_);
  SelectPage(0);
}

// The page at place index of the page table (0 is page 1) holds title panel Panel<index + 2> and grid
// SG<index>, and the source's choices between them.
void TForm1::CreateGridPage(int index, Page& page) {
  const PageRow& row = Pages()[static_cast<std::size_t>(index)];
  page.Source = row.MakeSource({tables_, reader_.Drawing});
  page.TitlePanel = CreatePanel(page.TabSheet, kIdPanel3 + index - 1, Widen(row.Title).c_str(),
                                {GetSysColor(COLOR_BTNFACE), true, true}, font_.Get());
  page.Grid = CreateStringGrid(page.TabSheet, kIdSG1 + index - 1, *page.Source, font_.Get());
  for (int column = 0; column < page.Source->ColumnCount(); ++column) {
    if (const int width = page.Source->ColumnWidth(column); width > 0)
      SetStringGridColumnWidth(page.Grid, column, Scaled(width, dpi_));
  }
  CreateChoices(index, page);
}

// One radio button per choice of the page's source, on its sheet after the grid, the chosen one checked.
// The first starts the group and is its tab stop; a click checks the button clicked and clears the others
// of the group, then reaches OnCommand.
void TForm1::CreateChoices(int index, Page& page) {
  const std::span<const std::string_view> choices = page.Source->Choices();
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
    HWND button =
        CreateWindowExW(0, L"BUTTON", ChoiceCaption(choices[i]).c_str(), style, 0, 0, 0, 0, page.TabSheet,
                        ControlId(ChoiceId(index + 1, static_cast<int>(i) + 1)), instance_, nullptr);
    SetControlFont(button, font_.Get());
    page.Choices.push_back(button);
  }
  if (page.Choices.empty()) return;
  CheckChosen(page.Choices, static_cast<int>(ChosenIndex(*page.Source, page.Choices.size())));
  WidenStringGridToHeads(page.Grid);  // the heads change with the choice
}

void TForm1::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int height = client.bottom;
  const int panel2Height = status_.Layout(width, height, shortRead_);
  // PageControl1 fills the rest; the sheets fill its display area.
  const int pagesHeight = std::max(height - panel2Height, 0);
  PlaceControl(PageControl1, 0, 0, width, pagesHeight);
  RECT display{0, 0, width, pagesHeight};
  SendMessageW(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int pageWidth = std::max<int>(display.right - display.left, 0);
  const int pageHeight = std::max<int>(display.bottom - display.top, 0);
  for (const Page& page : pages_) {
    PlaceControl(page.TabSheet, display.left, display.top, pageWidth, pageHeight);
    LayoutPage(page, pageWidth, pageHeight);
  }
}

void TForm1::LayoutPage(const Page& page, int width, int height) {
  if (page.Grid == nullptr) {
    page1_.Layout(width, height, shortRead_);
    return;
  }
  const int titleHeight = Scaled(kTitleHeight, dpi_);
  PlaceControl(page.TitlePanel, 0, 0, width, titleHeight);
  const int gridTop = titleHeight + LayoutChoices(page, width, titleHeight);
  PlaceControl(page.Grid, 0, gridTop, width, height - gridTop);
}

int TForm1::LayoutChoices(const Page& page, int width, int top) const {
  if (page.Choices.empty()) return 0;
  const int left = Scaled(kChoiceLeft, dpi_);
  const int rowHeight = Scaled(kChoiceHeight, dpi_);
  WindowDc dc(hwnd_);
  ScopedSelectObject selectFont(dc.Dc(), font_.Get());
  int x = left;
  int y = top;
  for (HWND button : page.Choices) {
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
void TForm1::ChoiceClick(int index, int choice) {
  Page& page = pages_[static_cast<std::size_t>(index)];
  if (choice != page.Source->Chosen() && page.Source->Choose(choice)) {
    WidenStringGridToHeads(page.Grid);
    RefreshStringGrid(page.Grid);
  }
  CheckChosen(page.Choices, page.Source->Chosen());
}

bool TForm1::MoveChoice(HWND window, bool backwards) {
  const int index = std::max(CurrentPage(), 0);
  const std::vector<HWND>& choices = pages_[static_cast<std::size_t>(index)].Choices;
  const auto at = std::find(choices.begin(), choices.end(), window);
  if (at == choices.end()) return false;
  const int count = static_cast<int>(choices.size());
  const int next = (static_cast<int>(at - choices.begin()) + (backwards ? count - 1 : 1)) % count;
  SetFocus(choices[static_cast<std::size_t>(next)]);
  ChoiceClick(index, next);
  return true;
}

int TForm1::CurrentPage() const {
  return static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0));
}

void TForm1::SelectPage(int index) {
  SendMessageW(PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND focus = GetFocus();
  for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
    HWND sheet = pages_[static_cast<std::size_t>(i)].TabSheet;
    if (i != index && (focus == sheet || IsChild(sheet, focus))) SetFocus(PageControl1);
    ShowWindow(sheet, i == index ? SW_SHOW : SW_HIDE);
  }
}

int TForm1::PageOfGrid(HWND grid) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (grid != nullptr && pages_[i].Grid == grid) return static_cast<int>(i);
  }
  return -1;
}

// The Tab key's order: the page control, the choices of the page shown (if any), its grid (if any), on
// page 1 the line of the checks while it shows, the close button. The choices are one stop, at the chosen
// one, as a dialog's group of radio buttons is.
void TForm1::MoveFocus(bool backwards) {
  std::vector<HWND> order{PageControl1};
  const Page& shown = pages_[static_cast<std::size_t>(std::max(CurrentPage(), 0))];
  HWND focus = GetFocus();
  if (!shown.Choices.empty()) {
    HWND chosen = shown.Choices[ChosenIndex(*shown.Source, shown.Choices.size())];
    if (std::find(shown.Choices.begin(), shown.Choices.end(), focus) != shown.Choices.end()) focus = chosen;
    order.push_back(chosen);
  }
  if (shown.Grid != nullptr) order.push_back(shown.Grid);
  if (IsWindowVisible(page1_.CheckLine)) order.push_back(page1_.CheckLine);
  order.push_back(status_.Button1);
  const auto at = std::find(order.begin(), order.end(), focus);
  const int position = at == order.end() ? 0 : static_cast<int>(at - order.begin());
  const int count = static_cast<int>(order.size());
  SetFocus(order[static_cast<std::size_t>((position + (backwards ? count - 1 : 1)) % count)]);
}

// --- The run ---

void TForm1::FormShow() {
  programPath_ = ProgramPath();
  programFolder_ = programPath_.parent_path();
  // Whatever was read is counted. A file that is there but could not be read to its end is said so, so
  // that its counts are never taken for the whole drawing's; a missing file simply counts nothing.
  const std::filesystem::path tempFile = TempFilePath(programFolder_);
  const bool present = NativeFileSystem().Exists(tempFile);
  shortRead_ = !ReadForCount(reader_, tempFile) && present;
  if (shortRead_) ShowShortReadWarning();
  const std::filesystem::path placementFile = PlacementPath(programPath_);
  placement_ = LoadPlacement(NativeFileSystem(), placementFile);
  const bool stored = NativeFileSystem().Exists(placementFile);
  ApplyPlacement(hwnd_, PlacementAtDpi(placement_, stored, static_cast<int32_t>(dpi_)));
  // The count waits until the window has been shown and painted once.
  SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
  timerArmed_ = true;
}

void TForm1::Timer1Timer() {
  KillTimer(hwnd_, kTimer1);
  if (!timerArmed_) return;  // it fires exactly once
  timerArmed_ = false;
  CountElements(reader_, tables_, programFolder_, countView_);
  for (Page& page : pages_) {
    if (page.Source == nullptr) continue;
    page.Source->Refresh();
    RefreshStringGrid(page.Grid);
  }
  page1_.SetCheckLine(CheckSummaryLine(tables_.Checks));
  Layout();
}

void TForm1::Button1Click() {
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::ShowShortReadWarning() {
  ShowWindow(status_.LabelA2, SW_SHOWNA);
  ShowWindow(page1_.Label14, SW_SHOWNA);
  Layout();
}

void TForm1::FormClose() {
  KillTimer(hwnd_, kTimer1);
  timerArmed_ = false;
  if (programPath_.empty()) programPath_ = ProgramPath();
  placement_ = WithMinimums(WindowBounds(hwnd_));
  SavePlacement(NativeFileSystem(), PlacementPath(programPath_), placement_);
  reader_.ReleaseEntityStores();
}

// --- Context menu and CSV save ---

void TForm1::CopyClick(HWND grid) {
  SendMessageW(grid, WM_COPY, 0, 0);
}

void TForm1::SelectAllClick(HWND grid) {
  SendMessageW(grid, kGridSelectAll, 0, 0);
}

// Saves the page shown, as shown, after a short read with the warning as its first line, under a name
// made from the drawing's, in the drawing's folder (else the program's).
void TForm1::SaveCsvClick() {
  const auto index = static_cast<std::size_t>(std::max(CurrentPage(), 0));
  const Page& page = pages_[index];
  const CsvFileName offered = DefaultCsvFileName(reader_.Drawing.FileName, Pages()[index].CsvSubject);
  SaveCsvFile(
      hwnd_, offered, programFolder_,
      [&] {
        return PageCsv(page.Source.get(), page1_.LabelTexts, shortRead_ ? AsChars(kShortReadWarning) : "");
      },
      kCaption);
}

// --- CountView: what the count run sees ---

void TForm1::CountView::ShowStatus(std::string_view text) {
  for (const std::string& shown : statusPacer_.Take(text, GetTickCount64())) {
    SetWindowTextW(form_.status_.LabelA1, Widen(shown).c_str());
    UpdateWindow(form_.status_.LabelA1);  // repainted now: the count handles no messages while it runs
  }
}

bool TForm1::CountView::EscapePressed() {
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void TForm1::CountView::ShowSummary(int label, std::string_view text) {
  form_.page1_.SetLabel(label, text);
}

void TForm1::CountView::ShowFirstPage() {
  form_.SelectPage(0);
}

void TForm1::CountView::AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) {
  if (form_.drawTable_) AppendTableAnswer(reader, tables, complete, !form_.shortRead_);
}

// --- Keyboard ---

bool TForm1::PreTranslateMessage(const MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  MSG key = msg;
  if (TranslateAcceleratorW(hwnd_, keys_.Get(), &key)) {
    // The default handling still sees an Alt key, so that releasing Alt afterwards does not open the
    // system menu; without TranslateMessage no WM_SYSCHAR follows, so nothing else happens.
    if (msg.message == WM_SYSKEYDOWN) DefWindowProcW(hwnd_, msg.message, msg.wParam, msg.lParam);
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
    MoveFocus(KeyIsDown(VK_SHIFT));
    return true;
  }
  if (msg.message == WM_KEYDOWN &&
      (msg.wParam == VK_LEFT || msg.wParam == VK_UP || msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN))
    return MoveChoice(msg.hwnd, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
  return false;
}

// --- Messages ---

void TForm1::OnShowWindow(bool shown) {
  if (!shown || shown_) return;
  shown_ = true;
  FormShow();
}

void TForm1::OnSize() {
  if (PageControl1 != nullptr) Layout();
}

// The window moved to a monitor of another DPI (or the user changed the scale): every size and the font
// follow it, and the window takes the place and size Windows suggests.
void TForm1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) return;
  dpi_ = dpi;
  Font font = WindowFont(dpi);
  for (HWND control : {hwnd_, PageControl1}) SetControlFont(control, font.Get());
  SendMessageW(PageControl1, TCM_SETPADDING, 0,
               MAKELPARAM(Scaled(kTabPadding, dpi_), Scaled(kTabVerticalPadding, dpi_)));
  for (const Page& page : pages_) {
    SendMessageW(page.TabSheet, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    if (page.Grid == nullptr) continue;
    SendMessageW(page.TitlePanel, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    for (HWND button : page.Choices)
      SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    SetStringGridDpi(page.Grid, dpi, font.Get());
    if (!page.Choices.empty()) WidenStringGridToHeads(page.Grid);
  }
  status_.SetDpi(dpi, font.Get());
  page1_.SetDpi(dpi, font.Get());
  font_ = std::move(font);  // the old font goes once no control uses it
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void TForm1::OnTimer(UINT_PTR timer) {
  if (timer == kTimer1) Timer1Timer();
}

// Button1's, the choices' and the line of the checks' clicks, and the commands of the window's keys.
void TForm1::OnCommand(int id) {
  const int pages = static_cast<int>(pages_.size());
  if (id == kIdButton1) {
    Button1Click();
  } else if (id == kIdCheckLine) {
    SelectPage(static_cast<int>(kCheckPage));  // as Alt+0 does
  } else if (id == kIdSaveCsv) {
    SaveCsvClick();
  } else if (id == kIdNextPage || id == kIdPreviousPage) {
    SelectPage((CurrentPage() + (id == kIdPreviousPage ? pages - 1 : 1)) % pages);
  } else if (id >= kIdShowPage1 && id < kIdShowPage1 + pages) {
    SelectPage(id - kIdShowPage1);
  } else if (id > kIdChoice) {
    for (int page = 0; page < pages; ++page) {
      const int choices = static_cast<int>(pages_[static_cast<std::size_t>(page)].Choices.size());
      for (int choice = 0; choice < choices; ++choice) {
        if (id == ChoiceId(page + 1, choice + 1)) ChoiceClick(page, choice);
      }
    }
  }
}

void TForm1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == PageControl1 && header.code == TCN_SELCHANGE) SelectPage(CurrentPage());
  // A click on a head of a grid sorts its rows by that column, where its page sorts.
  if (const int page = PageOfGrid(header.hwndFrom); page >= 0 && header.code == kGridHeadClick) {
    if (pages_[static_cast<std::size_t>(page)].Source->SortBy(
            reinterpret_cast<const GridHeadClick&>(header).Column))
      RefreshStringGrid(header.hwndFrom);
  }
}

// Every grid has the same menu; the commands act on the grid it was opened on (the save on its page).
bool TForm1::OnContextMenu(HWND window, int x, int y) {
  if (PageOfGrid(window) < 0) return false;
  const int command = TrackStringGridMenu(window, x, y, hwnd_);
  switch (command) {
    case kIdCopy:
      CopyClick(window);
      break;
    case kIdSelectAll:
      SelectAllClick(window);
      break;
    case kIdSaveCsv:
      SaveCsvClick();
      break;
    default:
      break;
  }
  return true;
}

// The status line, the note and everything else have their own background colours; the short-read
// warning is red.
HBRUSH TForm1::OnCtlColor(HDC dc, HWND control) {
  if (control == status_.LabelA2) {
    SetTextColor(dc, kWarningColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return warningBrush_.Get();
  }
  if (control == page1_.Label14) SetTextColor(dc, kWarningColour);
  if (control == status_.LabelA1) {
    SetBkColor(dc, kStatusColour);
    return statusBrush_.Get();
  }
  if (control == page1_.Memo1) {
    SetBkColor(dc, kMemoColour);
    return memoBrush_.Get();
  }
  SetBkColor(dc, kFormColour);
  return formBrush_.Get();
}

// The line of the checks on page 1 is drawn as a link, on the sheet's background.
void TForm1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem == page1_.CheckLine) page1_.DrawCheckLine(item, formBrush_.Get(), kLinkColour);
}

// The hand over the line of the checks, as over a link.
bool TForm1::OnSetCursor(HWND window, WORD hitTest) {
  if (window != page1_.CheckLine || hitTest != HTCLIENT) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

// The focus goes back to the control that had it when the window was last deactivated.
void TForm1::OnActivate(WORD state) {
  if (state == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (IsChild(hwnd_, focus)) lastFocus_ = focus;
  } else {
    SetFocus(lastFocus_ != nullptr && IsWindowVisible(lastFocus_) ? lastFocus_ : PageControl1);
  }
}

// Minimising goes through the application window, which owns the taskbar entry.
LRESULT TForm1::OnSysCommand(WPARAM command, LPARAM lParam) {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  if ((command & 0xFFF0) != SC_MINIMIZE || owner == nullptr)
    return DefWindowProcW(hwnd_, WM_SYSCOMMAND, command, lParam);
  ShowWindow(owner, SW_MINIMIZE);
  return 0;
}

void TForm1::OnClose() {
  FormClose();
  DestroyWindow(hwnd_);
}

void TForm1::OnDestroy() {
  PostQuitMessage(0);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      OnShowWindow(wParam != 0);
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COMMAND:
      // A button's click (BN_CLICKED, 0) and a key of the accelerator table (1); a menu sends none here.
      if (HIWORD(wParam) <= 1) OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_CONTEXTMENU:
      if (OnContextMenu(reinterpret_cast<HWND>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(
          OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam, lParam);
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace jwcount
