#include "app/cli/ConsoleHost.h"

#include "app/cli/Interrupt.h"
#include "app/cli/Progress.h"
#include "report/TableAnswer.h"

namespace jwcount {

void ConsoleHost::ShowStatus(std::string_view text) {
  report_.Statuses.emplace_back(text);
  if (progress_ != nullptr) progress_->Show(text);
}

bool ConsoleHost::EscapePressed() {
  return InterruptAsEscape::Requested();
}

void ConsoleHost::AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) {
  if (reply_.Table) AppendTableAnswer(reader, tables, complete, report_.ReadOk || reply_.FileMissing);
}

void ConsoleHost::ShowSummary(int label, std::string_view text) {
  if (label >= 1 && label <= kSummaryCount) report_.Labels[static_cast<std::size_t>(label - 1)] = text;
}

bool CountForReport(CountSession& session, const std::filesystem::path& file,
                    const std::filesystem::path& replyFolder, bool showState, CountHost& host,
                    const RulesBeside* rules) {
  session.Report().ShowState = showState;
  session.Read(file);
  const InterruptAsEscape interrupt;
  if (rules != nullptr) return session.CountWithRules(replyFolder, host, rules->File, rules->Shown);
  return session.Count(replyFolder, host);
}

}  // namespace jwcount
