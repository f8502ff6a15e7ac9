// The drawing checks, a piece of the entity index at a time. Each element's rounded geometry and content
// is hashed as it is read from its record, with the checks of emptiness; the duplicates are then found
// from the hashes alone, in reading order.
#include "counting/DrawingChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_set>

namespace jwcount {

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

namespace {

// Odd multipliers for the words of a key, two independent sets, from the splitmix64 sequence.
struct Multipliers {
  static constexpr int kWords = 16;
  uint64_t A[kWords];
  uint64_t B[kWords];
};

constexpr Multipliers kMultipliers = [] {
  Multipliers m{};
  uint64_t state = 0x243F6A8885A308D3ull;
  auto next = [&state] {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return (z ^ (z >> 31)) | 1;
  };
  for (int i = 0; i < Multipliers::kWords; ++i) {
    m.A[i] = next();
    m.B[i] = next();
  }
  return m;
}();

uint64_t Avalanche(uint64_t h) {
  h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
  h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
  return h ^ (h >> 31);
}

// Bytes of any length as one 64-bit digest: eight at a time, the length last.
uint64_t BytesDigest(std::string_view bytes, uint64_t seed) {
  uint64_t h = seed;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, bytes.data() + i, 8);
    h = Avalanche(h ^ w);
  }
  // The rest, if any: an empty text may have no bytes at all to copy from.
  uint64_t tail = 0;
  if (i < bytes.size()) std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
  return Avalanche(h ^ tail ^ (static_cast<uint64_t>(bytes.size()) << 56));
}

}  // namespace

// One element's key as two independent 64-bit hashes of its kind, its rounded values (with a word saying
// which were kept exact) and the bytes of its text or name; and what the checks of emptiness found. Each
// word is multiplied by a constant of its place and the products summed, so the multiplications of one
// key run side by side; a final mix spreads every bit.
struct DrawingChecker::Hashed {
  uint64_t A = 0;
  uint64_t B = 0;
  uint64_t ExactFlags = 0;
  int Words = 0;
  int Values = 0;
  bool ZeroLength = false;
  bool ZeroRadius = false;
  bool Blank = false;

  void Word(uint64_t w) {
    A += w * kMultipliers.A[Words];
    B += w * kMultipliers.B[Words];
    ++Words;
  }
  int64_t Value(double v) {
    bool exact = false;
    const int64_t rounded = RoundedThousandths(v, exact);
    Word(static_cast<uint64_t>(rounded));
    ExactFlags |= static_cast<uint64_t>(exact) << Values++;
    return rounded;
  }
  void Integer(int32_t v) { Word(static_cast<uint64_t>(static_cast<int64_t>(v))); }
  // A line's two ends in either order: the smaller end first. True when they coincide.
  bool Ends(double x1, double y1, double x2, double y2) {
    bool e[4] = {};
    const int64_t v[4] = {RoundedThousandths(x1, e[0]), RoundedThousandths(y1, e[1]),
                          RoundedThousandths(x2, e[2]), RoundedThousandths(y2, e[3])};
    const auto first = std::tuple(v[0], v[1], e[0], e[1]);
    const auto second = std::tuple(v[2], v[3], e[2], e[3]);
    const int order[2][4] = {{0, 1, 2, 3}, {2, 3, 0, 1}};
    for (const int i : order[second < first ? 1 : 0]) {
      Word(static_cast<uint64_t>(v[i]));
      ExactFlags |= static_cast<uint64_t>(e[i]) << Values++;
    }
    return first == second;
  }
  void Bytes(std::string_view bytes) {
    Word(BytesDigest(bytes, 0x452821E638D01377ull));
    Word(BytesDigest(bytes, 0xBE5466CF34E90C6Cull));
  }
  void Finish(int32_t kind) {
    Word(ExactFlags);
    A = Avalanche(A + static_cast<uint64_t>(kind));
    B = Avalanche(B + static_cast<uint64_t>(kind) * 0xD6E8FEB86659FD93ull);
  }
};

