#include "Unit1.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CountTexts.h"
#include "Panel.h"
#include "ScreenFit.h"
#include "StringGrid.h"
#include "WinText.h"

namespace jwcount {
namespace {

// Texts of the window (Shift-JIS).
constexpr std::string_view kCaption =
    "\x97v\x91"
    "f\x90\x94\x95\\\x8E\xA6";  // 要素数表示
constexpr std::string_view kFontName =
    "\x82l\x82r \x83S\x83V\x83"
    "b\x83N";                                                                 // ＭＳ ゴシック
constexpr std::string_view kButton1Caption = "\x95\xC2\x82\xB6\x82\xE9(&C)";  // 閉じる(&C)
constexpr std::string_view kStatusBlank = "\x81@";                            // one full-width space

// The note of Memo1, nine lines.
constexpr std::string_view kMemoLines[] = {
    "\x81\x9F\x83u\x83\x8D\x83"
    "b\x83N\x90}\x8C`\x93\xE0\x82\xCC\x82\xE0\x82\xCC\x82\xCD",  // ◆ブロック図形内のものは
    "\x81@\x8F\x88\x97\x9D\x8Fo\x97\x88\x82\xDC\x82\xB9\x82\xF1\x82\xCC\x82\xC5",  // 　処理出来ませんので
    "\x81@\x8C\xE4\x92\x8D\x88\xD3\x89\xBA\x82\xB3\x82\xA2\x81"
    "B",  // 　御注意下さい。
    "\x81@\x83u\x83\x8D\x83"
    "b\x83N\x95\xD2\x8FW\x93\xE0\x82\xC5\x8Ds\x82\xA4",  // 　ブロック編集内で行う
    "\x81@\x8F\xEA\x8D\x87\x82\xC9\x82\xCD\x81"
    "A\x96{\x83\\\x83t\x83g\x82\xF0",  // 　場合には、本ソフトを
    "\x81@Jw_cad\x82\xCC\x83"
    "C\x83\x93\x83X\x83g\x81[\x83\x8B\x81"
    "E",                                                               // 　Jw_cadのインストール・
    "\x81@\x83t\x83H\x83\x8B\x83_\x82\xC9\x94z\x92u\x82\xB5\x82\xC4",  // 　フォルダに配置して
    "\x81@\x8E\xC0\x8Ds\x82\xF0\x8Ds\x82\xA4\x95K\x97v\x82\xAA\x82\xA0\x82\xE9",  // 　実行を行う必要がある
    "\x81@\x8F\xEA\x8D\x87\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81"
    "B",  // 　場合があります。
};

// Captions of the title panels Panel3 .. Panel7.
constexpr std::string_view kTitleCaptions[kGrids] = {
    "\x83\x8C\x83"
    "C\x83\x84\x83O\x83\x8B\x81[\x83v\x81"
    "E\x83\x8C\x83"
    "C\x83\x84\x95\xCA \x97v\x91"
    "f\x90\x94",
    "\x83\x8C\x83"
    "C\x83\x84\x83O\x83\x8B\x81[\x83v\x95\xCA \x97v\x91"
    "f\x90\x94",  // レイヤグループ別 要素数
    "\x90\xFC\x90"
    "F\x95\xCA \x97v\x91"
    "f\x90\x94",  // 線色別 要素数
    "\x90\xFC\x8E\xED\x95\xCA \x97v\x91"
    "f\x90\x94",  // 線種別 要素数
    "\x90\xFC\x95\x9D\x95\xCA \x97v\x91"
    "f\x90\x94",  // 線幅別 要素数
};
// The first title reads レイヤグループ・レイヤ別 要素数.

constexpr wchar_t kPageCaptions[kPages][9] = {L"Page(&1)", L"Page(&2)", L"Page(&3)",
                                              L"Page(&4)", L"Page(&5)", L"Page(&6)"};

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
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr COLORREF kFormColour = RGB(255, 255, 255);
constexpr COLORREF kStatusColour = RGB(231, 231, 231);
constexpr COLORREF kMemoColour = RGB(187, 235, 244);

const CountTable& TableOf(const CountTables& tables, int index) {
  switch (index) {
    case 0:
      return tables.SG1;
    case 1:
      return tables.SG2;
    case 2:
      return tables.SG3;
    case 3:
      return tables.SG4;
    default:
      return tables.SG5;
  }
}

HMENU IdOf(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// The running program's full path, however long it is.
std::filesystem::path ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
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
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(formBrush_),
                         static_cast<HGDIOBJ>(statusBrush_), static_cast<HGDIOBJ>(memoBrush_)}) {
    if (object != nullptr) DeleteObject(object);
  }
}

