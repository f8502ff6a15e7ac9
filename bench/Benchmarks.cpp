// Benchmarks of the reader (MB/s), the count run, the count tables and the drawing checks within it (ns per
// element), the JSON report, page 11's comparison with a kept baseline and the reply that marks every
// element.
//
//   jwcount_bench [--file=JWC_TEMP.TXT] [--elements=N] [benchmark flags]
//
// Without --file, a plan of N elements (default 100000) is generated into a scratch file first.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/ConsoleHost.h"
#include "bench/PlanGenerator.h"
#include "report/CheckSection.h"
#include "report/CountDiff.h"
#include "report/CountSection.h"
#include "report/JsonReport.h"
#include "report/MarkReply.h"
#include "takeoff/Takeoff.h"
#include "tempfile/NoWriteFileSystem.h"
#include "tests/support/QuietCount.h"
#include "tests/support/ScratchFolder.h"

namespace jwcount {
namespace {

std::filesystem::path& BenchFile() {
  static std::filesystem::path path;
  return path;
}

void ReadTempFile(benchmark::State& state) {
  const auto size = static_cast<int64_t>(std::filesystem::file_size(BenchFile()));
  NoWriteFileSystem noWrites(NativeFileSystem());
  for (auto _ : state) {
    auto reader = std::make_unique<JwwGaibu>(noWrites);
    const bool ok = reader->ReadTempFile(BenchFile());
    benchmark::DoNotOptimize(ok);
    state.PauseTiming();
    reader.reset();  // freeing the stores is not part of reading
    state.ResumeTiming();
  }
  state.SetBytesProcessed(size * state.iterations());
}

void CountElementsRun(benchmark::State& state) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  auto reader = std::make_unique<JwwGaibu>(noWrites);
  ReadForCount(*reader, BenchFile());
  auto tables = std::make_unique<CountTables>();
  test::QuietHost host;
  for (auto _ : state) {
    CountElements(*reader, *tables, BenchFile().parent_path(), host);
    reader->Reply.Lines.clear();
    reader->Reply.LineCount = 0;
  }
  state.counters["elements"] = reader->EntityCount();
  state.counters["per_element"] =
      benchmark::Counter(static_cast<double>(reader->EntityCount()),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The count tables alone, as the count run fills them (they also run inside it, beside the checks' thread):
// emptied, every element tallied from its gathered header and quantity, then the totals.
void CountTablesRun(benchmark::State& state) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  auto reader = std::make_unique<JwwGaibu>(noWrites);
  ReadForCount(*reader, BenchFile());
  const int32_t n = reader->EntityCount();
  std::vector<int32_t> kinds(static_cast<std::size_t>(n));
  std::vector<EntityAttributes> headers(kinds.size());
  std::vector<ElementQuantity> quantities(kinds.size());
  for (int32_t j = 0; j < n; ++j) {
    const EntityIndexEntry& entry = reader->Entity(j);
    const auto i = static_cast<std::size_t>(j);
    kinds[i] = entry.Kind;
    headers[i] = reader->Header(entry.Kind, entry.Position);
    quantities[i] = QuantityOf(reader->Stores, entry.Kind, entry.Position);
  }
  auto tables = std::make_unique<CountTables>();
  for (auto _ : state) {
    PrepareCountTables(*tables);
    TallyEntities(*tables, kinds.data(), headers.data(), quantities.data(), n);
    FinishCountTables(*tables);
    benchmark::DoNotOptimize(tables->SG5.Count(1, kSg5TotalRow));
  }
  state.counters["per_element"] = benchmark::Counter(
      static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The drawing checks alone (they also run inside the count run above).
void DrawingChecksRun(benchmark::State& state) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  auto reader = std::make_unique<JwwGaibu>(noWrites);
  ReadForCount(*reader, BenchFile());
  for (auto _ : state) {
    const DrawingChecks checks = CheckDrawing(*reader);
    benchmark::DoNotOptimize(checks.Duplicates.Count);
  }
  state.counters["per_element"] =
      benchmark::Counter(static_cast<double>(reader->EntityCount()),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void JsonReport(benchmark::State& state) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  CountSession session(noWrites);
  ConsoleHost host(session.Report(), nullptr);
  CountForReport(session, BenchFile(), BenchFile().parent_path(), false, host);
  const JwwGaibu* reader = &session.Reader();
  const CountReport* report = &session.Report();
  std::FILE* sink = std::fopen("/dev/null", "wb");
  for (auto _ : state) {
    OutputBuffer out(sink);
    Utf8Text utf8;
    WriteJsonReport(out, utf8, *report, *reader);
  }
  std::fclose(sink);
}

// What page 11 costs after the count: the kept baseline of this count read back and compared with the count
// (the window does this after the reply is written). Also the marks of every element (capped) for a
// reply that marks the whole drawing.
void BaselineCompare(benchmark::State& state) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  CountSession session(noWrites);
  ConsoleHost host(session.Report(), nullptr);
  CountForReport(session, BenchFile(), BenchFile().parent_path(), false, host);
  const JwwGaibu* reader = &session.Reader();
  const CountReport* report = &session.Report();
  std::string kept;
  {
    OutputBuffer out(kept);
    Utf8Text utf8;
    WriteBaselineFile(out, utf8, *report, *reader, "2026-12-09T10:00:00+09:00");
  }
  for (auto _ : state) {
    const SnapshotRead read = ReadSnapshot(kept);
    const CountDiff diff = CompareCounts(read.Snapshot, SnapshotOf(*report));
    benchmark::DoNotOptimize(diff.Rows.size());
  }
  state.counters["baseline_MB"] = static_cast<double>(kept.size()) / 1e6;
}

// The quantity sheet of the rules file JWCOUNT_BENCH_RULES (skipped without one) made of the count: what
// `count --rules` adds to the count.
void TakeoffSheet(benchmark::State& state) {
  const char* rulesFile = std::getenv("JWCOUNT_BENCH_RULES");
  if (rulesFile == nullptr) {
    state.SkipWithError("JWCOUNT_BENCH_RULES names no rules file");
    return;
  }
  NoWriteFileSystem noWrites(NativeFileSystem());
  CountSession session(noWrites);
  ConsoleHost host(session.Report(), nullptr);
  CountForReport(session, BenchFile(), BenchFile().parent_path(), false, host);
  const TakeoffResult rules = ReadTakeoff(noWrites, rulesFile, rulesFile);
  for (auto _ : state) benchmark::DoNotOptimize(ApplyTakeoff(rules.Rules, session.Reader()).Items.size());
}

void MarkEverything(benchmark::State& state) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  CountSession session(noWrites);
  ConsoleHost host(session.Report(), nullptr);
  CountForReport(session, BenchFile(), BenchFile().parent_path(), false, host);
  const JwwGaibu* reader = &session.Reader();
  const CountReport* report = &session.Report();
  std::vector<ElementCover> covers = CheckCovers(report->Tables.Checks);
  covers.push_back(
      CountSection(report->Tables.SG2, report->State.Drawing, CountTableId::kSG2).RowCover(kSg2TotalRow));
  for (auto _ : state) benchmark::DoNotOptimize(MarkReplyBytes(MakeMarkReply(*reader, covers)).size());
}

BENCHMARK(ReadTempFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CountElementsRun)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CountTablesRun)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DrawingChecksRun)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JsonReport)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BaselineCompare)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TakeoffSheet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MarkEverything)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace jwcount

int main(int argc, char** argv) {
  std::vector<char*> rest;
  long elements = 100000;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.substr(0, 7) == "--file=") {
      jwcount::BenchFile() = std::string(arg.substr(7));
    } else if (arg.substr(0, 11) == "--elements=") {
      elements = std::strtol(argv[i] + 11, nullptr, 10);
    } else {
      rest.push_back(argv[i]);
    }
  }
  std::optional<jwcount::test::ScratchFolder> scratch;
  if (jwcount::BenchFile().empty()) {
    scratch.emplace();
    jwcount::BenchFile() = *scratch / "JWC_TEMP.TXT";
    std::FILE* file = std::fopen(jwcount::BenchFile().c_str(), "wb");
    if (file == nullptr || !jwcount::GeneratePlan(elements, file) || std::fclose(file) != 0) {
      std::fprintf(stderr, "jwcount_bench: cannot write %s\n", jwcount::BenchFile().c_str());
      return 1;
    }
  }
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
