#include "app/win32/Unit1.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/PageTable.h"
#include "app/view/TakeoffPage.h"
#include "app/win32/Dpi.h"
#include "app/win32/FormMessages.h"
#include "app/win32/Keys.h"
#include "app/win32/LinkLabel.h"
#include "app/win32/Panel.h"
#include "app/win32/SaveFile.h"
#include "app/win32/StringGrid.h"
#include "app/win32/WinText.h"
#include "app/win32/WindowBounds.h"
#include "counting/RunSequence.h"
#include "report/BaselineStore.h"
#include "report/CheckSection.h"
#include "report/CheckText.h"
#include "report/CsvFileName.h"
#include "report/ReportTexts.h"
#include "report/SectionList.h"
#include "report/XlsxReport.h"
#include "tempfile/ProgramPath.h"

namespace jwcount {
namespace {

constexpr wchar_t kCaption[] = L"要素数表示";
constexpr WindowPlacement kDesignBounds{192, 107, 521, 423};  // before the placement file is applied
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;
constexpr COLORREF kFormColour = PageTabs::kSheetColour;  // of the form and its sheets
// The marks in the drawing.
constexpr wchar_t kNothingToMark[] = L"選んだ行に要素がありません";
constexpr wchar_t kMarkFailed[] = L"印を付けた応答を書き込めませんでした。";
constexpr wchar_t kKept[] = L"基準として保存しました";  // the drawing's baseline
// The workbook.
constexpr wchar_t kSavingXlsx[] = L"Excel ファイルに保存しています…";
constexpr wchar_t kXlsxSaved[] = L"Excel ファイルに保存しました";
// F5: the take-off rules read again.
constexpr wchar_t kRulesRead[] = L"ルールを読み直しました";

}  // namespace

TForm1::~TForm1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TForm1::RegisterClasses(HINSTANCE instance) {
  const WindowClassLook look{
      .Icon = LoadIconW(instance, MAKEINTRESOURCEW(1)),
      .SmallIcon = LoadSmallIcon(instance, 1),
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

bool TForm1::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  formBrush_ = Brush(CreateSolidBrush(kFormColour));
  keys_ = AcceleratorTable(CreateFormKeys(Pages(), WorkbookAvailable()));
  // Resizable, with a system menu and a minimise button, but no maximise button.
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
  CreateWindowExW(WS_EX_CONTROLPARENT, kForm1Class, kCaption, style, kDesignBounds.Left, kDesignBounds.Top,
                  kDesignBounds.Width, kDesignBounds.Height, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  dpi_ = WindowDpi(hwnd_);
  font_ = Font(CreateFormFont(dpi_));
  CreateControls();
  Layout();
  return true;
}

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
      gridPages_.push_back(std::make_unique<GridPage>(tabs_.Sheet(i), static_cast<int>(i), row.Title,
                                                      row.MakeSource(PageData()), PageTabs::kSheetColour,
                                                      font_.Get(), dpi_));
    }
  }
  if (GridPage* page = PageById("takeoff"); page != nullptr) {
    rulesLinks_.Create(tabs_.Sheet(PageIndex("takeoff")), PageTabs::kSheetColour, font_.Get(), dpi_);
    page->SetBar(&rulesLinks_);
  }
  status_.Create(hwnd_, font_.Get(), dpi_, WorkbookAvailable());
  // The Tab key goes round the controls in the order of the form's children: from the tabs on to the
  // sheet shown, then the status bar's close button and back to the tabs. So the status bar lies between
  // the sheets and the tab control; it overlaps neither.
  status_.PlaceBehind(tabs_.LowestSheet());
  SelectPage(0);
}

// The status bar along the bottom, the tabs and their sheets above it.
void TForm1::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const bool shortRead = session_.ShortRead();
  const int panel2Height = status_.Layout(client.right, client.bottom, shortRead);
  const SIZE sheet = tabs_.Layout(client.right, std::max<int>(client.bottom - panel2Height, 0));
  page1_.Layout(sheet.cx, sheet.cy, shortRead);
  for (const auto& page : gridPages_) {
    if (page != nullptr) page->Layout(sheet.cx, sheet.cy);
  }
}

void TForm1::SelectPage(std::size_t index) {
  if (index < tabs_.Count()) tabs_.Select(static_cast<int>(index));
}

GridPage* TForm1::PageOfGrid(HWND window) const {
  for (const auto& page : gridPages_) {
    if (page != nullptr && page->HoldsGrid(window)) return page.get();
  }
  return nullptr;
}

GridPage* TForm1::PageById(std::string_view id) const {
  const std::size_t index = PageIndex(id);
  return index < gridPages_.size() ? gridPages_[index].get() : nullptr;
}

