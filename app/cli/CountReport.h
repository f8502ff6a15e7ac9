// One headless run of the count: the window's run sequence without a window, and what it leaves for the
// reports (summary counts, label and status texts, the five tables, optionally the reader state).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CountRun.h"
#include "CountTable.h"
#include "JwwGaibu.h"

namespace jwcount {

inline constexpr int kSummaryCount = 13;

struct CountReport {
  bool ReadOk = false;
  SummaryCounts Summary{};
  std::array<std::string, kSummaryCount> Labels;  // Shift-JIS, as the count run set them
  std::vector<std::string> Statuses;              // Shift-JIS, every status text in order
  CountTables Tables;
  // The reader state right after the read, before the current attributes are reset (index and stores do
  // not change after the read, so the reader itself provides them).
  bool HasState = false;
  DrawingState Drawing;
  CurrentAttributes Current;
};

// The count host of the console: keeps every status text and label in the report, shows the progress
// on a stream, and takes Ctrl+C as the Escape key.
class ProgressLine;
class ConsoleHost final : public CountHost {
 public:
  ConsoleHost(CountReport& report, ProgressLine* progress) : report_(report), progress_(progress) {}
  void ShowStatus(std::string_view text) override;
  bool EscapePressed() override;
  void ShowSummary(int label, std::string_view text) override;
  void ShowFirstPage() override {}

 private:
  CountReport& report_;
  ProgressLine* progress_;
};

// ResetReaderState, ReadTempFile(file), [state captured], ResetCurrentAttributes, CountElements with the
// reply going to replyFolder / "JWC_TEMP.TXT" through the reader's file system. Ctrl+C during the tally
// stops it as Escape does.
void RunCountSequence(JwwGaibu& reader, const std::filesystem::path& file,
                      const std::filesystem::path& replyFolder, bool captureState, CountHost& host,
                      CountReport& report);

// A file system that reads through another one and throws every write away: the reply of a count run
// that must leave the files alone goes nowhere.
class NoWriteFileSystem final : public FileSystem {
 public:
  explicit NoWriteFileSystem(FileSystem& base) : base_(base) {}
  bool Exists(const std::filesystem::path& path) override { return base_.Exists(path); }
  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override {
    return base_.OpenForRead(path);
  }
  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override;
  bool Remove(const std::filesystem::path&) override { return false; }

 private:
  FileSystem& base_;
};

}  // namespace jwcount
