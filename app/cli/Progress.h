// The status texts of the count on a console stream: one line refreshed in place on a terminal, one line
// per text anywhere else (a log file, a pipe; written in large pieces there).
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "text/Utf8Text.h"

namespace jwcount {

class ProgressLine {
 public:
  ProgressLine(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}
  ~ProgressLine() { Finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Shows a Shift-JIS status text. On a terminal, texts that follow each other within a tenth of a
  // second replace each other unseen, which keeps a fast count from being slowed by the terminal.
  void Show(std::string_view text);
  // Ends the refreshed line (shows the last text if it was held back).
  void Finish();

 private:
  void Write(std::string_view text);
  void WriteLog();

  std::FILE* stream_;
  bool terminal_;
  Utf8Text utf8_;
  std::string line_;     // the refreshed line, or the log lines not yet written
  std::string pending_;  // the latest text not yet on the terminal
  bool hasPending_ = false;
  bool open_ = false;  // a refreshed line is on the terminal
  std::size_t shownWidth_ = 0;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace jwcount