SectionData TForm1::PageData() const {
  const std::optional<TakeoffResult>& takeoff = session_.Report().Takeoff;
  return {session_.Report().Tables, session_.Reader().Drawing, &session_.Comparison(),
          takeoff ? &*takeoff : nullptr};
}

void TForm1::FormShow() {
  programPath_ = ProgramPath();
  programFolder_ = programPath_.parent_path();
  // Whatever was read is counted. A file that is there but could not be read to its end is said so, so
  // that its counts are never taken for the whole drawing's; a missing file simply counts nothing.
  session_.Read(TempFilePath(programFolder_));
  if (session_.ShortRead()) ShowShortReadWarning();
  RestorePlacement(hwnd_, programPath_, dpi_);
  // The count waits until the window has been shown and painted once.
  SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
  timerArmed_ = true;
}

void TForm1::Timer1Timer() {
  KillTimer(hwnd_, kTimer1);
  if (!timerArmed_) return;  // it fires exactly once
  timerArmed_ = false;
  session_.Count(programFolder_, countView_);
  for (const auto& page : gridPages_) {
    if (page != nullptr) page->Refresh();
  }
  // A tally stopped by Escape or a file read in part leaves counts of part of the drawing, whose rows
  // would mark part of what they say.
  const bool markable = session_.Markable();
  status_.ShowCountButtons(markable);
  page1_.SetCheckLine(CheckSummaryLine(session_.Report().Tables.Checks), markable);
  // The reply is written: the quantity sheet and the comparison add nothing to the time Jw_cad waits. The
  // sheet comes first, so that the comparison holds its items' changes too.
  page1_.EnableKeepBaseline(session_.WholeCount());
  ApplyTakeoffRules();
  CompareWithBaseline();
}

void TForm1::CompareWithBaseline() {
  const CountComparison& comparison = session_.CompareWithBaseline(programFolder_);
  page1_.ShowComparison(comparison);
  if (GridPage* page = PageById("diff"); page != nullptr) {
    page->Refresh();
    page->SetNotice(Widen(page->Source().Notice()));
  }
  Layout();
}

// A rules file that is missing, held by Excel or damaged changes nothing but what page 12 and page 1 say.
void TForm1::ApplyTakeoffRules() {
  const RulesChoice choice = FindRulesFile(NativeFileSystem(), programFolder_);
  const TakeoffResult& takeoff = session_.ApplyRules(choice.File, PathUtf8(choice.File));
  page1_.SetTakeoffLine(TakeoffSummaryLine(takeoff));
  rulesLinks_.ShowRules(choice.File, takeoff.State != TakeoffResult::Outcome::kNoRules, programFolder_);
  if (GridPage* page = PageById("takeoff"); page != nullptr) {
    page->SetSource(Pages()[PageIndex("takeoff")].MakeSource(PageData()));
    page->SetNotice(Widen(TakeoffPageNotice(page->Source().Notice(), takeoff, choice, programFolder_)));
  }
  Layout();
}

void TForm1::ReloadRulesClick() {
  if (!session_.Report().Takeoff) return;  // the count has not run yet: it reads the rules itself
  ApplyTakeoffRules();
  CompareWithBaseline();  // the items' changes follow the sheet made anew
  status_.ShowStatus(kRulesRead);
}

