// The drawing checks in one pass over the entity index. The duplicate check hashes each element's rounded
// geometry and content into an open-addressed table; a hash that matches is confirmed by comparing the two
// elements' keys in full, so two different elements never count as one.
#include "counting/DrawingChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace jwcount {
namespace {

// An element's geometry and content as a check compares them: its kind, up to nine rounded values (a
// flag word marks the values kept exact) and the bytes of its text or name.
struct Key {
  static constexpr int kMaxWords = 10;
  int32_t Kind = 0;
  int Size = 0;
  uint64_t Words[kMaxWords] = {};
  std::string_view Bytes;

  bool operator==(const Key& other) const {
    return Kind == other.Kind && Size == other.Size && Bytes == other.Bytes &&
           std::equal(Words, Words + Size, other.Words);
  }
};

// Adds values to a key, rounded, noting in the last word which were kept exact.
class KeyBuilder {
 public:
  explicit KeyBuilder(int32_t kind) { key_.Kind = kind; }
  KeyBuilder& Value(double v) {
    bool exact = false;
    key_.Words[key_.Size] = static_cast<uint64_t>(RoundedThousandths(v, exact));
    exactFlags_ |= static_cast<uint64_t>(exact) << key_.Size;
    ++key_.Size;
    return *this;
  }
  KeyBuilder& Integer(int32_t v) {
    key_.Words[key_.Size++] = static_cast<uint64_t>(static_cast<int64_t>(v));
    return *this;
  }
  // A line's two ends in either order: the smaller end first.
  KeyBuilder& Ends(double x1, double y1, double x2, double y2) {
    bool e[4] = {};
    int64_t v[4] = {RoundedThousandths(x1, e[0]), RoundedThousandths(y1, e[1]), RoundedThousandths(x2, e[2]),
                    RoundedThousandths(y2, e[3])};
    const auto first = std::tuple(v[0], v[1], e[0], e[1]);
    const auto second = std::tuple(v[2], v[3], e[2], e[3]);
    if (second < first) {
      std::swap(v[0], v[2]);
      std::swap(v[1], v[3]);
      std::swap(e[0], e[2]);
      std::swap(e[1], e[3]);
    }
    for (int i = 0; i < 4; ++i) {
      key_.Words[key_.Size] = static_cast<uint64_t>(v[i]);
      exactFlags_ |= static_cast<uint64_t>(e[i]) << key_.Size;
      ++key_.Size;
    }
    return *this;
  }
  KeyBuilder& Bytes(std::string_view bytes) {
    key_.Bytes = bytes;
    return *this;
  }
  Key Done() {
    key_.Words[key_.Size++] = exactFlags_;
    return key_;
  }

