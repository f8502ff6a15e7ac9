// Fuzz target: arbitrary bytes as a kept baseline. Checks: reading never throws or crashes, whatever the
// bytes; a text read as a count compares with itself as unchanged, and its comparison with an empty count
// has no more rows than the figures it holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "report/CountDiff.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_baseline: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const jwcount::SnapshotRead read = jwcount::ReadSnapshot(text);
  if (read.Error != jwcount::SnapshotError::kNone) return 0;
  const jwcount::CountDiff same = jwcount::CompareCounts(read.Snapshot, read.Snapshot);
  for (const jwcount::DiffRow& row : same.Rows)
    Check(!row.Baseline.has_value() && !row.Current.has_value(), "a count differs from itself");
  std::size_t figures = read.Snapshot.Blocks.size() + read.Snapshot.Texts.size() + read.Snapshot.Checks.size();
  for (const auto& table : read.Snapshot.Tables) figures += table.Counts.size() * 15;
  Check(jwcount::CompareCounts(read.Snapshot, {}).Rows.size() <= figures, "more rows than figures");
  return 0;
}
