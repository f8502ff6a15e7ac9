#include "CountReport.h"

#include "Interrupt.h"
#include "Progress.h"

namespace jwcount {
namespace {

class DiscardedFile final : public OutputFile {
 public:
  bool Write(const char*, std::size_t) override { return true; }
  bool Close() override { return true; }
};

}  // namespace

void ConsoleHost::ShowStatus(std::string_view text) {
  report_.Statuses.emplace_back(text);
  if (progress_ != nullptr) progress_->Show(text);
}

bool ConsoleHost::EscapePressed() {
  return InterruptAsEscape::Requested();
}

void ConsoleHost::ShowSummary(int label, std::string_view text) {
  if (label >= 1 && label <= kSummaryCount) report_.Labels[static_cast<std::size_t>(label - 1)] = text;
}

void RunCountSequence(JwwGaibu& reader, const std::filesystem::path& file,
                      const std::filesystem::path& replyFolder, bool captureState, CountHost& host,
                      CountReport& report) {
  reader.ResetReaderState();
  report.ReadOk = reader.ReadTempFile(file);
  if (captureState) {
    report.HasState = true;
    report.Drawing = reader.Drawing;
    report.Current = reader.Current;
  }
  reader.ResetCurrentAttributes();
  report.Summary = CountSummary(reader);
  const InterruptAsEscape interrupt;
  CountElements(reader, report.Tables, replyFolder, host);
}

std::unique_ptr<OutputFile> NoWriteFileSystem::Create(const std::filesystem::path&) {
  return std::make_unique<DiscardedFile>();
}

}  // namespace jwcount
