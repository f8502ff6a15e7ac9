// Unit1: the main window TForm1. It reads the exchange file when it is first shown, counts half a second
// later, shows the summary counts on page 1 and a grid on every other page of the page table
// (app/view/PageTable.h), saves the page shown as a CSV file on request, answers Jw_cad with marks at the
// elements of the rows the user selected when asked to (report/MarkReply.h), keeps the count as the
// drawing's baseline on request and compares every whole count with the baseline kept for its drawing
// (report/BaselineStore.h, page 11), and keeps its placement in the placement file beside the program.
//
// The form and its controls keep the names of the window's first design (TForm1, Label1 to Label14, SG1
// ...): the end-to-end probe finds the window by its class TForm1, and the same names run through the
// control identifiers (ControlIds.h), the tests and the guide.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/Placement.h"
#include "app/view/StatusPacer.h"
#include "app/win32/ControlIds.h"
#include "app/win32/GridPage.h"
#include "app/win32/PageTabs.h"
#include "app/win32/StatusBar.h"
#include "app/win32/SummaryPage.h"
#include "app/win32/WinUtil.h"
#include "counting/CountRun.h"
#include "counting/CountTables.h"
#include "counting/ElementCover.h"
#include "report/CountReport.h"
#include "report/DiffSection.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

class TForm1 final {
 public:
  // With drawTable, the count answers Jw_cad with the tally drawn as a table after its notice line (the
  // BAT's second item starts the program with "/table").
  explicit TForm1(bool drawTable = false) : drawTable_(drawTable) {}
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  static void RegisterClasses(HINSTANCE instance);
  // Creates Form1 with all its controls, not yet visible; owner is the application window.
  bool Create(HINSTANCE instance, HWND owner);
  HWND Handle() const { return hwnd_; }

  // The window's keys (Keys.h), then the dialog keys (Tab, the arrows in a group of radio buttons), taken
  // before a message is dispatched so that they work whichever control has the focus. True when the
  // message was handled (dispatched included).
  bool PreTranslateMessage(const MSG& msg);

  // Event handlers of the run.
  void FormShow();
  void Timer1Timer();
  void Button1Click();
  void FormClose();
  // The grids' context menu, and Ctrl+S.
  void CopyClick(HWND grid);
  void SelectAllClick(HWND grid);
  void SaveCsvClick();
  // Button2, Alt+M and the grids' menu: marks what the rows the user selected cover, on every page.
  void MarkClick();
  // Page 1's link beside the line of the checks: marks what the checks found.
  void MarkChecksClick();
  // Button3, Alt+K and the grids' menu: keeps this count as the drawing's baseline, after asking when one
  // is kept already.
  void KeepBaselineClick();

 private:
  // What the count run sees of the window: the status line, the summary labels, the Escape key, page 1,
  // and the table after the reply's notice line when the program was started for it.
  class CountView final : public CountHost {
   public:
    explicit CountView(TForm1& form) : form_(form) {}
    void ShowStatus(std::string_view text) override;
    bool EscapePressed() override;
    void ShowSummary(int label, std::string_view text) override;
    void ShowFirstPage() override;
    void AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) override;

   private:
    TForm1& form_;
    StatusPacer statusPacer_;  // which of the count's status texts go on screen, and when
  };

  // The window procedure attaches Form1 to its window, and hands it every message.
  template <class T>
  friend LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static TForm1* Attach(HWND hwnd, const CREATESTRUCTW& create);
  static void Detach(TForm1* form) { form->hwnd_ = nullptr; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Messages.
  void OnShowWindow(bool shown);
  void OnSize();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnTimer(UINT_PTR timer);
  void OnCommand(int id);
  void OnNotify(const NMHDR& header);
  bool OnContextMenu(HWND window, int x, int y);
  HBRUSH OnCtlColor(HDC dc);
  void OnActivate(WORD state);
  LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
  void OnClose();
  void OnDestroy();

  void CreateControls();
  void Layout();
  void SelectPage(int index);
  int PageOfGrid(HWND grid) const;  // -1 for a window that is no page's grid
  void ShowShortReadWarning();
  // The covers of the rows the user selected, page by page in the pages' order, each page's rows in order.
  std::vector<ElementCover> SelectedCovers() const;
  // Answers Jw_cad with a circle at every element the covers take and closes as Button1 does; says so in
  // the status line and stays when they take nothing, and in a message box when the reply cannot be
  // written (the plain reply then stays in place).
  void MarkAndClose(std::span<const ElementCover> covers);
  // Compares the count with the baseline kept for its drawing (when the count covered the whole drawing)
  // and shows the comparison on page 11 and in page 1's line.
  void CompareWithBaseline();

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  UINT dpi_ = 96;          // the DPI the window is drawn at; every size is scaled to it
  Font font_;              // the window's one font, ＭＳ ゴシック 13 pixels high at 96 DPI
  Brush formBrush_;        // the background of the form and its sheets
  AcceleratorTable keys_;  // the window's keys, Keys.h
  StatusBar status_;       // Panel2 with the status line LabelA1, Button1 and the warning LabelA2
  PageTabs tabs_;          // PageControl1 and TabSheet1, TabSheet2, ...: one per row of the page table
  SummaryPage page1_;      // Label1 .. Label14, the line of the checks and Memo1 on TabSheet1
  // The grid page on the sheet of every page but page 1 (nullptr there), by place in the page table.
  std::vector<std::unique_ptr<GridPage>> gridPages_;
  HWND lastFocus_ = nullptr;    // the control to give the focus back to when the window is activated
  bool shown_ = false;          // FormShow has run
  bool timerArmed_ = false;     // Timer1 is set and has not fired yet
  bool shortRead_ = false;      // JWC_TEMP.TXT exists but was not read to its end
  bool countComplete_ = false;  // the count ran to its end (Escape did not stop it)
  // The count has run over the whole of a drawing that holds elements: the marks can be put in it.
  bool markable_ = false;
  bool drawTable_ = false;  // started with "/table"
  // The count covered the whole drawing (read to its end, not stopped): it can be compared and kept.
  bool wholeCount_ = false;

  JwwGaibu reader_;  // the exchange file as read, until the window closes
  // The count as the reports see it: its tables, shown by the grids, its labels, status texts and the
  // drawing as read, which a kept baseline holds.
  CountReport report_;
  CountComparison comparison_{
      CountComparison::Outcome::kNotCompared, SnapshotError::kNone, {}};  // shown on page 11
  CountView countView_{*this};  // the window as the count run sees it
  std::filesystem::path programPath_;
  std::filesystem::path programFolder_;  // where JWC_TEMP.TXT is read and answered
  WindowPlacement placement_;            // as loaded, then as saved when the window closes
};

}  // namespace jwcount