 private:
  Key key_;
  uint64_t exactFlags_ = 0;
};

template <class Record>
KeyBuilder& Corners(KeyBuilder& b, const Record& r) {
  b.Value(r.X1).Value(r.Y1).Value(r.X2).Value(r.Y2);
  if constexpr (requires { r.X3; }) b.Value(r.X3).Value(r.Y3);
  if constexpr (requires { r.X4; }) b.Value(r.X4).Value(r.Y4);
  return b;
}

template <class Record>
KeyBuilder& Params(KeyBuilder& b, const Record& r) {
  b.Value(r.Param1).Value(r.Param2).Value(r.Param3).Value(r.Param4).Value(r.Param5).Value(r.Param6).Value(
      r.Param7);
  if constexpr (std::is_same_v<decltype(r.Param8), int32_t>) {
    b.Integer(r.Param8);
  } else {
    b.Value(r.Param8);
  }
  return b;
}

// The key of the element at (kind, position); the solid's colour is not part of it.
Key KeyOf(const EntityStores& s, int32_t kind, int32_t position) {
  KeyBuilder b(kind);
  switch (kind) {
    case kLine: {
      const TJwwEntLine& r = s.Lines[position];
      return b.Ends(r.X1, r.Y1, r.X2, r.Y2).Done();
    }
    case kCircle: {
      const TJwwEntCircle& r = s.Circles[position];
      return b.Value(r.Param1).Value(r.Param2).Value(r.Param3).Done();
    }
    case kArc: {
      const TJwwEntArc& r = s.Arcs[position];
      return b.Value(r.Param1)
          .Value(r.Param2)
          .Value(r.Param3)
          .Value(r.Param4)
          .Value(r.Param5)
          .Value(r.Param6)
          .Value(r.Param7)
          .Done();
    }
    case kText: {
      const TJwwEntText& r = s.Texts[position];
      return b.Value(r.Param1).Value(r.Param2).Bytes(r.Text.View()).Done();
    }
    case kPoint: {
      const TJwwEntPoint& r = s.Points[position];
      return b.Value(r.X).Value(r.Y).Done();
    }
    case kMarker: {
      const TJwwEntMarker& r = s.Markers[position];
      return b.Value(r.X).Value(r.Y).Integer(r.Param3).Done();
    }
    case kDimension: {
      const TJwwEntDim& r = s.Dimensions[position];
      const TJwwEntLine& l = r.DimLine;
      return b.Ends(l.X1, l.Y1, l.X2, l.Y2).Bytes(r.DimText.Text.View()).Done();
    }
    case kBlock: {
      const TJwwEntBlk& r = s.Blocks[position];
      return b.Value(r.X).Value(r.Y).Bytes(r.BlockText.View()).Done();
    }
    case kSolidLine:
      return Corners(b, s.SolidLines[position]).Done();
    case kSolidTriangle:
      return Corners(b, s.SolidTriangles[position]).Done();
    case kSolidQuad:
      return Corners(b, s.SolidQuads[position]).Done();
    case kSolidCircle:
      return Params(b, s.SolidCircles[position]).Done();
    case kSolidCircumference:
      return Params(b, s.SolidCircumferences[position]).Done();
    case kSolidRingO:
      return Params(b, s.SolidRingsO[position]).Done();
    case kSolidRingG:
      return Params(b, s.SolidRingsG[position]).Done();
    default:
      return b.Done();
  }
}

uint64_t Mix(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  h *= 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 31);
}

uint64_t HashOf(const Key& key) {
  uint64_t h = Mix(0x243F6A8885A308D3ull, static_cast<uint64_t>(key.Kind));
  for (int i = 0; i < key.Size; ++i) h = Mix(h, key.Words[i]);
  for (const char c : key.Bytes) h = Mix(h, static_cast<unsigned char>(c));
  h = Mix(h, key.Bytes.size());
  return h != 0 ? h : 1;  // 0 marks an empty slot
}

// A text of nothing: no bytes, or only half-width blanks and full-width blanks (0x81 0x40), character by
// character.
bool IsBlankText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
    } else if (i + 1 < text.size() && text[i] == '\x81' && text[i + 1] == '\x40') {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

int LayerCode(const EntityAttributes& a) {
  return (a.LayerGroup & 15) * 16 + (a.Layer & 15);
}

// The duplicate check: every key seen, in an open-addressed table of hashes with the reading place of the
// first element that had it.
class DuplicateFinder {
 public:
  DuplicateFinder(const JwwGaibu& reader, DrawingChecks& checks) : reader_(reader), checks_(checks) {
    std::size_t capacity = 16;
    while (capacity < 2 * static_cast<std::size_t>(reader.EntityCount())) capacity *= 2;
    hashes_.assign(capacity, 0);
    firsts_.assign(capacity, 0);
  }

  void Take(int32_t j, const Key& key, uint64_t hash, const EntityAttributes& a) {
    const std::size_t mask = hashes_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      if (hashes_[slot] == 0) {
        hashes_[slot] = hash;
        firsts_[slot] = j;
        return;
      }
      if (hashes_[slot] != hash) continue;
      const int32_t first = firsts_[slot];
      const EntityIndexEntry& e = reader_.Entity(first);
      if (!(KeyOf(reader_.Stores, e.Kind, e.Position) == key)) continue;
      NoteDuplicate(first, reader_.Header(e.Kind, e.Position), key.Kind, a);
      return;
    }
  }

  void Prefetch(uint64_t hash) const {
#if defined(__GNUC__)
    __builtin_prefetch(&hashes_[hash & (hashes_.size() - 1)]);
#else
    (void)hash;
#endif
  }

 private:
  // An element whose key the element at `first` had before it. Which layers hold elements of that key is
  // kept only for keys that turn out to have duplicates, which are few.
  void NoteDuplicate(int32_t first, const EntityAttributes& firstAttrs, int32_t kind,
                     const EntityAttributes& a) {
    checks_.Duplicates.Add(a);
    checks_.DuplicatesByKind[static_cast<std::size_t>(kind - 1)].Add(a);
    layersOfKey_.insert(Pair(first, LayerCode(firstAttrs)));
    if (!layersOfKey_.insert(Pair(first, LayerCode(a))).second) ++checks_.SameLayer;
  }
  static uint64_t Pair(int32_t first, int layer) {
    return static_cast<uint64_t>(static_cast<uint32_t>(first)) << 8 | static_cast<uint64_t>(layer);
  }

  const JwwGaibu& reader_;
  DrawingChecks& checks_;
  std::vector<uint64_t> hashes_;
  std::vector<int32_t> firsts_;
  std::unordered_set<uint64_t> layersOfKey_;  // (first element of a key, layer) for duplicated keys
};

