#include "app/win32/Unit1.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/PageTable.h"
#include "app/win32/Dpi.h"
#include "app/win32/Keys.h"
#include "app/win32/LinkLabel.h"
#include "app/win32/Panel.h"
#include "app/win32/SaveFile.h"
#include "app/win32/StringGrid.h"
#include "app/win32/WinText.h"
#include "app/win32/WindowBounds.h"
#include "counting/CountTexts.h"
#include "counting/RunSequence.h"
#include "report/BaselineStore.h"
#include "report/CheckSection.h"
#include "report/CheckText.h"
#include "report/CsvFileName.h"
#include "report/MarkReply.h"
#include "report/ReportTexts.h"
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
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr COLORREF kFormColour = PageTabs::kSheetColour;  // of the form and its sheets
// The grids' context menu: the form's commands on the grid it was opened on.
constexpr wchar_t kCopyCaption[] = L"コピー(&C)\tCtrl+C";
constexpr wchar_t kSelectAllCaption[] = L"すべて選択(&A)\tCtrl+A";
constexpr wchar_t kSaveCsvCaption[] = L"CSV ファイルに保存(&S)...\tCtrl+S";
constexpr wchar_t kMarkCaption[] = L"印を付けて閉じる(&M)\tAlt+M";
constexpr wchar_t kKeepCaption[] = L"基準として保存(&K)\tAlt+K";
// The marks in the drawing.
constexpr wchar_t kNothingToMark[] = L"選んだ行に要素がありません";
constexpr wchar_t kMarkFailed[] = L"印を付けた応答を書き込めませんでした。";
// The drawing's baseline.
constexpr wchar_t kUnsavedDrawing[] =
    L"この図面はまだ保存されていないため、基準として保存できません。\r\n\r\n"
    L"Jw_cad で図面に名前を付けて保存してから、もう一度集計してください。";
constexpr wchar_t kReplaceBaseline[] =
    L"この図面の基準はすでに保存されています。\r\n\r\n今回の集計で置き換えますか？";
constexpr wchar_t kKeepFailed[] = L"基準を保存できませんでした。前の基準はそのまま残っています。";
constexpr wchar_t kKept[] = L"基準として保存しました";
constexpr wchar_t kSameAsBaseline[] = L"基準と同じ";
constexpr wchar_t kRowsFromBaseline[] = L"基準との差: ";  // then the number of rows and kRows
constexpr wchar_t kRows[] = L" 行";
constexpr wchar_t kBaselineUnreadable[] = L"基準を読めません";

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
  RegisterLinkLabel(instance);
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

}  // namespace

