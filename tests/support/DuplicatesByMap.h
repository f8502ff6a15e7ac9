// The duplicate check counted the slow and plain way, to hold the checker's hashing against: every
// element's key into an ordered map, in reading order.
#pragma once

#include <bitset>
#include <map>

#include "counting/CheckKey.h"
#include "counting/DrawingChecks.h"

namespace jwcount::test {

// The duplicates of every element the reader holds (the checks of emptiness are left at nothing).
inline DrawingChecks DuplicatesByMap(const JwwGaibu& reader) {
  DrawingChecks found;
  std::map<CheckKey, std::bitset<kLayerCount>> layersOf;  // the layers each key was met on
  for (int32_t j = 0; j < reader.EntityCount(); ++j) {
    const EntityIndexEntry& e = reader.Entity(j);
    const EntityAttributes& a = reader.Header(e.Kind, e.Position);
    const int layer = (a.LayerGroup & 15) * 16 + (a.Layer & 15);
    const auto [it, first] = layersOf.try_emplace(CheckKeyOf(reader.Stores, e.Kind, e.Position));
    if (!first) {
      found.Duplicates.Add(layer);
      found.DuplicatesByKind[static_cast<std::size_t>(e.Kind - 1)].Add(layer);
      found.SameLayer += it->second.test(static_cast<std::size_t>(layer)) ? 1 : 0;
    }
    it->second.set(static_cast<std::size_t>(layer));
  }
  return found;
}

// True when the two agree on the duplicates: counts, layers, the same-layer count and every kind.
inline bool SameDuplicates(const DrawingChecks& a, const DrawingChecks& b) {
  auto same = [](const CheckFinding& x, const CheckFinding& y) {
    return x.Count == y.Count && x.Layers == y.Layers;
  };
  if (!same(a.Duplicates, b.Duplicates) || a.SameLayer != b.SameLayer) return false;
  for (std::size_t k = 0; k < a.DuplicatesByKind.size(); ++k) {
    if (!same(a.DuplicatesByKind[k], b.DuplicatesByKind[k])) return false;
  }
  return true;
}

}  // namespace jwcount::test