void TForm1::RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kForm1Class;
  RegisterClassExW(&windowClass);
  RegisterPanel(instance);
  RegisterStringGrid(instance);
}

bool TForm1::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  font_ =
      CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, Widen(kFontName).c_str());
  formBrush_ = CreateSolidBrush(kFormColour);
  statusBrush_ = CreateSolidBrush(kStatusColour);
  memoBrush_ = CreateSolidBrush(kMemoColour);
  // Resizable, with a system menu and a minimise button, but no maximise button.
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  CreateWindowExW(WS_EX_CONTROLPARENT, kForm1Class, Widen(kCaption).c_str(), style, kDesignLeft, kDesignTop,
                  kDesignWidth, kDesignHeight, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  CreateControls();
  Layout();
  return true;
}

// --- Controls ---

void TForm1::CreateControls() {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  PageControl1 = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                                 0, 0, 0, 0, hwnd_, IdOf(kIdPageControl1), instance_, nullptr);
  SendMessageW(PageControl1, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  const PanelStyle pageStyle{kFormColour, false, false};
  for (int i = 0; i < kPages; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kPageCaptions[i]);
    SendMessageW(PageControl1, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    // The pages lie over the tab control's display area, above it in the z-order.
    TabSheets[i] = CreatePanel(hwnd_, kIdTabSheet1 + i, kPageCaptions[i], pageStyle, font_);
    SetWindowPos(TabSheets[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (i == 0) {
      CreatePage1(TabSheets[i]);
    } else {
      CreateTablePage(i - 1, TabSheets[i]);
    }
  }
  Panel2 = CreatePanel(hwnd_, kIdPanel2, L"", {GetSysColor(COLOR_BTNFACE), true, false}, font_);
  LabelA1 =
      CreateWindowExW(0, L"STATIC", Widen(kStatusBlank).c_str(),
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
                      0, 0, 0, Panel2, IdOf(kIdLabelA1), instance_, nullptr);
  Button1 = CreateWindowExW(0, L"BUTTON", Widen(kButton1Caption).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_DEFPUSHBUTTON, 0, 0, 0,
                            0, Panel2, IdOf(kIdButton1), instance_, nullptr);
  SetWindowPos(Button1, HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // in front of the label
  for (HWND control : {LabelA1, Button1})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SelectPage(0);
}

void TForm1::CreatePage1(HWND page) {
  for (int i = 0; i < kSummaryLabels; ++i) {
    Labels[i] =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kLabelLeft,
                        kLabelTop + i * kLabelStep, 0, 0, page, IdOf(kIdLabel1 + i), instance_, nullptr);
    SendMessageW(Labels[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SetLabelText(Labels[i], kSummaryCaptions[i]);
  }
  std::string note;
  for (std::string_view line : kMemoLines) {
    if (!note.empty()) note += "\r\n";
    note += line;
  }
  // Read-only, skipped by the Tab key (no tab stop), no line wrapping.
  Memo1 =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Widen(note).c_str(),
                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0,
                      0, 0, 0, page, IdOf(kIdMemo1), instance_, nullptr);
  SendMessageW(Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void TForm1::CreateTablePage(int index, HWND page) {
  TitlePanels[index] = CreatePanel(page, kIdPanel3 + index, Widen(kTitleCaptions[index]).c_str(),
                                   {GetSysColor(COLOR_BTNFACE), true, true}, font_);
  Grids[index] = CreateStringGrid(page, kIdSG1 + index, TableOf(tables_, index), font_);
}

void TForm1::SetLabelText(HWND label, std::string_view sjis) {
  const std::wstring text = Widen(sjis);
  SetWindowTextW(label, text.c_str());
  // Labels are sized to their text, one line high.
  HDC dc = GetDC(label);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, oldFont);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, size.cx, kFontHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int height = client.bottom;
  // Panel2 docked to the bottom; LabelA1 fills it inside its bevel; Button1 sits at its left end.
  Place(Panel2, 0, height - kPanel2Height, width, kPanel2Height);
  Place(LabelA1, 1, 1, width - 2, kPanel2Height - 2);
  Place(Button1, kButton1Bounds.left, kButton1Bounds.top, kButton1Bounds.right - kButton1Bounds.left,
        kButton1Bounds.bottom - kButton1Bounds.top);
  // PageControl1 fills the rest; the pages fill its display area.
  const int pagesHeight = std::max(height - kPanel2Height, 0);
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
    Place(Memo1, width - kMemoWidth, 0, kMemoWidth, height);  // docked to the right edge
    return;
  }
  for (int i = 0; i < kGrids; ++i) {
    if (page != TabSheets[i + 1]) continue;
    Place(TitlePanels[i], 0, 0, width, kTitleHeight);
    Place(Grids[i], 0, kTitleHeight, width, height - kTitleHeight);
  }
}

void TForm1::SelectPage(int index) {
  SendMessageW(PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND focus = GetFocus();
  for (int i = 0; i < kPages; ++i) {
    if (i != index && (focus == TabSheets[i] || IsChild(TabSheets[i], focus))) SetFocus(PageControl1);
    ShowWindow(TabSheets[i], i == index ? SW_SHOW : SW_HIDE);
  }
}

HBRUSH TForm1::ControlColour(HDC dc, HWND control) {
  if (control == LabelA1) {
    SetBkColor(dc, kStatusColour);
    return statusBrush_;
  }
  if (control == Memo1) {
    SetBkColor(dc, kMemoColour);
    return memoBrush_;
  }
  SetBkColor(dc, kFormColour);
  return formBrush_;
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
  reader_.ResetReaderState();
  programPath_ = ModulePath();
  ProgramFolder = programPath_.parent_path();
  reader_.ReadTempFile(ProgramFolder / "JWC_TEMP.TXT");  // whatever was read is counted
  reader_.ResetCurrentAttributes();
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
  for (HWND grid : Grids) RefreshStringGrid(grid);
}

void TForm1::Button1Click() {
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::FormClose() {
  KillTimer(hwnd_, kTimer1);
  timerArmed_ = false;
  if (programPath_.empty()) programPath_ = ModulePath();
  placement_ = WithMinimums(CurrentBounds());
  SavePlacement(NativeFileSystem(), PlacementPath(programPath_), placement_);
  reader_.ReleaseEntityStores();
}

// --- CountHost ---

void TForm1::ShowStatus(std::string_view text) {
  SetWindowTextW(LabelA1, Widen(text).c_str());
  UpdateWindow(LabelA1);  // repainted now: the count handles no messages while it runs
}

bool TForm1::EscapePressed() {
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void TForm1::ShowSummary(int label, std::string_view text) {
  if (label >= 1 && label <= kSummaryLabels) SetLabelText(Labels[label - 1], text);
}

void TForm1::ShowFirstPage() {
  SelectPage(0);
}

// --- Keyboard ---

bool TForm1::PreTranslateMessage(const MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (msg.message == WM_KEYDOWN) {
    switch (msg.wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
        Button1Click();
        return true;  // Button1 is the default and the cancel button
      case VK_TAB: {
        if (control) {
          const int current = static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0));
          SelectPage((current + (shift ? kPages - 1 : 1)) % kPages);
          return true;
        }
        // Tab order: the page control, the grid of the page shown, the close button.
        const int current = static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0));
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

LRESULT CALLBACK TForm1::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    form = static_cast<TForm1*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    form->hwnd_ = nullptr;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Out of memory in an event: the event ends here and the window stays usable.
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam && !shown_) {
        shown_ = true;
        FormShow();
      }
      break;
    case WM_SIZE:
      if (PageControl1 != nullptr) Layout();
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) Timer1Timer();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdButton1 && HIWORD(wParam) == BN_CLICKED) Button1Click();
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == PageControl1 && header->code == TCN_SELCHANGE) {
        SelectPage(static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0)));
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(
          ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else {
        SetFocus(lastFocus_ != nullptr && IsWindowVisible(lastFocus_) ? lastFocus_ : PageControl1);
      }
      return 0;
    case WM_SYSCOMMAND:
      // Minimising goes through the application window, which owns the taskbar entry.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && GetWindow(hwnd_, GW_OWNER) != nullptr) {
        ShowWindow(GetWindow(hwnd_, GW_OWNER), SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_CLOSE:
      FormClose();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace jwcount