bool TForm1::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  formBrush_ = Brush(CreateSolidBrush(kFormColour));
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
// note or a grid page.
void TForm1::CreateControls() {
  SetControlFont(hwnd_, font_.Get());
  tabs_.Create(hwnd_, font_.Get(), dpi_);
  for (std::size_t i = 0; i < tabs_.Count(); ++i) {
    const PageRow& row = Pages()[i];
    if (!row.HasGrid()) {
      page1_.Create(tabs_.Sheet(i), PageTabs::kSheetColour, font_.Get(), dpi_);
      gridPages_.push_back(nullptr);
    } else {
      gridPages_.push_back(
          std::make_unique<GridPage>(tabs_.Sheet(i), static_cast<int>(i), row.Title,
                                     row.MakeSource({report_.Tables, reader_.Drawing, &comparison_}),
                                     PageTabs::kSheetColour, font_.Get(), dpi_));
    }
  }
  status_.Create(hwnd_, font_.Get(), dpi_);
  // The Tab key goes round the controls in the order of the form's children: from the tabs on to the
  // sheet shown, then the status bar's close button and back to the tabs. So the status bar lies between
  // the sheets and the tab control; it overlaps neither.
  SetWindowPos(status_.Panel2, tabs_.LowestSheet(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SelectPage(0);
}

// The status bar along the bottom, the tabs and their sheets above it.
void TForm1::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int panel2Height = status_.Layout(client.right, client.bottom, shortRead_);
  const SIZE sheet = tabs_.Layout(client.right, std::max<int>(client.bottom - panel2Height, 0));
  page1_.Layout(sheet.cx, sheet.cy, shortRead_);
  for (const auto& page : gridPages_) {
    if (page != nullptr) page->Layout(sheet.cx, sheet.cy);
  }
}

void TForm1::SelectPage(int index) {
  tabs_.Select(index);
}

int TForm1::PageOfGrid(HWND grid) const {
  for (std::size_t i = 0; i < gridPages_.size(); ++i) {
    if (grid != nullptr && gridPages_[i] != nullptr && gridPages_[i]->Grid() == grid)
      return static_cast<int>(i);
  }
  return -1;
}

// --- The run ---

void TForm1::FormShow() {
  programPath_ = ProgramPath();
  programFolder_ = programPath_.parent_path();
  // Whatever was read is counted. A file that is there but could not be read to its end is said so, so
  // that its counts are never taken for the whole drawing's; a missing file simply counts nothing.
  const std::filesystem::path tempFile = TempFilePath(programFolder_);
  const bool present = NativeFileSystem().Exists(tempFile);
  report_.ReadOk = ReadForCount(reader_, tempFile, &report_.State);
  report_.Summary = CountSummary(reader_);
  shortRead_ = !report_.ReadOk && present;
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
  CountElements(reader_, report_.Tables, programFolder_, countView_);
  for (const auto& page : gridPages_) {
    if (page != nullptr) page->Refresh();
  }
  // A tally stopped by Escape or a file read in part leaves counts of part of the drawing, whose rows
  // would mark part of what they say.
  markable_ = countComplete_ && !shortRead_ && reader_.EntityCount() > 0;
  status_.ShowButton2(markable_);
  page1_.SetCheckLine(CheckSummaryLine(report_.Tables.Checks), markable_);
  // The reply is written: the comparison adds nothing to the time Jw_cad waits.
  wholeCount_ = countComplete_ && !shortRead_;
  EnableWindow(page1_.Button3, wholeCount_);
  CompareWithBaseline();
}

void TForm1::CompareWithBaseline() {
  if (wholeCount_) {
    comparison_ = CompareWithKept(report_, NativeFileSystem(), programFolder_);
  } else {
    comparison_ = {};
    comparison_.State = CountComparison::Outcome::kNotCompared;
  }
  std::wstring line;
  if (comparison_.State == CountComparison::Outcome::kCompared) {
    const std::size_t rows = comparison_.Diff.Rows.size();
    line = rows == 0 ? kSameAsBaseline : kRowsFromBaseline + std::to_wstring(rows) + kRows;
  } else if (comparison_.State == CountComparison::Outcome::kUnreadable) {
    line = kBaselineUnreadable;
  }
  page1_.SetBaselineLine(line);
  if (auto& page = gridPages_[PageIndex("diff")]; page != nullptr) {
    page->Refresh();
    // Above the grid: whose baseline, and the words of a page with no rows, whose grid is its heads alone.
    const DiffSection section(&comparison_);
    std::string notice = section.Notice();
    if (const std::string words = section.Message(); !words.empty())
      notice += (notice.empty() ? "" : "\r\n") + words;
    page->SetNotice(Widen(notice));
  }
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
  const auto index = static_cast<std::size_t>(std::max(tabs_.Current(), 0));
  const GridPage* page = gridPages_[index].get();
  const CsvFileName offered = DefaultCsvFileName(reader_.Drawing.FileName, Pages()[index].CsvSubject);
  SaveCsvFile(
      hwnd_, offered, programFolder_,
      [&] {
        return PageCsv(page != nullptr ? &page->Source() : nullptr, page1_.LabelTexts,
                       shortRead_ ? AsChars(kShortReadWarning) : "");
      },
      kCaption);
}

// --- Marks in the drawing ---

// A page counts only once the user has selected in its grid: the cell a grid starts on is no choice.
std::vector<ElementCover> TForm1::SelectedCovers() const {
  std::vector<ElementCover> covers;
  for (const auto& page : gridPages_) {
    int first = 0;
    int last = -1;
    if (page == nullptr || !StringGridSelectedRows(page->Grid(), first, last)) continue;
    for (int row = first; row <= last; ++row) {
      ElementCover cover = page->Source().RowCover(row);
      if (cover.CoversAny()) covers.push_back(std::move(cover));
    }
  }
  return covers;
}

void TForm1::MarkClick() {
  if (markable_) MarkAndClose(SelectedCovers());
}

void TForm1::MarkChecksClick() {
  if (markable_) MarkAndClose(CheckCovers(report_.Tables.Checks));
}

void TForm1::MarkAndClose(std::span<const ElementCover> covers) {
  if (std::none_of(covers.begin(), covers.end(), [](const ElementCover& c) { return c.CoversAny(); })) {
    status_.ShowStatus(kNothingToMark);
    return;
  }
  const std::filesystem::path file = TempFilePath(programFolder_);
  if (const DWORD error = WriteFileReplacing(file.wstring(), MarkReplyBytes(MakeMarkReply(reader_, covers)));
      error != ERROR_SUCCESS) {
    const std::wstring message =
        std::wstring(kMarkFailed) + L"\r\n\r\n" + file.wstring() + L"\r\n\r\n" + SystemErrorText(error);
    MessageBoxW(hwnd_, message.c_str(), kCaption, MB_OK | MB_ICONERROR);
    return;
  }
  Button1Click();
}

// --- The drawing's baseline ---

// Only a count of the whole drawing is kept, and only for a drawing that has a path to keep it by. The file
// is written whole or not at all, so a failure leaves the baseline kept before as it was.
void TForm1::KeepBaselineClick() {
  if (!wholeCount_) return;
  const std::filesystem::path file = BaselinePath(programFolder_, report_.State.Drawing.FileName);
  if (file.empty()) {
    MessageBoxW(hwnd_, kUnsavedDrawing, kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (NativeFileSystem().Exists(file) &&
      MessageBoxW(hwnd_, kReplaceBaseline, kCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  DWORD error = ERROR_SUCCESS;
  const std::wstring folder = BaselineFolder(programFolder_).wstring();
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    error = GetLastError();
  if (error == ERROR_SUCCESS)
    error = WriteFileReplacing(file.wstring(), BaselineBytes(report_, reader_, LocalTimeNow()));
  if (error != ERROR_SUCCESS) {
    const std::wstring message =
        std::wstring(kKeepFailed) + L"\r\n\r\n" + file.wstring() + L"\r\n\r\n" + SystemErrorText(error);
    MessageBoxW(hwnd_, message.c_str(), kCaption, MB_OK | MB_ICONERROR);
    return;
  }
  CompareWithBaseline();
  status_.ShowStatus(kKept);
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
  // Tab and the arrow keys as in a dialog: the Tab key's order is the controls' order on the form and
  // its sheets, and the arrows move within a group of radio buttons. Not for a control whose page went
  // out of sight while the key was down (Wine's search for a mnemonic never ends there).
  if (!IsWindowVisible(msg.hwnd)) return false;
  return IsDialogMessageW(hwnd_, &key) != FALSE;
}

// --- Messages ---

void TForm1::OnShowWindow(bool shown) {
  if (!shown || shown_) return;
  shown_ = true;
  FormShow();
}

void TForm1::OnSize() {
  if (tabs_.Handle() != nullptr) Layout();
}

// The window moved to a monitor of another DPI (or the user changed the scale): every size and the font
// follow it, and the window takes the place and size Windows suggests.
void TForm1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) return;
  dpi_ = dpi;
  Font font = WindowFont(dpi);
  SetControlFont(hwnd_, font.Get());
  tabs_.SetDpi(dpi, font.Get());
  for (const auto& page : gridPages_) {
    if (page != nullptr) page->SetDpi(dpi, font.Get());
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

// The buttons' and page 1's links' clicks, and the commands of the window's keys.
void TForm1::OnCommand(int id) {
  const int pages = static_cast<int>(tabs_.Count());
  if (id == kIdButton1) {
    Button1Click();
  } else if (id == kIdButton2 || id == kIdMark) {
    MarkClick();
  } else if (id == kIdMarkLine) {
    MarkChecksClick();
  } else if (id == kIdCheckLine) {
    SelectPage(static_cast<int>(PageIndex("checks")));  // as Alt+0 does
  } else if (id == kIdBaselineLine) {
    SelectPage(static_cast<int>(PageIndex("diff")));
  } else if (id == kIdButton3 || id == kIdKeepBaseline) {
    KeepBaselineClick();
  } else if (id == kIdSaveCsv) {
    SaveCsvClick();
  } else if (id == kIdNextPage || id == kIdPreviousPage) {
    SelectPage((tabs_.Current() + (id == kIdPreviousPage ? pages - 1 : 1)) % pages);
  } else if (id >= kIdShowPage1 && id < kIdShowPage1 + pages) {
    SelectPage(id - kIdShowPage1);
  }
}

void TForm1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tabs_.Handle() && header.code == TCN_SELCHANGE) SelectPage(tabs_.Current());
}

// Every grid has the same menu; the commands act on the grid it was opened on (the save on its page).
bool TForm1::OnContextMenu(HWND window, int x, int y) {
  if (PageOfGrid(window) < 0) return false;
  PopupMenu menu;
  AppendMenuW(menu.Get(), MF_STRING, kIdCopy, kCopyCaption);
  AppendMenuW(menu.Get(), MF_STRING, kIdSelectAll, kSelectAllCaption);
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING, kIdSaveCsv, kSaveCsvCaption);
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING | (markable_ ? MF_ENABLED : MF_GRAYED), kIdMark, kMarkCaption);
  AppendMenuW(menu.Get(), MF_STRING | (wholeCount_ ? MF_ENABLED : MF_GRAYED), kIdKeepBaseline, kKeepCaption);
  switch (
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, hwnd_, nullptr)) {
    case kIdCopy:
      CopyClick(window);
      break;
    case kIdSelectAll:
      SelectAllClick(window);
      break;
    case kIdSaveCsv:
      SaveCsvClick();
      break;
    case kIdMark:
      MarkClick();
      break;
    case kIdKeepBaseline:
      KeepBaselineClick();
      break;
    default:
      break;
  }
  return true;
}

// The controls on the form itself, and those their parts leave, on the form's white.
HBRUSH TForm1::OnCtlColor(HDC dc) {
  SetBkColor(dc, kFormColour);
  return formBrush_.Get();
}

// The focus goes back to the control that had it when the window was last deactivated.
void TForm1::OnActivate(WORD state) {
  if (state == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (IsChild(hwnd_, focus)) lastFocus_ = focus;
  } else {
    SetFocus(lastFocus_ != nullptr && IsWindowVisible(lastFocus_) ? lastFocus_ : tabs_.Handle());
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
    case WM_MOUSEWHEEL:  // from the control with the focus, where it takes no wheel of its own
      if (tabs_.Current() == 0 && page1_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam))) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CONTEXTMENU:
      if (OnContextMenu(reinterpret_cast<HWND>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam)));
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
