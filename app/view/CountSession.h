// One count of a drawing, as the window and jwcount-cli run it: the exchange file read, its elements counted
// with the plain reply written, whether the count ran to its end, the comparison with the baseline kept
// for the drawing (report/BaselineStore.h), the baseline to keep, and the reply that marks elements
// (report/MarkReply.h). The session owns the reader, which keeps the drawing, and the report; both are
// large, so they live on the heap with the comparison, and the session moves without moving them.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "counting/CountRun.h"
#include "counting/ElementCover.h"
#include "report/CountDiff.h"
#include "report/CountReport.h"
#include "tempfile/FileIo.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

class CountSession final {
 public:
  // Reads, answers and finds kept baselines through `files`, which must outlive the session.
  explicit CountSession(FileSystem& files);

  // Reads the exchange file (ResetReaderState, the read, ResetCurrentAttributes) and takes the summary
  // counts; true when the file was read to its end. Whatever was read is counted either way.
  bool Read(const std::filesystem::path& file);
  // Counts what was read and writes the reply (the notice line, and what the host appends) into
  // replyFolder's exchange file; true when the count ran to its end, false when the host stopped it.
  bool Count(const std::filesystem::path& replyFolder, CountHost& host, TallyWatcher* watcher = nullptr);
  // Count, with the take-off rules read first and their quantity sheet made along with the tally, from the
  // records and quantities it has just read (TakeoffTally): what ApplyRules after Count gives, at a fraction
  // of its cost. True as Count.
  bool CountWithRules(const std::filesystem::path& replyFolder, CountHost& host,
                      const std::filesystem::path& rules, std::string shown);

  // The file is there but was not read to its end: its counts are never taken for the whole drawing's.
  // A missing file is no short read; it simply counts nothing.
  bool ShortRead() const { return shortRead_; }
  // The count has run to its end (nothing stopped it).
  bool Completed() const { return completed_; }
  // The count covered the whole drawing: it can be compared with a baseline and kept as one.
  bool WholeCount() const { return completed_ && !shortRead_; }
  // The whole count of a drawing that holds elements: they can be marked.
  bool Markable() const { return WholeCount() && reader_->EntityCount() > 0; }

  // Compares a whole count with the baseline kept for its drawing in programFolder's folder of baselines;
  // any other count stays not compared.
  const CountComparison& CompareWithBaseline(const std::filesystem::path& programFolder);
  // The comparison last made; the diff page keeps pointing at it.
  const CountComparison& Comparison() const { return *comparison_; }
  // The file the drawing's baseline is kept in; empty for a drawing never saved, which has none.
  std::filesystem::path BaselineFile(const std::filesystem::path& programFolder) const;
  // The baseline of this count kept at `time` (ISO 8601 with its offset; empty for no time), as its bytes.
  std::string Baseline(std::string_view time) const;
  // Reads the take-off rules and makes the count's quantity sheet of them (a count that did not cover the
  // whole drawing gets none); the reports and pages show it from then on. `shown` is what the sheet calls
  // the file. Reading the rules again makes the sheet anew, without reading the drawing again.
  const TakeoffResult& ApplyRules(const std::filesystem::path& rules, std::string shown);
  // The reply that marks every element the covers take, as the exchange file's bytes; none when they take
  // no element.
  std::optional<std::string> MarkedReply(std::span<const ElementCover> covers) const;

  JwwGaibu& Reader() { return *reader_; }
  const JwwGaibu& Reader() const { return *reader_; }
  // The count as the outputs see it; the count host fills its labels and status texts.
  CountReport& Report() { return *report_; }
  const CountReport& Report() const { return *report_; }

 private:
  FileSystem* files_;
  std::unique_ptr<JwwGaibu> reader_;
  std::unique_ptr<CountReport> report_;
  std::unique_ptr<CountComparison> comparison_;
  bool shortRead_ = false;
  bool completed_ = false;
};

}  // namespace jwcount
