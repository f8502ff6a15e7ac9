// The count host of the console, and one headless run of the count: the window's run sequence without a
// window, filling the report model for the outputs.
#pragma once

#include <filesystem>
#include <string_view>

#include "app/view/CountSession.h"
#include "counting/CountRun.h"
#include "report/CountReport.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// How the console answers the host: with the completion message alone, or with the count drawn as a table
// after it (--table). A missing exchange file counts as empty, not as a short read, so `run` still draws.
struct ReplyChoice {
  bool Table = false;
  bool FileMissing = false;
};

// Keeps every status text and label in the report, shows the progress on a stream, takes Ctrl+C as the
// Escape key, and appends the table to the reply when asked to.
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

// The count of a session for the reports: its read of `file`, then its count with the reply going into
// replyFolder through the session's file system. Ctrl+C during the tally stops it as Escape does; during
// the read it ends the program, leaving the files alone. showState becomes the report's ShowState. True
// when the count ran to its end. With `rules` (a file that is there), the quantity sheet of those take-off
// rules is made beside the tally (CountSession::CountWithRules), `shown` naming the file.
struct RulesBeside {
  std::filesystem::path File;
  std::string Shown;
};
bool CountForReport(CountSession& session, const std::filesystem::path& file,
                    const std::filesystem::path& replyFolder, bool showState, CountHost& host,
                    const RulesBeside* rules = nullptr);

}  // namespace jwcount