bool IsZero(uint64_t word, const Key& key, int index) {
  const bool exact = (key.Words[key.Size - 1] >> index) & 1;
  return !exact && word == 0;
}

}  // namespace

void CheckFinding::Add(const EntityAttributes& a) {
  ++Count;
  Layers.set(static_cast<std::size_t>(LayerCode(a)));
}

bool DrawingChecks::Found() const {
  return Duplicates.Count > 0 || ZeroLengthLines.Count > 0 || ZeroRadius.Count > 0 || EmptyTexts.Count > 0;
}

int64_t RoundedThousandths(double v, bool& exact) {
  const double x = v * 1000;
  exact = !(std::abs(x) < 9.2e18);  // also true for a NaN
  if (exact) {
    int64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
  }
  // Truncated, then moved away from zero when the part cut off is half or more; the part is exact, since
  // below 2^53 a double's fraction survives the subtraction and above it there is none.
  int64_t t = static_cast<int64_t>(x);
  const double cut = x - static_cast<double>(t);
  t += static_cast<int64_t>(cut >= 0.5) - static_cast<int64_t>(cut <= -0.5);
  return t;
}

DrawingChecks CheckDrawing(const JwwGaibu& reader) {
  DrawingChecks checks;
  DuplicateFinder duplicates(reader, checks);
  // In batches, so that the table's cache misses of one batch overlap.
  constexpr int32_t kBatch = 32;
  Key keys[kBatch];
  uint64_t hashes[kBatch];
  const int32_t n = reader.EntityCount();
  for (int32_t start = 0; start < n; start += kBatch) {
    const int32_t size = std::min(kBatch, n - start);
    for (int32_t i = 0; i < size; ++i) {
      const EntityIndexEntry& e = reader.Entity(start + i);
      keys[i] = KeyOf(reader.Stores, e.Kind, e.Position);
      hashes[i] = HashOf(keys[i]);
      duplicates.Prefetch(hashes[i]);
    }
    for (int32_t i = 0; i < size; ++i) {
      const EntityIndexEntry& e = reader.Entity(start + i);
      if (e.Kind < kFirstEntityKind || e.Kind > kLastEntityKind) continue;
      const EntityAttributes& a = reader.Header(e.Kind, e.Position);
      const Key& key = keys[i];
      duplicates.Take(start + i, key, hashes[i], a);
      if (e.Kind == kLine && key.Words[0] == key.Words[2] && key.Words[1] == key.Words[3] &&
          ((key.Words[4] & 3) == ((key.Words[4] >> 2) & 3)))
        checks.ZeroLengthLines.Add(a);
      if ((e.Kind == kCircle || e.Kind == kArc) && IsZero(key.Words[2], key, 2)) checks.ZeroRadius.Add(a);
      if (e.Kind == kText && IsBlankText(key.Bytes)) checks.EmptyTexts.Add(a);
    }
  }
  return checks;
}

}  // namespace jwcount