namespace {

using Hashed = DrawingChecker::Hashed;

template <class Record>
void Corners(Hashed& h, const Record& r) {
  h.Value(r.X1);
  h.Value(r.Y1);
  h.Value(r.X2);
  h.Value(r.Y2);
  if constexpr (requires { r.X3; }) {
    h.Value(r.X3);
    h.Value(r.Y3);
  }
  if constexpr (requires { r.X4; }) {
    h.Value(r.X4);
    h.Value(r.Y4);
  }
}

// The seven values of an arc or a circular solid, then a solid's eighth (an integer in a circle solid).
template <class Record>
void Params(Hashed& h, const Record& r) {
  for (const double v : {r.Param1, r.Param2, r.Param3, r.Param4, r.Param5, r.Param6, r.Param7}) h.Value(v);
  if constexpr (requires { r.Param8; }) {
    if constexpr (std::is_same_v<decltype(r.Param8), int32_t>) {
      h.Integer(r.Param8);
    } else {
      h.Value(r.Param8);
    }
  }
}

// True when v rounds to 0 at a thousandth: |v| below half a thousandth (never for a NaN).
bool RoundsToZero(double v) {
  return std::abs(v * 1000) < 0.5;
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

template <class Record>
const EntityAttributes& Hash(Hashed& h, const Record& r);

// Hashes the key of an element into h, a fresh Hashed, and returns the element's attributes; a solid's
// colour is not part of the key. Filled in place: a returned copy of the struct costs more than the hashing.
const EntityAttributes& HashOf(Hashed& h, const EntityStores& s, int32_t kind, int32_t position) {
  const EntityAttributes* attributes = nullptr;
  VisitStore(s, kind, [&](const auto& store) { attributes = &Hash(h, store[position]); });
  h.Finish(kind);
  return *attributes;
}

template <class Record>
const EntityAttributes& Hash(Hashed& h, const Record& r) {
  if constexpr (std::is_same_v<Record, TJwwEntLine>) {
    h.ZeroLength = h.Ends(r.X1, r.Y1, r.X2, r.Y2);
  } else if constexpr (std::is_same_v<Record, TJwwEntCircle>) {
    h.Value(r.Param1);
    h.Value(r.Param2);
    h.Value(r.Param3);
    h.ZeroRadius = RoundsToZero(r.Param3);
  } else if constexpr (std::is_same_v<Record, TJwwEntArc>) {
    Params(h, r);
    h.ZeroRadius = RoundsToZero(r.Param3);
  } else if constexpr (std::is_same_v<Record, TJwwEntText>) {
    h.Value(r.Param1);
    h.Value(r.Param2);
    h.Bytes(r.Text.View());
    h.Blank = IsBlankText(r.Text.View());
  } else if constexpr (std::is_same_v<Record, TJwwEntPoint>) {
    h.Value(r.X);
    h.Value(r.Y);
  } else if constexpr (std::is_same_v<Record, TJwwEntMarker>) {
    h.Value(r.X);
    h.Value(r.Y);
    h.Integer(r.Param3);
  } else if constexpr (std::is_same_v<Record, TJwwEntDim>) {
    h.Ends(r.DimLine.X1, r.DimLine.Y1, r.DimLine.X2, r.DimLine.Y2);
    h.Bytes(r.DimText.Text.View());
  } else if constexpr (std::is_same_v<Record, TJwwEntBlk>) {
    h.Value(r.X);
    h.Value(r.Y);
    h.Bytes(r.BlockText.View());
  } else if constexpr (requires { r.X1; }) {
    Corners(h, r);
  } else {
    Params(h, r);
  }
  return r.Attrs;
}

int LayerCode(const EntityAttributes& a) {
  return (a.LayerGroup & 15) * 16 + (a.Layer & 15);
}

}  // namespace

DrawingChecker::DrawingChecker(const JwwGaibu& reader)
    : reader_(reader),
      count_(static_cast<std::size_t>(std::max(reader.EntityCount(), 0))),
      elements_(new Element[count_]) {}

bool DrawingChecker::HashPiece(DrawingChecks& found) {
  const int32_t n = reader_.EntityCount();
  const int32_t piece = nextPiece_.fetch_add(1, std::memory_order_relaxed);
  if (piece >= n / kPiece + static_cast<int32_t>(n % kPiece != 0)) return false;
  const int32_t first = piece * kPiece;
  const int32_t end = std::min(n, first + kPiece);
  // Records are asked for this many entries ahead, so that their cache misses overlap the hashing.
  constexpr int32_t kAhead = 16;
  for (int32_t j = first; j < end; ++j) {
#if defined(__GNUC__)
    if (j + kAhead < end) {
      const EntityIndexEntry& next = reader_.Entity(j + kAhead);
      if (next.Kind >= kFirstEntityKind && next.Kind <= kLastEntityKind)
        __builtin_prefetch(&reader_.Header(next.Kind, next.Position));
    }
#endif
    const EntityIndexEntry& e = reader_.Entity(j);
    Element& element = elements_[static_cast<std::size_t>(j)];
    if (e.Kind < kFirstEntityKind || e.Kind > kLastEntityKind) {
      element = {0, 0, 0, 0};
      continue;
    }
    Hashed h;
    const EntityAttributes& a = HashOf(h, reader_.Stores, e.Kind, e.Position);
    if (h.ZeroLength) found.ZeroLengthLines.Add(a);
    if (h.ZeroRadius) found.ZeroRadius.Add(a);
    if (h.Blank) found.EmptyTexts.Add(a);
    element = {h.A, static_cast<uint32_t>(h.B >> 32), static_cast<uint8_t>(e.Kind),
               static_cast<uint8_t>(LayerCode(a))};
  }
  return true;
}

namespace {

// A bitmap of 2^bits bits, indexed by the top bits of a hash.
class HashBitmap {
 public:
  explicit HashBitmap(int bits) : words_(std::size_t{1} << (bits - 6)), shift_(64 - bits) {}
  // Sets the bit of the hash; true when it was set already.
  bool TestAndSet(uint64_t hash) {
    uint64_t& word = words_[hash >> shift_ >> 6];
    const uint64_t bit = uint64_t{1} << (hash >> shift_ & 63);
    const bool was = (word & bit) != 0;
    word |= bit;
    return was;
  }
  bool Test(uint64_t hash) const { return (words_[hash >> shift_ >> 6] >> (hash >> shift_ & 63) & 1) != 0; }

