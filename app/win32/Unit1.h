// Unit1: the main window TForm1. It reads the exchange file when it is first shown, counts half a second
// later, shows the summary counts and the five count tables on six pages, and keeps its placement in the
// placement file beside the program.
#pragma once

#include <windows.h>

#include <array>
#include <filesystem>
#include <string_view>

#include "ControlIds.h"
#include "CountRun.h"
#include "CountTable.h"
#include "JwwGaibu.h"
#include "Placement.h"

namespace jwcount {

class TForm1 final : private CountHost {
 public:
  TForm1() = default;
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  static void RegisterClasses(HINSTANCE instance);
  // Creates Form1 with all its controls, not yet visible; owner is the application window.
  bool Create(HINSTANCE instance, HWND owner);
  HWND Handle() const { return hwnd_; }

  // The window's keys, taken before a message is dispatched so that they work whichever control has the
  // focus: Enter, Esc and Alt+C press Button1; Alt+1 .. Alt+6 and Ctrl+(Shift+)Tab change the page.
  bool PreTranslateMessage(const MSG& msg);

  // Event handlers of the run.
  void FormShow();
  void Timer1Timer();
  void Button1Click();
  void FormClose();

 private:
  // CountHost: what the count run sees of the window.
  void ShowStatus(std::string_view text) override;
  bool EscapePressed() override;
  void ShowSummary(int label, std::string_view text) override;
  void ShowFirstPage() override;

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void CreatePage1(HWND page);
  void CreateTablePage(int index, HWND page);
  void Layout();
  void LayoutPage(HWND page, int width, int height);
  void SelectPage(int index);
  void ApplyPlacement(const WindowPlacement& placement);
  WindowPlacement CurrentBounds() const;
  HBRUSH ControlColour(HDC dc, HWND control);
  void SetLabelText(HWND label, std::string_view sjis);

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH formBrush_ = nullptr;
  HBRUSH statusBrush_ = nullptr;
  HBRUSH memoBrush_ = nullptr;
  HWND Panel2 = nullptr;
  HWND LabelA1 = nullptr;
  HWND Button1 = nullptr;
  HWND PageControl1 = nullptr;
  HWND Memo1 = nullptr;
  std::array<HWND, kPages> TabSheets{};
  std::array<HWND, kSummaryLabels> Labels{};
  std::array<HWND, kGrids> TitlePanels{};
  std::array<HWND, kGrids> Grids{};
  HWND lastFocus_ = nullptr;
  bool shown_ = false;
  bool timerArmed_ = false;

  JwwGaibu reader_;
  CountTables tables_;
  std::filesystem::path programPath_;
  std::filesystem::path ProgramFolder;
  WindowPlacement placement_;
};

}  // namespace jwcount
