#include "Unit1.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CountTexts.h"
#include "CsvSave.h"
#include "CsvWriter.h"
#include "Panel.h"
#include "ProgramPath.h"
#include "ReportTexts.h"
#include "RunSequence.h"
#include "SaveFile.h"
#include "ScreenFit.h"
#include "StringGrid.h"
#include "TableAnswer.h"
#include "WinText.h"

namespace jwcount {
namespace {

// Texts of the window.
constexpr wchar_t kCaption[] = L"要素数表示";
constexpr wchar_t kFontName[] = L"ＭＳ ゴシック";
constexpr wchar_t kButton1Caption[] = L"閉じる(&C)";
constexpr wchar_t kStatusBlank[] = L"\u3000";  // one full-width space

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

constexpr wchar_t kPageCaptions[kPages][9] = {L"Page(&1)", L"Page(&2)", L"Page(&3)", L"Page(&4)",
                                              L"Page(&5)", L"Page(&6)", L"Page(&7)"};

// The grids' context menu.
constexpr wchar_t kCopyCaption[] = L"コピー(&C)\tCtrl+C";
constexpr wchar_t kSelectAllCaption[] = L"すべて選択(&A)\tCtrl+A";
constexpr wchar_t kSaveCsvCaption[] = L"CSV ファイルに保存(&S)...\tCtrl+S";

// The Save dialog and its error message.
constexpr wchar_t kSaveCsvTitle[] = L"CSV ファイルに保存";
constexpr wchar_t kCsvFilter[] = L"CSV ファイル (*.csv)\0*.csv\0すべてのファイル (*.*)\0*.*\0";
constexpr wchar_t kCsvExtension[] = L"csv";
constexpr wchar_t kSaveFailed[] = L"CSV ファイルを保存できませんでした。";
constexpr DWORD kPathCapacity = 32768;  // the longest path Windows knows

constexpr int kDesignLeft = 192;
constexpr int kDesignTop = 107;
constexpr int kDesignWidth = 521;
constexpr int kDesignHeight = 423;
constexpr int kFontHeight = 13;
constexpr int kPanel2Height = 41;
constexpr RECT kButton1Bounds{8, 8, 8 + 97, 8 + 25};
constexpr int kLabelLeft = 8;
constexpr int kLabelTop = 8;
constexpr int kLabelStep = 24;
constexpr int kMemoWidth = 177;
constexpr int kTitleHeight = 25;
constexpr int kBlockNameWidth = 200;  // the block list's name column, wide enough for typical names
constexpr int kBlockCountWidth = 64;
constexpr int kWarningInset = 4;  // around the short-read warning
// Seven tabs fit side by side in the narrowest window (475 pixels) with this much room beside each caption.
constexpr int kTabPadding = 4;
constexpr int kTabVerticalPadding = 3;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr COLORREF kFormColour = RGB(255, 255, 255);
constexpr COLORREF kStatusColour = RGB(231, 231, 231);
constexpr COLORREF kMemoColour = RGB(187, 235, 244);
constexpr COLORREF kWarningColour = RGB(204, 0, 0);

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool KeyIsDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(
        {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
  }
  return TRUE;
}

std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void Place(HWND hwnd, int x, int y, int width, int height) {
  SetWindowPos(hwnd, nullptr, x, y, std::max(width, 0), std::max(height, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

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

bool TForm1::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  font_ = Font(CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           kFontName));
  formBrush_ = Brush(CreateSolidBrush(kFormColour));
  statusBrush_ = Brush(CreateSolidBrush(kStatusColour));
  memoBrush_ = Brush(CreateSolidBrush(kMemoColour));
  warningBrush_ = Brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  // Resizable, with a system menu and a minimise button, but no maximise button.
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  CreateWindowExW(WS_EX_CONTROLPARENT, kForm1Class, kCaption, style, kDesignLeft, kDesignTop, kDesignWidth,
                  kDesignHeight, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  CreateControls();
  Layout();
  return true;
}

// --- Controls ---

void TForm1::CreateControls() {
  SetControlFont(hwnd_, font_.Get());
  PageControl1 = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                                 0, 0, 0, 0, hwnd_, ControlId(kIdPageControl1), instance_, nullptr);
  SetControlFont(PageControl1, font_.Get());
  SendMessageW(PageControl1, TCM_SETPADDING, 0, MAKELPARAM(kTabPadding, kTabVerticalPadding));
  const PanelStyle pageStyle{kFormColour, false, false};
  for (int i = 0; i < kPages; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kPageCaptions[i]);
    SendMessageW(PageControl1, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    // The pages lie over the tab control's display area, above it in the z-order.
    TabSheets[i] = CreatePanel(hwnd_, kIdTabSheet1 + i, kPageCaptions[i], pageStyle, font_.Get());
    SetWindowPos(TabSheets[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (i == 0) {
      CreatePage1(TabSheets[i]);
    } else {
      CreateTablePage(i - 1, TabSheets[i]);
    }
  }
  Panel2 = CreatePanel(hwnd_, kIdPanel2, L"", {GetSysColor(COLOR_BTNFACE), true, false}, font_.Get());
  LabelA1 =
      CreateWindowExW(0, L"STATIC", kStatusBlank,
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                      0, 0, 0, Panel2, ControlId(kIdLabelA1), instance_, nullptr);
  Button1 = CreateWindowExW(0, L"BUTTON", kButton1Caption,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_DEFPUSHBUTTON, 0, 0, 0,
                            0, Panel2, ControlId(kIdButton1), instance_, nullptr);
  SetWindowPos(Button1, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // in front of the label
  // Hidden until a read falls short; then Panel2 grows to show it below the status line.
  LabelA2 = CreateWindowExW(0, L"STATIC", WidenUtf8(kShortReadWarningUtf8).c_str(),
                            WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, Panel2,
                            ControlId(kIdLabelA2), instance_, nullptr);
  for (HWND control : {LabelA1, Button1, LabelA2}) SetControlFont(control, font_.Get());
  SelectPage(0);
}

void TForm1::CreatePage1(HWND page) {
  for (int i = 0; i < kSummaryLabels; ++i) {
    Labels[i] =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabelLeft,
                        kLabelTop + i * kLabelStep, 0, 0, page, ControlId(kIdLabel1 + i), instance_, nullptr);
    SetControlFont(Labels[i], font_.Get());
    SetLabelText(Labels[i], kSummaryCaptions[i]);
    labelTexts_[i] = kSummaryCaptions[i];
  }
  // Hidden until a read falls short; then it heads the note's column, above Memo1.
  Label14 = CreateWindowExW(0, L"STATIC", WidenUtf8(kShortReadWarningUtf8).c_str(),
                            WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, page, ControlId(kIdLabel14),
                            instance_, nullptr);
  SetControlFont(Label14, font_.Get());
  // Read-only, skipped by the Tab key (no tab stop), no line wrapping.
  Memo1 =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", kMemo1Text,
                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0,
                      0, 0, 0, page, ControlId(kIdMemo1), instance_, nullptr);
  SetControlFont(Memo1, font_.Get());
}

void TForm1::CreateTablePage(int index, HWND page) {
  // The title panels Panel3 .. Panel8 carry the titles of their tables.
  const std::string_view title = index < kCountGrids ? kTableTitles[index] : kBlockTableTitle;
  TitlePanels[index] = CreatePanel(page, kIdPanel3 + index, Widen(title).c_str(),
                                   {GetSysColor(COLOR_BTNFACE), true, true}, font_.Get());
  Grids[index] = CreateStringGrid(page, kIdSG1 + index, *Sources[index], font_.Get());
  if (index == kCountGrids) {
    SetStringGridColumnWidth(Grids[index], BlockTableSource::kNameColumn, kBlockNameWidth);
    SetStringGridColumnWidth(Grids[index], BlockTableSource::kCountColumn, kBlockCountWidth);
  }
}

void TForm1::SetLabelText(HWND label, std::string_view sjis) {
  const std::wstring text = Widen(sjis);
  SetWindowTextW(label, text.c_str());
  // Labels are sized to their text, one line high.
  SIZE size{};
  {
    WindowDc dc(label);
    ScopedSelectObject selectFont(dc.Dc(), font_.Get());
    GetTextExtentPoint32W(dc.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
  }
  SetWindowPos(label, nullptr, 0, 0, size.cx, kFontHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int height = client.bottom;
  // Panel2 docked to the bottom; LabelA1 fills it inside its bevel; Button1 sits at its left end. After a
  // short read Panel2 grows by the lines of the warning LabelA2, below the status line.
  const int warningWidth = width - 2 * kButton1Bounds.left;
  const int warningHeight = shortRead_ ? WarningHeight(warningWidth) + kWarningInset : 0;
  const int panel2Height = kPanel2Height + warningHeight;
  Place(Panel2, 0, height - panel2Height, width, panel2Height);
  Place(LabelA1, 1, 1, width - 2, kPanel2Height - 2);
  Place(Button1, kButton1Bounds.left, kButton1Bounds.top, kButton1Bounds.right - kButton1Bounds.left,
        kButton1Bounds.bottom - kButton1Bounds.top);
  Place(LabelA2, kButton1Bounds.left, kPanel2Height - 1, warningWidth, warningHeight);
  // PageControl1 fills the rest; the pages fill its display area.
  const int pagesHeight = std::max(height - panel2Height, 0);
  Place(PageControl1, 0, 0, width, pagesHeight);
  RECT display{0, 0, width, pagesHeight};
  SendMessageW(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int pageWidth = std::max<int>(display.right - display.left, 0);
  const int pageHeight = std::max<int>(display.bottom - display.top, 0);
  for (HWND page : TabSheets) {
    Place(page, display.left, display.top, pageWidth, pageHeight);
    LayoutPage(page, pageWidth, pageHeight);
  }
}

void TForm1::LayoutPage(HWND page, int width, int height) {
  if (page == TabSheets[0]) {
    // Memo1 docked to the right edge; after a short read the warning takes the top of its column, so the
    // summary labels stay where they are.
    const int warningWidth = kMemoWidth - 2 * kWarningInset;
    const int top = shortRead_ ? WarningHeight(warningWidth) + 2 * kWarningInset : 0;
    Place(Label14, width - kMemoWidth + kWarningInset, kWarningInset, warningWidth, top - 2 * kWarningInset);
    Place(Memo1, width - kMemoWidth, top, kMemoWidth, height - top);
    return;
  }
  for (int i = 0; i < kGrids; ++i) {
    if (page != TabSheets[i + 1]) continue;
    Place(TitlePanels[i], 0, 0, width, kTitleHeight);
    Place(Grids[i], 0, kTitleHeight, width, height - kTitleHeight);
  }
}

// The height of the short-read warning wrapped at a width, as its labels wrap it.
int TForm1::WarningHeight(int width) const {
  const std::wstring text = WidenUtf8(kShortReadWarningUtf8);
  RECT bounds{0, 0, std::max(width, 1), 0};
  WindowDc dc(hwnd_);
  ScopedSelectObject selectFont(dc.Dc(), font_.Get());
  DrawTextW(dc.Dc(), text.c_str(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  return bounds.bottom;
}

int TForm1::CurrentPage() const {
  return static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0));
}

void TForm1::SelectPage(int index) {
  SendMessageW(PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND focus = GetFocus();
  for (int i = 0; i < kPages; ++i) {
    if (i != index && (focus == TabSheets[i] || IsChild(TabSheets[i], focus))) SetFocus(PageControl1);
    ShowWindow(TabSheets[i], i == index ? SW_SHOW : SW_HIDE);
  }
}

// --- Placement ---

void TForm1::ApplyPlacement(const WindowPlacement& placement) {
  // The stored values are applied as they are, except that a window that would lie on no monitor at all
  // is shown on the nearest one instead.
  const auto clampToInt = [](long long value) {
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
  };
  const ScreenRect stored{placement.Left, placement.Top,
                          clampToInt(static_cast<long long>(placement.Left) + placement.Width),
                          clampToInt(static_cast<long long>(placement.Top) + placement.Height)};
  const std::vector<ScreenRect> areas = WorkAreas();
  const ScreenRect shown = KeepOnScreen(stored, areas);
  SetWindowPos(hwnd_, nullptr, shown.Left, shown.Top, placement.Width, placement.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowPlacement TForm1::CurrentBounds() const {
  RECT rect;
  if (IsIconic(hwnd_)) {
    WINDOWPLACEMENT state{};
    state.length = sizeof state;
    GetWindowPlacement(hwnd_, &state);
    rect = state.rcNormalPosition;
  } else {
    GetWindowRect(hwnd_, &rect);
  }
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// --- The run ---

void TForm1::FormShow() {
  programPath_ = ProgramPath();
  ProgramFolder = programPath_.parent_path();
  // Whatever was read is counted. A file that is there but could not be read to its end is said so, so
  // that its counts are never taken for the whole drawing's; a missing file simply counts nothing.
  const std::filesystem::path tempFile = TempFilePath(ProgramFolder);
  const bool present = NativeFileSystem().Exists(tempFile);
  shortRead_ = !ReadForCount(reader_, tempFile) && present;
  if (shortRead_) ShowShortReadWarning();
  placement_ = LoadPlacement(NativeFileSystem(), PlacementPath(programPath_));
  ApplyPlacement(placement_);
  // The count waits until the window has been shown and painted once.
  SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
  timerArmed_ = true;
}

void TForm1::Timer1Timer() {
  KillTimer(hwnd_, kTimer1);
  if (!timerArmed_) return;  // it fires exactly once
  timerArmed_ = false;
  CountElements(reader_, tables_, ProgramFolder, *this);
  SG6Source.Reset();
  for (HWND grid : Grids) RefreshStringGrid(grid);
}

void TForm1::Button1Click() {
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::ShowShortReadWarning() {
  ShowWindow(LabelA2, SW_SHOWNA);
  ShowWindow(Label14, SW_SHOWNA);
  Layout();
}

// --- Context menu and CSV save ---

void TForm1::CopyClick(HWND grid) {
  SendMessageW(grid, WM_COPY, 0, 0);
}

void TForm1::SelectAllClick(HWND grid) {
  SendMessageW(grid, kGridSelectAll, 0, 0);
}

// Saves the page shown, as shown, after a short read with the warning as its first line. The file goes
// through a temporary file beside it, so a failure leaves an existing file as it was.
void TForm1::SaveCsvClick() {
  const std::wstring path = AskCsvPath();
  if (path.empty()) return;
  const std::string csv = PageCsv(CurrentPage());
  if (const DWORD error = WriteFileReplacing(path, csv); error != ERROR_SUCCESS) {
    const std::wstring message =
        std::wstring(kSaveFailed) + L"\r\n\r\n" + path + L"\r\n\r\n" + SystemErrorText(error);
    MessageBoxW(hwnd_, message.c_str(), kCaption, MB_OK | MB_ICONERROR);
  }
}

// The Save dialog, opened on the drawing's folder when it exists (else the program's) with the name made
// from the drawing's.
std::wstring TForm1::AskCsvPath() {
  const CsvFileName offered = DefaultCsvFileName(reader_.Drawing.FileName);
  std::wstring folder = WidenUtf8(offered.FolderUtf8);
  if (folder.empty() || !IsFolder(folder)) {
    folder = (ProgramFolder.empty() ? ProgramPath().parent_path() : ProgramFolder).wstring();
  }
  std::wstring file = WidenUtf8(offered.NameUtf8);
  file.resize(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd_;
  dialog.lpstrFilter = kCsvFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = kSaveCsvTitle;
  dialog.lpstrDefExt = kCsvExtension;
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return {};
  file.resize(file.find(L'\0'));
  return file;
}

std::string TForm1::PageCsv(int page) const {
  const std::string_view warning = shortRead_ ? kShortReadWarningUtf8 : std::string_view();
  if (page <= 0 || page > kGrids) return CsvFile(SummaryRows(labelTexts_), warning);
  return CsvFile(GridRows(*Sources[page - 1]), warning);
}

void TForm1::FormClose() {
  KillTimer(hwnd_, kTimer1);
  timerArmed_ = false;
  if (programPath_.empty()) programPath_ = ProgramPath();
  placement_ = WithMinimums(CurrentBounds());
  SavePlacement(NativeFileSystem(), PlacementPath(programPath_), placement_);
  reader_.ReleaseEntityStores();
}

// --- CountHost ---

void TForm1::ShowStatus(std::string_view text) {
  for (const std::string& shown : statusPacer_.Take(text, GetTickCount64())) {
    SetWindowTextW(LabelA1, Widen(shown).c_str());
    UpdateWindow(LabelA1);  // repainted now: the count handles no messages while it runs
  }
}

bool TForm1::EscapePressed() {
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void TForm1::ShowSummary(int label, std::string_view text) {
  if (label < 1 || label > kSummaryLabels) return;
  SetLabelText(Labels[label - 1], text);
  labelTexts_[label - 1] = text;
}

void TForm1::ShowFirstPage() {
  SelectPage(0);
}

void TForm1::AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) {
  if (drawTable_) AppendTableAnswer(reader, tables, complete, !shortRead_);
}

// --- Keyboard ---

bool TForm1::PreTranslateMessage(const MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  const bool control = KeyIsDown(VK_CONTROL);
  const bool shift = KeyIsDown(VK_SHIFT);
  if (msg.message == WM_KEYDOWN) {
    switch (msg.wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
        Button1Click();
        return true;  // Button1 is the default and the cancel button
      case 'S':
        if (!control || KeyIsDown(VK_MENU)) return false;
        SaveCsvClick();
        return true;
      case VK_TAB: {
        const int current = CurrentPage();
        if (control) {
          SelectPage((current + (shift ? kPages - 1 : 1)) % kPages);
          return true;
        }
        // Tab order: the page control, the grid of the page shown, the close button.
        std::vector<HWND> order{PageControl1};
        if (current >= 1) order.push_back(Grids[current - 1]);
        order.push_back(Button1);
        const auto at = std::find(order.begin(), order.end(), GetFocus());
        const int position = at == order.end() ? 0 : static_cast<int>(at - order.begin());
        const int count = static_cast<int>(order.size());
        SetFocus(order[(position + (shift ? count - 1 : 1)) % count]);
        return true;
      }
      default:
        return false;
    }
  }
  if (msg.message == WM_SYSKEYDOWN &&
      (msg.wParam == 'C' || (msg.wParam >= '1' && msg.wParam < '1' + kPages))) {
    // The default handling still sees the key, so that releasing Alt afterwards does not open the system
    // menu; without TranslateMessage no WM_SYSCHAR follows, so nothing else happens.
    DefWindowProcW(hwnd_, msg.message, msg.wParam, msg.lParam);
    if (msg.wParam == 'C') {
      Button1Click();
    } else {
      SelectPage(static_cast<int>(msg.wParam - '1'));
    }
    return true;
  }
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

void TForm1::OnTimer(UINT_PTR timer) {
  if (timer == kTimer1) Timer1Timer();
}

void TForm1::OnCommand(int id, int code) {
  if (id == kIdButton1 && code == BN_CLICKED) Button1Click();
}

void TForm1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == PageControl1 && header.code == TCN_SELCHANGE) SelectPage(CurrentPage());
  // A click on a head of the block list sorts it by that column, or turns its order round.
  if (header.hwndFrom == Grids[kCountGrids] && header.code == kGridHeadClick) {
    SG6Source.SortBy(reinterpret_cast<const GridHeadClick&>(header).Column);
    RefreshStringGrid(Grids[kCountGrids]);
  }
}

// Every grid has the same menu; the commands act on the grid it was opened on (the save on its page).
bool TForm1::OnContextMenu(HWND window, int x, int y) {
  if (std::find(Grids.begin(), Grids.end(), window) == Grids.end()) return false;
  POINT at{x, y};
  if (x == -1 && y == -1) at = StringGridMenuPoint(window);  // opened from the keyboard
  PopupMenu menu;
  AppendMenuW(menu.Get(), MF_STRING, kIdCopy, kCopyCaption);
  AppendMenuW(menu.Get(), MF_STRING, kIdSelectAll, kSelectAllCaption);
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING, kIdSaveCsv, kSaveCsvCaption);
  const int command = static_cast<int>(TrackPopupMenu(
      menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
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
  if (control == LabelA2) {
    SetTextColor(dc, kWarningColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return warningBrush_.Get();
  }
  if (control == Label14) SetTextColor(dc, kWarningColour);
  if (control == LabelA1) {
    SetBkColor(dc, kStatusColour);
    return statusBrush_.Get();
  }
  if (control == Memo1) {
    SetBkColor(dc, kMemoColour);
    return memoBrush_.Get();
  }
  SetBkColor(dc, kFormColour);
  return formBrush_.Get();
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
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
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
