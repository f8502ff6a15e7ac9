#include "app/cli/Progress.h"

namespace jwcount {
namespace {

constexpr auto kRefreshInterval = std::chrono::milliseconds(100);  // at most ten refreshes a second
constexpr std::size_t kLogChunk = 64 * 1024;

}  // namespace

void ProgressLine::Show(std::string_view text) {
  if (!terminal_) {
    // A log or a pipe: lines are gathered and written in large pieces.
    utf8_.Convert(text, [this](std::string_view piece, bool) { line_ += piece; });
    line_ += '\n';
    if (line_.size() >= kLogChunk) WriteLog();
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (open_ && now - lastShown_ < kRefreshInterval) {
    pending_.assign(text);
    hasPending_ = true;
    return;
  }
  lastShown_ = now;
  Write(text);
}

void ProgressLine::Write(std::string_view text) {
  line_.clear();
  line_.push_back('\r');
  utf8_.Convert(text, [this](std::string_view piece, bool) { line_ += piece; });
  // Blank out what is left of a longer text shown before.
  const std::size_t width = utf8_.DisplayWidth(text);
  if (width < shownWidth_) line_.append(shownWidth_ - width, ' ');
  shownWidth_ = width;
  std::fwrite(line_.data(), 1, line_.size(), stream_);
  std::fflush(stream_);
  open_ = true;
  hasPending_ = false;
}

void ProgressLine::WriteLog() {
  std::fwrite(line_.data(), 1, line_.size(), stream_);
  std::fflush(stream_);
  line_.clear();
}

void ProgressLine::Finish() {
  if (!terminal_) {
    if (!line_.empty()) WriteLog();
    return;
  }
  if (!open_) return;
  if (hasPending_) Write(pending_);
  std::fputc('\n', stream_);
  std::fflush(stream_);
  open_ = false;
  shownWidth_ = 0;
}

}  // namespace jwcount