void TForm1::Button1Click() {
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::ShowShortReadWarning() {
  status_.ShowShortReadWarning();
  page1_.ShowShortReadWarning();
  Layout();
}

void TForm1::FormClose() {
  KillTimer(hwnd_, kTimer1);
  timerArmed_ = false;
  if (programPath_.empty()) programPath_ = ProgramPath();
  KeepPlacement(hwnd_, programPath_);
  session_.Reader().ReleaseEntityStores();
}

// Saves the page shown, as shown, after a short read with the warning as its first line, under a name
// made from the drawing's, in the drawing's folder (else the program's).
void TForm1::SaveCsvClick() {
  const auto index = static_cast<std::size_t>(std::max(tabs_.Current(), 0));
  const GridPage* page = gridPages_[index].get();
  const CsvFileName offered =
      DefaultCsvFileName(session_.Reader().Drawing.FileName, Pages()[index].CsvSubject);
  SaveCsvFile(
      hwnd_, offered, programFolder_,
      [&] {
        return PageCsv(page != nullptr ? &page->Source() : nullptr, page1_.ShownLabels(),
                       session_.ShortRead() ? AsChars(kShortReadWarning) : "");
      },
      kCaption);
}

// Every page in one workbook, with the comparison when the count was compared with a kept baseline and the
// quantity sheet when rules were applied, under a name made from the drawing's, in the drawing's folder
// (else the program's). The status line says so while it is written: a drawing of millions of texts takes
// seconds.
void TForm1::SaveXlsxClick() {
  if (!WorkbookAvailable() || !session_.Completed()) return;
  const CountComparison& comparison = session_.Comparison();
  const CountComparison* compared =
      comparison.State == CountComparison::Outcome::kCompared ? &comparison : nullptr;
  const SaveOutcome outcome = SaveWorkbookFile(
      hwnd_, DefaultWorkbookFileName(session_.Reader().Drawing.FileName), programFolder_,
      [&](const std::filesystem::path& file) {
        status_.ShowStatus(kSavingXlsx);
        return WriteCountWorkbook(file, session_.Report(), Sections(), compared, {LocalTimeNow()});
      },
      kCaption);
  if (outcome != SaveOutcome::kCancelled)
    status_.ShowStatus(outcome == SaveOutcome::kSaved ? kXlsxSaved : kXlsxNotSaved);
}

// The covers of the rows the user selected, page by page in the pages' order, each page's rows in order.
void TForm1::MarkClick() {
  if (!session_.Markable()) return;
  std::vector<ElementCover> covers;
  for (const auto& page : gridPages_) {
    if (page != nullptr) page->AddSelectedCovers(covers);
  }
  MarkAndClose(covers);
}

void TForm1::MarkChecksClick() {
  if (session_.Markable()) MarkAndClose(CheckCovers(session_.Report().Tables.Checks));
}

void TForm1::MarkAndClose(std::span<const ElementCover> covers) {
  const std::optional<std::string> reply = session_.MarkedReply(covers);
  if (!reply) {
    status_.ShowStatus(kNothingToMark);
    return;
  }
  if (WriteFileOrSay(hwnd_, TempFilePath(programFolder_), *reply, {kMarkFailed, kCaption})) Button1Click();
}

// Only a count of the whole drawing is kept, and only for a drawing that has a path to keep it by.
void TForm1::KeepBaselineClick() {
  if (!session_.WholeCount()) return;
  const auto baseline = [this] { return session_.Baseline(LocalTimeNow()); };
  if (!KeepBaselineFile(hwnd_, session_.BaselineFile(programFolder_), baseline, kCaption)) return;
  CompareWithBaseline();
  status_.ShowStatus(kKept);
}

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
  Font font(CreateFormFont(dpi));
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
  } else if (id == kIdMarkButton || id == kIdMark) {
    MarkClick();
  } else if (id == kIdMarkLine) {
    MarkChecksClick();
  } else if (id == kIdCheckLine) {
    SelectPage(PageIndex("checks"));  // as Alt+0 does
  } else if (id == kIdBaselineLine) {
    SelectPage(PageIndex("diff"));
  } else if (id == kIdTakeoffLine) {
    SelectPage(PageIndex("takeoff"));
  } else if (id == kIdRulesReload || id == kIdReloadRules) {
    ReloadRulesClick();
  } else if (id == kIdKeepBaselineButton || id == kIdKeepBaseline) {
    KeepBaselineClick();
  } else if (id == kIdSaveCsv) {
    SaveCsvClick();
  } else if (id == kIdSaveXlsxButton || id == kIdSaveXlsx) {
    SaveXlsxClick();
  } else if (id == kIdNextPage || id == kIdPreviousPage) {
    SelectPage(static_cast<std::size_t>((tabs_.Current() + (id == kIdPreviousPage ? pages - 1 : 1)) % pages));
  } else if (id >= kIdShowPage1 && id < kIdShowPage1 + pages) {
    SelectPage(static_cast<std::size_t>(id - kIdShowPage1));
  }
}

void TForm1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tabs_.Handle() && header.code == TCN_SELCHANGE)
    SelectPage(static_cast<std::size_t>(tabs_.Current()));
}

// Every grid has the same menu: its page copies and selects in its grid, the other commands are the form's.
bool TForm1::OnMouseWheel(int delta) {
  return tabs_.Current() == 0 && page1_.Wheel(delta);
}

bool TForm1::OnContextMenu(HWND window, int x, int y) {
  GridPage* page = PageOfGrid(window);
  if (page == nullptr) return false;
  const GridMenuChoices choices{session_.Markable(), session_.WholeCount(), WorkbookAvailable(),
                                session_.Completed()};
  if (const int command = page->ContextMenu(hwnd_, x, y, choices); command != 0) OnCommand(command);
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
    focus_.Deactivated(hwnd_);
  } else {
    focus_.Activated(tabs_.Handle());
  }
}

void TForm1::OnClose() {
  FormClose();
  DestroyWindow(hwnd_);
}

void TForm1::OnDestroy() {
  PostQuitMessage(0);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteMessage(*this, hwnd_, message, wParam, lParam);
}

}  // namespace jwcount