 private:
  std::vector<uint64_t> words_;
  int shift_;
};

}  // namespace

DrawingChecks DrawingChecker::Finish(DrawingChecks found) {
  // A blocked Bloom filter of 16 bits per element: the first hash picks a word, the second two bits in it,
  // so that each key costs one access. A key whose two bits an earlier element set may repeat; about one
  // key in fifty seen once passes for one that may.
  int bits = 16;
  while ((std::size_t{1} << bits) < 16 * count_) ++bits;
  std::vector<uint64_t> seen(std::size_t{1} << (bits - 6), 0);
  const int wordShift = 64 - (bits - 6);
  std::vector<uint64_t> maybe;
  for (const Element& e : Elements()) {
    if (e.Kind == 0) continue;
    uint64_t& word = seen[e.A >> wordShift];
    const uint64_t two = (uint64_t{1} << (e.B & 63)) | (uint64_t{1} << (e.B >> 6 & 63));
    if ((word & two) == two) maybe.push_back(e.A);
    word |= two;
  }
  if (maybe.empty()) return found;
  std::sort(maybe.begin(), maybe.end());
  maybe.erase(std::unique(maybe.begin(), maybe.end()), maybe.end());
  // The elements of those keys, in reading order, found through a bitmap of those keys alone, small enough
  // to stay in the nearest cache when they are few.
  int markedBits = 10;
  while ((std::size_t{1} << markedBits) < 64 * maybe.size() && markedBits < bits) ++markedBits;
  HashBitmap marked(markedBits);
  for (const uint64_t a : maybe) marked.TestAndSet(a);
  std::vector<uint32_t> involved;
  for (std::size_t i = 0; i < count_; ++i) {
    const uint64_t a = elements_[i].A;
    if (elements_[i].Kind != 0 && marked.Test(a) && std::binary_search(maybe.begin(), maybe.end(), a))
      involved.push_back(static_cast<uint32_t>(i));
  }
  // Those through an exact table: the full hashes, the layer of the first element of each key, and for a
  // key found on more than one layer the set of its layers.
  struct Slot {
    uint64_t A = 0;  // 0: empty
    uint32_t B = 0;
    uint8_t FirstLayer = 0;
    bool Spread = false;
  };
  std::size_t capacity = 16;
  while (capacity < 2 * involved.size()) capacity *= 2;
  std::vector<Slot> slots(capacity);
  std::unordered_set<uint64_t> spread;  // (slot, layer) of the keys found on more than one layer
  for (const uint32_t i : involved) {
    const Element& e = elements_[i];
    const uint64_t a = e.A != 0 ? e.A : 1;
    for (std::size_t index = a & (capacity - 1);; index = (index + 1) & (capacity - 1)) {
      Slot& slot = slots[index];
      if (slot.A == 0) {
        slot = {a, e.B, e.Layer, false};
        break;
      }
      if (slot.A != a || slot.B != e.B) continue;
      found.Duplicates.Add(e.Layer);
      found.DuplicatesByKind[e.Kind - 1u].Add(e.Layer);
      const uint64_t key = static_cast<uint64_t>(index) << 8;
      if (!slot.Spread && e.Layer == slot.FirstLayer) {
        ++found.SameLayer;
      } else if (!slot.Spread) {
        slot.Spread = true;
        spread.insert(key | slot.FirstLayer);
        spread.insert(key | e.Layer);
      } else if (!spread.insert(key | e.Layer).second) {
        ++found.SameLayer;
      }
      break;
    }
  }
  return found;
}

void CheckFinding::Add(const EntityAttributes& a) {
  Add(LayerCode(a));
}

void CheckFinding::Add(int layer) {
  ++Count;
  Layers.set(static_cast<std::size_t>(layer));
}

bool DrawingChecks::Found() const {
  return Duplicates.Count > 0 || ZeroLengthLines.Count > 0 || ZeroRadius.Count > 0 || EmptyTexts.Count > 0;
}

void AddFindings(DrawingChecks& whole, const DrawingChecks& part) {
  auto add = [](CheckFinding& to, const CheckFinding& from) {
    to.Count += from.Count;
    to.Layers |= from.Layers;
  };
  add(whole.Duplicates, part.Duplicates);
  whole.SameLayer += part.SameLayer;
  for (std::size_t k = 0; k < whole.DuplicatesByKind.size(); ++k)
    add(whole.DuplicatesByKind[k], part.DuplicatesByKind[k]);
  add(whole.ZeroLengthLines, part.ZeroLengthLines);
  add(whole.ZeroRadius, part.ZeroRadius);
  add(whole.EmptyTexts, part.EmptyTexts);
}

DrawingChecks CheckDrawing(const JwwGaibu& reader) {
  DrawingChecker checker(reader);
  DrawingChecks found;
  while (checker.HashPiece(found)) {
  }
  return checker.Finish(found);
}

}  // namespace jwcount
