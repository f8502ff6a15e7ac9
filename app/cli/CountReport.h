// One headless run of the count: the window's run sequence without a window, and what it leaves for the
// reports (summary counts, label and status texts, the five tables and the block names, the reader state).
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
#include "RunSequence.h"

namespace jwcount {

inline constexpr int kSummaryCount = 13;

struct CountReport {
  bool ReadOk = false;
  SummaryCounts Summary{};
  std::array<std::string, kSummaryCount> Labels;  // Shift-JIS, as the count run set them
  std::vector<std::string> Statuses;              // Shift-JIS, every status text in order
  CountTables Tables;
  // The reader state right after the read: always kept, since the layer-group and layer names come from it;
  // the JSON report shows it whole only when ShowState is set.
  bool ShowState = false;
  StateAfterRead State;
};

// How the console answers the host: with the completion message alone, or with the count drawn as a table
// after it (--table). A missing exchange file counts as empty, not as a short read, so `run` still draws.
struct ReplyChoice {
  bool Table = false;
  bool FileMissing = false;
};

// The count host of the console: keeps every status text and label in the report, shows the progress
// on a stream, takes Ctrl+C as the Escape key, and appends the table to the reply when asked to.
class ProgressLine;
class ConsoleHost final : public CountHost {
 public:
  ConsoleHost(CountReport& report, ProgressLine* progress, ReplyChoice reply = {})
      : report_(report), progress_(progress), reply_(reply) {}
  void ShowStatus(std::string_view text) override;
  bool EscapePressed() override;
  void ShowSummary(int label, std::string_view text) override;
  void ShowFirstPage() override {}
  void AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) override;

 private:
  CountReport& report_;
  ProgressLine* progress_;
  ReplyChoice reply_;
};

// The run sequence for the reports: ReadForCount(file), with the state captured, then CountElements with
// the reply going into replyFolder through the reader's file system. Ctrl+C during the tally stops it as
// Escape does; during the read it ends the program, leaving the files alone. showState becomes the report's
// ShowState.
void CountForReport(JwwGaibu& reader, const std::filesystem::path& file,
                    const std::filesystem::path& replyFolder, bool showState, CountHost& host,
                    CountReport& report);

// A file system that reads through another one and writes nothing to disk: the reply of a count run that
// must leave the files alone goes into Written() instead (the bytes of the file created last).
class NoWriteFileSystem final : public FileSystem {
 public:
  explicit NoWriteFileSystem(FileSystem& base) : base_(base) {}
  const std::string& Written() const { return written_; }
  bool Exists(const std::filesystem::path& path) override { return base_.Exists(path); }
  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override {
    return base_.OpenForRead(path);
  }
  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override;
  bool Remove(const std::filesystem::path&) override { return false; }

 private:
  FileSystem& base_;
  std::string written_;
};

}  // namespace jwcount
