// Unit1: the main window TForm1. It reads the exchange file when it is first shown, counts half a second
// later, shows the summary counts, the five count tables and the block list on seven pages, saves the page
// shown as a CSV file on request, and keeps its placement in the placement file beside the program.
#pragma once

#include <windows.h>

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "BlockOrder.h"
#include "ControlIds.h"
#include "CountRun.h"
#include "CountTable.h"
#include "GridSource.h"
#include "JwwGaibu.h"
#include "Placement.h"
#include "StatusPacer.h"
#include "WinUtil.h"

namespace jwcount {

class TForm1 final : private CountHost {
 public:
  // With drawTable, the count answers Jw_cad with the tally drawn as a table after its notice line (the
  // BAT's second item starts the program with "/table").
  explicit TForm1(bool drawTable = false) : drawTable_(drawTable) {}
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  static void RegisterClasses(HINSTANCE instance);
  // Creates Form1 with all its controls, not yet visible; owner is the application window.
  bool Create(HINSTANCE instance, HWND owner);
  HWND Handle() const { return hwnd_; }

  // The window's keys, taken before a message is dispatched so that they work whichever control has the
  // focus: Enter, Esc and Alt+C press Button1; Alt+1 .. Alt+7 and Ctrl+(Shift+)Tab change the page;
  // Ctrl+S saves the page shown as a CSV file.
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

 private:
  // CountHost: what the count run sees of the window.
  void ShowStatus(std::string_view text) override;
  bool EscapePressed() override;
  void ShowSummary(int label, std::string_view text) override;
  void ShowFirstPage() override;
  void AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) override;

  // The window procedure attaches Form1 to its window, and hands it every message.
  template <class T>
  friend LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static TForm1* Attach(HWND hwnd, const CREATESTRUCTW& create);
  static void Detach(TForm1* form) { form->hwnd_ = nullptr; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Messages.
  void OnShowWindow(bool shown);
  void OnSize();
  void OnTimer(UINT_PTR timer);
  void OnCommand(int id, int code);
  void OnNotify(const NMHDR& header);
  bool OnContextMenu(HWND window, int x, int y);
  HBRUSH OnCtlColor(HDC dc, HWND control);
  void OnActivate(WORD state);
  LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
  void OnClose();
  void OnDestroy();

  void CreateControls();
  void CreatePage1(HWND page);
  void CreateTablePage(int index, HWND page);
  void Layout();
  void LayoutPage(HWND page, int width, int height);
  void SelectPage(int index);
  int CurrentPage() const;
  void ApplyPlacement(const WindowPlacement& placement);
  WindowPlacement CurrentBounds() const;
  void SetLabelText(HWND label, std::string_view sjis);
  void ShowShortReadWarning();
  int WarningHeight(int width) const;
  // The CSV save: the file the user chooses ("" when cancelled), and the page shown as CSV bytes.
  std::wstring AskCsvPath();
  std::string PageCsv(int page) const;

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  Font font_;
  Brush formBrush_;
  Brush statusBrush_;
  Brush memoBrush_;
  Brush warningBrush_;
  HWND Panel2 = nullptr;
  HWND LabelA1 = nullptr;
  HWND LabelA2 = nullptr;  // the short-read warning, below the status line
  HWND Button1 = nullptr;
  HWND PageControl1 = nullptr;
  HWND Memo1 = nullptr;
  HWND Label14 = nullptr;  // the short-read warning on page 1
  std::array<HWND, kPages> TabSheets{};
  std::array<HWND, kSummaryLabels> Labels{};
  std::array<std::string, kSummaryLabels> labelTexts_;  // as shown, Shift-JIS, for the CSV save
  std::array<HWND, kGrids> TitlePanels{};
  std::array<HWND, kGrids> Grids{};
  HWND lastFocus_ = nullptr;
  bool shown_ = false;
  bool timerArmed_ = false;
  bool shortRead_ = false;  // JWC_TEMP.TXT exists but was not read to its end
  bool drawTable_ = false;  // started with "/table"

  StatusPacer statusPacer_;  // which of the count's status texts go on screen, and when

  JwwGaibu reader_;
  CountTables tables_;
  // What the grids SG1 .. SG6 show; the row heads of SG1 and SG2 carry the drawing's layer names.
  CountTableSource SG1Source{tables_.SG1, &reader_.Drawing, CountTableId::kSG1};
  CountTableSource SG2Source{tables_.SG2, &reader_.Drawing, CountTableId::kSG2};
  CountTableSource SG3Source{tables_.SG3};
  CountTableSource SG4Source{tables_.SG4};
  CountTableSource SG5Source{tables_.SG5};
  BlockTableSource SG6Source{tables_.Blocks};
  std::array<const GridSource*, kGrids> Sources{&SG1Source, &SG2Source, &SG3Source,
                                                &SG4Source, &SG5Source, &SG6Source};
  std::filesystem::path programPath_;
  std::filesystem::path ProgramFolder;
  WindowPlacement placement_;
};

}  // namespace jwcount
