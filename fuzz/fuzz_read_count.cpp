// Fuzz target: arbitrary bytes as JWC_TEMP.TXT, read through the in-memory file system and counted.
//
// The first input byte chooses how many bytes each read of the file delivers (so that lines, CR LF pairs,
// double-byte characters and Ctrl-Z bytes fall across read boundaries); the rest is the file. Checks:
// - the read succeeds and gives the same state as a read of the whole file in one piece;
// - the entity index is sound: kinds 1 to 15, positions 0, 1, 2, ... per kind, one entry per record;
// - the count's totals agree with the store counts;
// - every element's length or area is finite and not negative, and each row of every table holds exactly
//   the sum of the shares of its elements, added in reading order, with their counts; the totals hold the
//   sum of every share within rounding;
// - the texts and the blocks by name: one row per distinct name with the number of elements of that name,
//   the rows adding up to the total and to the store count;
// - the duplicates are those of a plain map of the elements' keys, counted in reading order;
// - the reply written afterwards is exactly the 28 bytes of the completion message, and nothing else is
//   written.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "counting/CountRun.h"
#include "counting/Quantities.h"
#include "counting/RunSequence.h"
#include "tests/support/DuplicatesByMap.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"

namespace {

using jwcount::CountTable;
using jwcount::CountTables;
using jwcount::ElementQuantity;
using jwcount::EntityAttributes;
using jwcount::JwwGaibu;
using jwcount::RowQuantities;
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

// One row as the tally fills it: its counts by column and its quantities.
struct ExpectedRow {
  int32_t Counts[CountTable::kColumns] = {};
  RowQuantities Sums;

