#include "app/view/CountSession.h"

#include <algorithm>
#include <optional>

#include "counting/RunSequence.h"
#include "report/BaselineStore.h"
#include "report/MarkReply.h"

namespace jwcount {

CountSession::CountSession(FileSystem& files)
    : files_(&files),
      reader_(std::make_unique<JwwGaibu>(files)),
      report_(std::make_unique<CountReport>()),
      comparison_(std::make_unique<CountComparison>(
          CountComparison{CountComparison::Outcome::kNotCompared, SnapshotError::kNone, {}})) {}

bool CountSession::Read(const std::filesystem::path& file) {
  const bool present = files_->Exists(file);
  report_->ReadOk = ReadForCount(*reader_, file, &report_->State);
  report_->Summary = CountSummary(*reader_);
  shortRead_ = !report_->ReadOk && present;
  return report_->ReadOk;
}

bool CountSession::Count(const std::filesystem::path& replyFolder, CountHost& host, TallyWatcher* watcher) {
  completed_ = CountElements(*reader_, report_->Tables, replyFolder, host, watcher);
  return completed_;
}

bool CountSession::CountWithRules(const std::filesystem::path& replyFolder, CountHost& host,
                                  const std::filesystem::path& rules, std::string shown) {
  TakeoffResult takeoff = ReadTakeoff(*files_, rules, std::move(shown));
  std::optional<TakeoffTally> tally;
  if (takeoff.State == TakeoffResult::Outcome::kApplied) tally.emplace(takeoff.Rules, *reader_);
  Count(replyFolder, host, tally ? &*tally : nullptr);
  CompleteTakeoff(takeoff, WholeCount(), [&] { return tally->Sheet(); });
  report_->Takeoff = std::move(takeoff);
  return completed_;
}

const CountComparison& CountSession::CompareWithBaseline(const std::filesystem::path& programFolder) {
  *comparison_ = WholeCount()
                     ? CompareWithKept(*report_, *files_, programFolder)
                     : CountComparison{CountComparison::Outcome::kNotCompared, SnapshotError::kNone, {}};
  return *comparison_;
}

std::filesystem::path CountSession::BaselineFile(const std::filesystem::path& programFolder) const {
  return BaselinePath(programFolder, report_->State.Drawing.FileName);
}

std::string CountSession::Baseline(std::string_view time) const {
  return BaselineBytes(*report_, *reader_, time);
}

const TakeoffResult& CountSession::ApplyRules(const std::filesystem::path& rules, std::string shown) {
  report_->Takeoff = RunTakeoff(*files_, rules, std::move(shown), *reader_, WholeCount());
  return *report_->Takeoff;
}

std::optional<std::string> CountSession::MarkedReply(std::span<const ElementCover> covers) const {
  if (std::none_of(covers.begin(), covers.end(), [](const ElementCover& c) { return c.CoversAny(); }))
    return std::nullopt;
  const TakeoffRules* rules = report_->Takeoff && report_->Takeoff->State == TakeoffResult::Outcome::kApplied
                                  ? &report_->Takeoff->Rules
                                  : nullptr;
  return MarkReplyBytes(MakeMarkReply(*reader_, covers, rules));
}

}  // namespace jwcount
