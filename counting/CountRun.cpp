// The count run over the reader's entity index.
#include "counting/CountRun.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "counting/RunSequence.h"
#include "tempfile/MyFunc.h"
#include "tempfile/Thread.h"

namespace jwcount {
namespace {

// The kinds whose store counts make up each summary label; 0 marks no second kind.
constexpr int32_t kSummaryKinds[kSummaryCount][2] = {
    {kLine, 0},
    {kCircle, kArc},
    {kText, 0},
    {kPoint, 0},
    {kMarker, 0},
    {kDimension, 0},
    {kBlock, 0},
    {kSolidLine, 0},
    {kSolidTriangle, 0},
    {kSolidQuad, 0},
    {kSolidCircle, 0},
    {kSolidCircumference, 0},
    {kSolidRingO, kSolidRingG},
};

// Tallies the `size` entries from `first` on (at most kProgressStep), block insertions also by name and
// texts by content into their tables, lengths and areas beside the counts. The headers are gathered first
// in a loop of independent loads, so that the cache misses of reading records spread over fifteen stores
// overlap; the quantities are measured next, from records now in the cache, and the tally works from these
// small local copies.
void TallyBlock(const JwwGaibu& reader, CountTables& tables, int32_t first, int32_t size,
                TallyWatcher* watcher) {
  int32_t kinds[kProgressStep];
  EntityAttributes headers[kProgressStep];
  ElementQuantity quantities[kProgressStep];
  for (int32_t i = 0; i < size; ++i) {
    const EntityIndexEntry& entry = reader.Entity(first + i);
    // An entry of no known kind has no store to look in; it is counted nowhere.
    kinds[i] = KindColumn(entry.Kind) != 0 ? entry.Kind : 0;
    headers[i] = kinds[i] != 0 ? reader.Header(entry.Kind, entry.Position) : EntityAttributes{};
    if (kinds[i] == kBlock) tables.Blocks.Tally(reader.Stores.Blocks[entry.Position].BlockText.View());
    if (kinds[i] == kText) tables.Texts.Tally(reader.Stores.Texts[entry.Position].Text.View());
  }
  for (int32_t i = 0; i < size; ++i)
    quantities[i] = QuantityOf(reader.Stores, kinds[i], reader.Entity(first + i).Position);
  TallyEntities(tables, kinds, headers, quantities, size);
  const auto n = static_cast<std::size_t>(size);
  if (watcher != nullptr) watcher->Tallied(first, {kinds, n}, {headers, n}, {quantities, n});
}

// The tally loop: progress and the Escape poll before every block of kProgressStep entities. A poll
// that finds Escape down ends the tally before that block; the result says whether every entity was
// tallied.
bool TallyAll(const JwwGaibu& reader, CountTables& tables, CountHost& host, TallyWatcher* watcher) {
  const int32_t n = reader.EntityCount();
  for (int32_t j = 0; j < n;) {
    host.ShowStatus(ProgressText(j + 1, n));
    if (host.EscapePressed()) return false;
    const int32_t size = std::min(kProgressStep, n - j);  // j + size never passes n, so never overflows
    TallyBlock(reader, tables, j, size, watcher);
    j += size;
  }
  return true;
}

// Hashes pieces for the drawing checks until none is left; false when there was no memory for the checks.
void HashPieces(DrawingChecker* checker, DrawingChecks& found) {
  if (checker == nullptr) return;
  while (checker->HashPiece(found)) {
  }
}

// Below this many elements the checks take less time than starting a thread to run them beside the tally
// (tens of microseconds), so a small selection is checked on this thread alone.
constexpr int32_t kChecksBesideTallyElements = 4096;

// The tally and the drawing checks. The checks read what the tally reads and write only their own
// results, so they hash a large drawing on a second thread beside the tally, where one can be made; once
// its tally is done this thread helps with what is left, and then finds the duplicates. They cover every
// element read, also those an Escape leaves out of the tally. Where there is no memory for them they find
// nothing rather than stop the count. The result says whether every entity was tallied.
bool TallyAndCheck(const JwwGaibu& reader, CountTables& tables, CountHost& host, TallyWatcher* watcher) {
  std::unique_ptr<DrawingChecker> checker;
  try {
    checker = std::make_unique<DrawingChecker>(reader);
  } catch (const std::bad_alloc&) {
  }
  DrawingChecks besideFound;
  DrawingChecks found;
  SecondThread checkThread;
  if (reader.EntityCount() >= kChecksBesideTallyElements)
    checkThread.Start([&checker, &besideFound] { HashPieces(checker.get(), besideFound); });
  const bool complete = TallyAll(reader, tables, host, watcher);
  FinishCountTables(tables);
  HashPieces(checker.get(), found);
  checkThread.Join();
  AddFindings(found, besideFound);
  if (checker) {
    try {
      tables.Checks = checker->Finish(found);
    } catch (const std::bad_alloc&) {
      tables.Checks = found;
    }
  }
  return complete;
}

}  // namespace

void CountHost::AppendToReply(JwwGaibu&, const CountTables&, bool) {}

SummaryCounts CountSummary(const JwwGaibu& reader) {
  SummaryCounts counts{};
  for (std::size_t i = 0; i < counts.size(); ++i) {
    // Every stored record has its own index entry and the index holds at most a 32-bit count, so the
    // sum of two stores fits; it is clamped all the same rather than shown negative.
    const int64_t sum =
        int64_t{reader.StoreCount(kSummaryKinds[i][0])} + reader.StoreCount(kSummaryKinds[i][1]);
    counts[i] = static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
  }
  return counts;
}

std::string SummaryText(int label, int32_t count) {
  std::string text;
  if (label >= 1 && label <= static_cast<int>(kSummaryCaptions.size()))
    text.append(kSummaryCaptions[label - 1]);
  AppendNumber(text, count);
  return text;
}

std::string ProgressText(int32_t entity, int32_t total) {
  std::string text(kStatusProgressPrefix);
  AppendNumber(text, entity);
  text.append(kStatusProgressSlash);
  AppendNumber(text, total);
  return text;
}

bool CountElements(JwwGaibu& reader, CountTables& tables, const std::filesystem::path& programFolder,
                   CountHost& host, TallyWatcher* watcher) {
  host.ShowFirstPage();
  host.ShowStatus(kStatusCountStart);
  const SummaryCounts summary = CountSummary(reader);
  for (int label = 1; label <= static_cast<int>(summary.size()); ++label) {
    host.ShowSummary(label, SummaryText(label, summary[label - 1]));
  }
  PrepareCountTables(tables);
  const bool complete = TallyAndCheck(reader, tables, host, watcher);
  host.ShowStatus(kStatusCountDone);
  reader.AppendReplyMessage(kStatusCountDone);
  host.AppendToReply(reader, tables, complete);
  reader.WriteReplyFile(TempFilePath(programFolder));
  return complete;
}

}  // namespace jwcount
