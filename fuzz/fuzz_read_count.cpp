// Fuzz target: arbitrary bytes as JWC_TEMP.TXT, read through the in-memory file system and counted.
//
// The first input byte chooses how many bytes each read of the file delivers (so that lines, CR LF pairs,
// double-byte characters and Ctrl-Z bytes fall across read boundaries); the rest is the file. Checks:
// - the read succeeds and gives the same state as a read of the whole file in one piece;
// - the entity index is sound: kinds 1 to 15, positions 0, 1, 2, ... per kind, one entry per record;
// - the count's totals agree with the store counts;
// - the reply written afterwards is exactly the 28 bytes of the completion message, and nothing else is
//   written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CountRun.h"
#include "counting/RunSequence.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"

namespace {

using jwcount::CountTables;
using jwcount::EntityAttributes;
using jwcount::JwwGaibu;
using jwcount::test::FakeFileSystem;
using jwcount::test::kReply;

const std::filesystem::path kFolder = "jw";
const std::filesystem::path kTempFile = kFolder / "JWC_TEMP.TXT";

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_read_count: %s\n", what);
  std::abort();
}

void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

// Every index entry as (kind, position) followed by the seven header values of its record.
std::vector<int32_t> Snapshot(const JwwGaibu& reader) {
  std::vector<int32_t> out;
  for (int32_t j = 0; j < reader.EntityCount(); ++j) {
    const auto& entry = reader.Entity(j);
    const EntityAttributes& a = reader.Header(entry.Kind, entry.Position);
    out.insert(out.end(), {entry.Kind, entry.Position, a.HhpNumber, a.LayerGroup, a.Layer, a.LineColour,
                           a.LineType, a.LineWidth, a.AttributeFlags});
  }
  return out;
}

void CheckIndex(const JwwGaibu& reader) {
  int32_t next[16] = {};
  for (int32_t j = 0; j < reader.EntityCount(); ++j) {
    const auto& entry = reader.Entity(j);
    Check(entry.Kind >= 1 && entry.Kind <= 15, "index entry of an unknown kind");
    Check(entry.Position == next[entry.Kind]++, "positions of a kind do not run 0, 1, 2, ...");
    const EntityAttributes& a = reader.Header(entry.Kind, entry.Position);
    Check(a.LayerGroup >= 0 && a.LayerGroup <= 15 && a.Layer >= 0 && a.Layer <= 15,
          "group or layer out of range");
  }
  int64_t stored = 0;
  for (int32_t kind = 1; kind <= 15; ++kind) {
    Check(reader.StoreCount(kind) == next[kind], "a store holds a record without an index entry");
    stored += reader.StoreCount(kind);
  }
  Check(stored == reader.EntityCount(), "store counts and index count differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = 1 + data[0] % 64;
  const std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);

  FakeFileSystem pieces;
  pieces.readChunk = chunk;
  pieces.files[kTempFile] = file;
  JwwGaibu reader(pieces);
  Check(jwcount::ReadForCount(reader, kTempFile), "reading a file that reads without error gave false");

  FakeFileSystem whole;
  whole.readChunk = file.size() + 1;
  whole.files[kTempFile] = file;
  JwwGaibu wholeReader(whole);
  Check(jwcount::ReadForCount(wholeReader, kTempFile), "reading the file in one piece gave false");
  Check(Snapshot(reader) == Snapshot(wholeReader), "the result depends on how the reads cut the file");

  CheckIndex(reader);

  // One set of tables for all inputs: the count empties them first, and a fresh 30004-row width table
  // for every input would take most of the fuzzing time.
  static CountTables tables;
  jwcount::test::QuietHost host;
  jwcount::CountElements(reader, tables, kFolder, host);
  const jwcount::SummaryCounts summary = jwcount::CountSummary(reader);
  for (int column = 1; column <= 13; ++column) {
    const int32_t expected = summary[column - 1];
    Check(tables.SG1.Count(column, jwcount::kSg1TotalRow) == expected, "SG1 total differs from the stores");
    Check(tables.SG2.Count(column, jwcount::kSg2TotalRow) == expected, "SG2 total differs from the stores");
    Check(tables.SG3.Count(column, jwcount::kSg3TotalRow) == expected, "SG3 total differs from the stores");
    Check(tables.SG4.Count(column, jwcount::kSg4TotalRow) == expected, "SG4 total differs from the stores");
    Check(tables.SG5.Count(column, jwcount::kSg5TotalRow) == expected, "SG5 total differs from the stores");
  }
  Check(pieces.files.size() == 1, "the count wrote a file other than the reply");
  Check(pieces.files[kTempFile] == kReply, "the reply is not exactly the 28 bytes of the message");
  return 0;
}
