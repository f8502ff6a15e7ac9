// Unit1: the main window TForm1. It places its parts (the tabs, page 1, a grid page on every other page of
// the page table (app/view/PageTable.h), the status bar) and routes the messages to them and to the
// session of the count (app/view/CountSession.h), which reads the exchange file when the window is first
// shown, counts half a second later, compares every whole count with the baseline kept for its drawing
// (page 11), makes the quantity sheet of the take-off rules (page 12) once the reply is written and again on
// F5, keeps the count as the drawing's baseline on request and answers Jw_cad with marks at the
// elements of the rows the user selected when asked to. It saves the page shown as a CSV file and the
// whole count as an Excel workbook on request, and keeps its placement in the placement file beside the
// program.
//
// The form and the controls of the window's first design keep their names (TForm1, Button1, Timer1,
// LabelA1, Label1 to Label13, SG1 ...): the end-to-end probe finds the window by its class TForm1, and the
// same names run through the control identifiers (ControlIds.h), the tests and the guide.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "app/view/CountSession.h"
#include "app/view/StatusPacer.h"
#include "app/win32/ControlIds.h"
#include "app/win32/GridPage.h"
#include "app/win32/Keys.h"
#include "app/win32/PageTabs.h"
#include "app/win32/RulesLinks.h"
#include "app/win32/StatusBar.h"
#include "app/win32/SummaryPage.h"
#include "app/win32/WinUtil.h"
#include "counting/CountRun.h"
#include "counting/CountTables.h"
#include "counting/ElementCover.h"
#include "tempfile/FileIo.h"
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
  bool PreTranslateMessage(const MSG& msg) { return TranslateFormKey(hwnd_, keys_.Get(), msg); }

  // Event handlers of the run.
  void FormShow();
  void Timer1Timer();
  void Button1Click();
  void FormClose();
  // Ctrl+S and the grids' menu: saves the page shown.
  void SaveCsvClick();
  // The workbook's button, Ctrl+E and the grids' menu: saves every page of the count as one Excel
  // workbook, once the count has run.
  void SaveXlsxClick();
  // The mark button, Alt+M and the grids' menu: marks what the rows the user selected cover, on every page.
  void MarkClick();
  // Page 1's link beside the line of the checks: marks what the checks found.
  void MarkChecksClick();
  // The keep-baseline button, Alt+K and the grids' menu: keeps this count as the drawing's baseline, after
  // asking when one is kept already.
  void KeepBaselineClick();
  // F5 and page 12's 読み直す: reads the take-off rules again and makes the sheet anew, and the comparison
  // with the kept baseline with it, once the count has made them a first time.
  void ReloadRulesClick();

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

  // The window procedure attaches Form1 to its window, and hands it every message, which RouteMessage
  // (FormMessages.h) takes apart for the handlers below.
  template <class T>
  friend LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  template <class W>
  friend LRESULT RouteMessage(W& window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
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
  // The mouse wheel over page 1, whose labels scroll in a small window: false when nothing scrolled.
  bool OnMouseWheel(int delta);
  HBRUSH OnCtlColor(HDC dc);
  void OnActivate(WORD state);
  // Minimising goes through the application window, which owns the taskbar entry.
  LRESULT OnSysCommand(WPARAM command, LPARAM lParam) { return MinimiseThroughOwner(hwnd_, command, lParam); }
  void OnClose();
  void OnDestroy();

  void CreateControls();
  void Layout();
  // Shows the page at place index of the page table; nothing for a place past the last page.
  void SelectPage(std::size_t index);
  GridPage* PageOfGrid(HWND window) const;        // nullptr for a window that is no page's grid
  GridPage* PageById(std::string_view id) const;  // nullptr for page 1 and an id no page has
  void ShowShortReadWarning();
  // Answers Jw_cad with a circle at every element the covers take and closes as Button1 does; says so in
  // the status line and stays when they take nothing, and in a message box when the reply cannot be
  // written (the plain reply then stays in place).
  void MarkAndClose(std::span<const ElementCover> covers);
  // Compares the count with the baseline kept for its drawing (when the count covered the whole drawing)
  // and shows the comparison on page 11 and in page 1's line.
  void CompareWithBaseline();
  // Reads the take-off rules (the file the user chose, else takeoff.csv beside the program) and shows the
  // sheet, or why there is none, on page 12 and in page 1's line. The drawing is not read again.
  void ApplyTakeoffRules();
  // What the grid pages show: the count, and the comparison and the quantity sheet once they are made.
  SectionData PageData() const;

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  UINT dpi_ = 96;          // the DPI the window is drawn at; every size is scaled to it
  Font font_;              // the window's one font, ＭＳ ゴシック 13 pixels high at 96 DPI
  Brush formBrush_;        // the background of the form and its sheets
  AcceleratorTable keys_;  // the window's keys, Keys.h
  StatusBar status_;       // the status line LabelA1 with Button1, the mark button and its warning
  PageTabs tabs_;          // the tabs and their sheets: one per row of the page table
  SummaryPage page1_;      // Label1 .. Label13, the line of the checks, the note and the keep-baseline button
  // The grid page on the sheet of every page but page 1 (nullptr there), by place in the page table.
  std::vector<std::unique_ptr<GridPage>> gridPages_;
  RulesLinks rulesLinks_;    // page 12's links to the take-off rules, the bar under its title
  FocusMemory focus_;        // the control to give the focus back to when the window is activated
  bool shown_ = false;       // FormShow has run
  bool timerArmed_ = false;  // Timer1 is set and has not fired yet
  bool drawTable_ = false;   // started with "/table"

  // The count: the exchange file as read, until the window closes, the tables the grids show, its labels,
  // status texts and the comparison page 11 shows.
  CountSession session_{NativeFileSystem()};
  CountView countView_{*this};  // the window as the count run sees it
  std::filesystem::path programPath_;
  std::filesystem::path programFolder_;  // where JWC_TEMP.TXT is read and answered
};

}  // namespace jwcount
