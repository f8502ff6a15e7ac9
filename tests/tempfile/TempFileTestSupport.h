// Shared helpers of the exchange-file tests: a reader fed from a list of lines and views of what it
// stored, with the file system in memory and the scratch folder of all tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "tempfile/JwwGaibu.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/ScratchFolder.h"

namespace jwcount::test {

// A fresh reader that has run the record chain on each line in order.
template <class Lines>
std::unique_ptr<JwwGaibu> ReadLineList(const Lines& lines) {
  auto reader = std::make_unique<JwwGaibu>();
  for (const auto& line : lines) reader->ParseLine(line);
  return reader;
}
inline std::unique_ptr<JwwGaibu> ReadLines(std::initializer_list<std::string_view> lines) {
  return ReadLineList(lines);
}

using Entries = std::vector<std::pair<int32_t, int32_t>>;

// The index entries as (kind, position) pairs, in reading order.
inline Entries IndexEntries(const JwwGaibu& reader) {
  Entries entries;
  for (int32_t j = 0; j < reader.EntityCount(); ++j)
    entries.emplace_back(reader.Entity(j).Kind, reader.Entity(j).Position);
  return entries;
}

// The seven header values in header order.
inline std::vector<int32_t> HeaderValues(const EntityAttributes& a) {
  return {a.HhpNumber, a.LayerGroup, a.Layer, a.LineColour, a.LineType, a.LineWidth, a.AttributeFlags};
}

inline std::vector<double> Ends(const TJwwEntLine& l) {
  return {l.X1, l.Y1, l.X2, l.Y2};
}

}  // namespace jwcount::test