  void Add(int column, const ElementQuantity& q) {
    ++Counts[column];
    Sums.LineLength += q.LineLength;
    Sums.CurveLength += q.CurveLength;
    Sums.Length += q.LineLength + q.CurveLength;
    Sums.Area += q.Area;
  }
};

bool SameSums(const RowQuantities& a, const RowQuantities& b) {
  return a.LineLength == b.LineLength && a.CurveLength == b.CurveLength && a.Length == b.Length &&
         a.Area == b.Area;
}

// Two sums of the same shares (never negative) added in another order: equal but for rounding. Where one
// order ran past the largest double and the other did not quite, both are near it.
bool Near(double a, double b) {
  if (a == b) return true;
  if (std::isinf(a) || std::isinf(b)) return std::min(a, b) > 1e300;
  return std::abs(a - b) <= 1e-9 * std::max(a, b);
}

bool NearSums(const RowQuantities& a, const RowQuantities& b) {
  return Near(a.LineLength, b.LineLength) && Near(a.CurveLength, b.CurveLength) && Near(a.Length, b.Length) &&
         Near(a.Area, b.Area);
}

bool SameCounts(const CountTable& table, int row, const ExpectedRow& expected) {
  for (int column = 1; column < CountTable::kColumns; ++column) {
    if (table.Count(column, row) != expected.Counts[column]) return false;
  }
  return true;
}

// Every element's share of the lengths and areas into the rows of its attributes, as the tally adds
// them, and the rows of the five tables against that: the rows an element went to exactly; the group
// rows, the group subtotals and the totals, which add rows, within rounding. The rows no element went to
// hold nothing: their counts and shares would make the totals differ.
void CheckRows(const JwwGaibu& reader, const CountTables& tables) {
  // (table 1 to 5, row) to what the row must hold; only rows that elements went to.
  std::map<std::pair<int, int>, ExpectedRow> rows;
  ExpectedRow total;
  ExpectedRow* into[5] = {};
  const EntityAttributes* last = nullptr;
  for (int32_t j = 0; j < reader.EntityCount(); ++j) {
    const auto& entry = reader.Entity(j);
    const int column = jwcount::KindColumn(entry.Kind);
    const EntityAttributes& a = reader.Header(entry.Kind, entry.Position);
    const ElementQuantity q = jwcount::QuantityOf(reader.Stores, entry.Kind, entry.Position);
    for (const double share : {q.LineLength, q.CurveLength, q.Area})
      Check(std::isfinite(share) && share >= 0, "a length or area that is not finite or is negative");
    // Elements in a row mostly share their attributes: their rows are looked up once.
    if (last == nullptr || a.LayerGroup != last->LayerGroup || a.Layer != last->Layer ||
        a.LineColour != last->LineColour || a.LineType != last->LineType || a.LineWidth != last->LineWidth) {
      into[0] = &rows[{1, jwcount::LayerRow(a.LayerGroup, a.Layer)}];
      into[1] = &rows[{2, a.LayerGroup + 1}];
      into[2] = &rows[{3, jwcount::LineColourRow(a.LineColour)}];
      into[3] = &rows[{4, jwcount::LineTypeRow(a.LineType)}];
      into[4] = &rows[{5, jwcount::LineWidthRow(a.LineWidth)}];
      last = &a;
    }
    for (ExpectedRow* row : into) row->Add(column, q);
    total.Add(column, q);
  }
  const CountTable* const table[] = {nullptr,     &tables.SG1, &tables.SG2,
                                     &tables.SG3, &tables.SG4, &tables.SG5};
  for (const auto& [where, expected] : rows) {
    const auto [t, row] = where;
    Check(SameCounts(*table[t], row, expected), "a row's counts differ from its elements");
    if (t == 2) {
      // A group row is the group's subtotal in SG1, copied.
      Check(NearSums(tables.SG2.Quantities(row), expected.Sums), "a group row differs from its elements");
      Check(SameSums(tables.SG2.Quantities(row), tables.SG1.Quantities(jwcount::GroupSubtotalRow(row - 1))),
            "a group row differs from its subtotal row");
    } else {
      Check(SameSums(table[t]->Quantities(row), expected.Sums),
            "a row's lengths or areas differ from its elements");
    }
  }
  const int totalRow[] = {0,
                          jwcount::kSg1TotalRow,
                          jwcount::kSg2TotalRow,
                          jwcount::kSg3TotalRow,
                          jwcount::kSg4TotalRow,
                          jwcount::kSg5TotalRow};
  for (int t = 1; t <= 5; ++t) {
    Check(SameCounts(*table[t], totalRow[t], total), "a total row's counts differ from the elements");
    Check(NearSums(table[t]->Quantities(totalRow[t]), total.Sums), "a total row differs from the elements");
  }
}

// A table of elements by name against the names of the store's elements: a row per distinct name, in the
// order first met, with its count; the rows adding up to the total and to the store count.
template <class Store, class NameOf>
void CheckNames(const jwcount::NameCountTable& table, const Store& store, int32_t count, NameOf nameOf) {
  std::unordered_map<std::string_view, int32_t> counts;
  std::vector<std::string_view> order;
  for (int32_t i = 0; i < count; ++i) {
    const std::string_view name = nameOf(store[i]);
    if (counts[name]++ == 0) order.push_back(name);
  }
  Check(table.Rows().size() == order.size(), "a name table's rows are not the distinct names");
  int64_t sum = 0;
  for (std::size_t r = 0; r < order.size(); ++r) {
    const jwcount::NameCountRow& row = table.Rows()[r];
    Check(row.Name == order[r] && row.Count == counts[order[r]],
          "a name table's row differs from its elements");
    sum += row.Count;
  }
  Check(sum == table.Total() && table.Total() == count, "a name table's rows do not add up to its elements");
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
  CheckRows(reader, tables);
  CheckNames(tables.Texts, reader.Stores.Texts, reader.StoreCount(jwcount::kText),
             [](const jwcount::TJwwEntText& t) { return t.Text.View(); });
  CheckNames(tables.Blocks, reader.Stores.Blocks, reader.StoreCount(jwcount::kBlock),
             [](const jwcount::TJwwEntBlk& b) { return b.BlockText.View(); });
  Check(jwcount::test::SameDuplicates(tables.Checks, jwcount::test::DuplicatesByMap(reader)),
        "the duplicates differ from a plain count of the keys");
  Check(pieces.files.size() == 1, "the count wrote a file other than the reply");
  Check(pieces.files[kTempFile] == kReply, "the reply is not exactly the 28 bytes of the message");
  return 0;
}
