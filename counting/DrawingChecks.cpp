// The drawing checks, a piece of the entity index at a time. Each element's key (its rounded geometry and
// content) is made and hashed as its record is read, with the checks of emptiness; the duplicates are then
// found in reading order, the hashes picking the candidates and their keys, made again from their records,
// deciding.
#include "counting/DrawingChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unordered_set>

#include "counting/CheckKey.h"
#include "counting/CheckList.h"

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

// Odd multipliers for the words of a key, from the splitmix64 sequence.
struct Multipliers {
  static constexpr int kWords = 16;
  uint64_t A[kWords];
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
  for (int i = 0; i < Multipliers::kWords; ++i) m.A[i] = next();
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

// Writes an element's values into its key, one after the other.
class KeyWriter {
 public:
  explicit KeyWriter(CheckKey& key) : key_(key) {}

  // How many values are written.
  int Count() const { return count_; }

  void Value(double v) {
    bool exact = false;
    key_.Values[count_] = RoundedThousandths(v, exact);
    key_.ExactFlags |= static_cast<uint32_t>(exact) << count_;
    ++count_;
  }
  void Integer(int32_t v) { key_.Values[count_++] = v; }
  // A line's two ends in either order: the smaller end first, by rounded values and then exact flags.
  void Ends(double x1, double y1, double x2, double y2) {
    bool e[4] = {};
    const int64_t v[4] = {RoundedThousandths(x1, e[0]), RoundedThousandths(y1, e[1]),
                          RoundedThousandths(x2, e[2]), RoundedThousandths(y2, e[3])};
    const auto first = std::tuple(v[0], v[1], e[0], e[1]);
    const auto second = std::tuple(v[2], v[3], e[2], e[3]);
    const int order[2][4] = {{0, 1, 2, 3}, {2, 3, 0, 1}};
    for (const int i : order[second < first ? 1 : 0]) {
      key_.Values[count_] = v[i];
      key_.ExactFlags |= static_cast<uint32_t>(e[i]) << count_;
      ++count_;
    }
  }
  void Bytes(std::string_view bytes) { key_.Bytes = bytes; }

 private:
  CheckKey& key_;
  int count_ = 0;
};

template <class Record>
void Corners(KeyWriter& w, const Record& r) {
  w.Value(r.X1);
  w.Value(r.Y1);
  w.Value(r.X2);
  w.Value(r.Y2);
  if constexpr (requires { r.X3; }) {
    w.Value(r.X3);
    w.Value(r.Y3);
  }
  if constexpr (requires { r.X4; }) {
    w.Value(r.X4);
    w.Value(r.Y4);
  }
}

// The seven values of an arc or a circular solid, then a solid's eighth (an integer in a circle solid).
template <class Record>
void Params(KeyWriter& w, const Record& r) {
  for (const double v : {r.Param1, r.Param2, r.Param3, r.Param4, r.Param5, r.Param6, r.Param7}) w.Value(v);
  if constexpr (requires { r.Param8; }) {
    if constexpr (std::is_same_v<decltype(r.Param8), int32_t>) {
      w.Integer(r.Param8);
    } else {
      w.Value(r.Param8);
    }
  }
}

// The key of one record but for its kind; a solid's colour is not part of it.
template <class Record>
void WriteKey(KeyWriter& w, const Record& r) {
  if constexpr (std::is_same_v<Record, TJwwEntLine>) {
    w.Ends(r.X1, r.Y1, r.X2, r.Y2);
  } else if constexpr (std::is_same_v<Record, TJwwEntCircle>) {
    w.Value(r.Param1);
    w.Value(r.Param2);
    w.Value(r.Param3);
  } else if constexpr (std::is_same_v<Record, TJwwEntArc>) {
    Params(w, r);
  } else if constexpr (std::is_same_v<Record, TJwwEntText>) {
    w.Value(r.Param1);
    w.Value(r.Param2);
    w.Bytes(r.Text.View());
  } else if constexpr (std::is_same_v<Record, TJwwEntPoint>) {
    w.Value(r.X);
    w.Value(r.Y);
  } else if constexpr (std::is_same_v<Record, TJwwEntMarker>) {
    w.Value(r.X);
    w.Value(r.Y);
    w.Integer(r.Param3);
  } else if constexpr (std::is_same_v<Record, TJwwEntDim>) {
    w.Ends(r.DimLine.X1, r.DimLine.Y1, r.DimLine.X2, r.DimLine.Y2);
    w.Bytes(r.DimText.Text.View());
  } else if constexpr (std::is_same_v<Record, TJwwEntBlk>) {
    w.Value(r.X);
    w.Value(r.Y);
    w.Bytes(r.BlockText.View());
  } else if constexpr (requires { r.X1; }) {
    Corners(w, r);
  } else {
    Params(w, r);
  }
}

// Fills `key`, a fresh CheckKey, with the key of the element at (kind, position).
void FillKey(CheckKey& key, const EntityStores& s, int32_t kind, int32_t position) {
  VisitStore(s, kind, [&](const auto& store) {
    KeyWriter w(key);
    WriteKey(w, store[position]);
    key.Kind = kind;
  });
}

// A key's 32-bit hash, never 0 (0 marks an entry of no known kind). Each value is multiplied by a constant
// of its place and the products summed, so the multiplications of one key run side by side; the exact flags
// and a digest of the bytes are two more such values, and a final mix with the kind spreads every bit.
// `values` is the number of values the kind has: those after it are 0 and add nothing. The hash only picks
// the elements whose keys are compared, so a hash shared by two keys costs a comparison, never a wrong
// count.
inline uint32_t HashOf(const CheckKey& key, int values) {
  uint64_t h = 0;
  auto word = [&h](uint64_t w, int place) { h += w * kMultipliers.A[place]; };
  for (int i = 0; i < values; ++i) word(static_cast<uint64_t>(key.Values[i]), i);
  word(key.ExactFlags, CheckKey::kMaxValues);
  if (!key.Bytes.empty()) word(BytesDigest(key.Bytes, 0x452821E638D01377ull), CheckKey::kMaxValues + 1);
  h = Avalanche(h + static_cast<uint64_t>(key.Kind));
  const auto folded = static_cast<uint32_t>(h ^ (h >> 32));
  return folded != 0 ? folded : 1;
}

// True when the key's value at `place` rounds to 0: it lies within half a thousandth of 0 (never a NaN,
// which keeps its exact bits).
bool RoundsToZero(const CheckKey& key, int place) {
  return key.Values[place] == 0 && (key.ExactFlags >> place & 1) == 0;
}

// True when a line's two ends, the first four values of its key, coincide once rounded.
bool EndsCoincide(const CheckKey& key) {
  return key.Values[0] == key.Values[2] && key.Values[1] == key.Values[3] &&
         (key.ExactFlags & 3) == (key.ExactFlags >> 2 & 3);
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

// Makes and hashes the key of one record of the given kind. `empty` is set to the check of emptiness that
// finds the record (a line of no length, a radius of 0, a text of nothing), or to nullptr. The key is made
// on the stack and never copied.
template <class Record>
uint32_t HashRecord(const Record& r, int32_t kind, DrawingChecks& found, CheckFinding*& empty) {
  CheckKey key;
  key.Kind = kind;
  KeyWriter w(key);
  WriteKey(w, r);
  empty = nullptr;
  if constexpr (std::is_same_v<Record, TJwwEntLine>) {
    if (EndsCoincide(key)) empty = &found.ZeroLengthLines;
  } else if constexpr (std::is_same_v<Record, TJwwEntCircle> || std::is_same_v<Record, TJwwEntArc>) {
    if (RoundsToZero(key, 2)) empty = &found.ZeroRadius;
  } else if constexpr (std::is_same_v<Record, TJwwEntText>) {
    if (IsBlankText(key.Bytes)) empty = &found.EmptyTexts;
  }
  return HashOf(key, w.Count());
}

int LayerCode(const EntityAttributes& a) {
  return (a.LayerGroup & 15) * 16 + (a.Layer & 15);
}

// True when the entries j and i name records of the same kind that are equal byte for byte: a copy has
// the key, the layer and the findings of the record it copies. Stores are zeroed before records are
// written into them, so the bytes between fields are equal too.
bool SameRecord(const JwwGaibu& reader, int32_t j, int32_t i) {
  const EntityIndexEntry& x = reader.Entity(j);
  const EntityIndexEntry& y = reader.Entity(i);
  bool same = false;
  if (x.Kind == y.Kind) {
    VisitStore(reader.Stores, x.Kind, [&](const auto& store) {
      same = std::memcmp(&store[x.Position], &store[y.Position], sizeof(store[x.Position])) == 0;
    });
  }
  return same;
}

}  // namespace

CheckKey CheckKeyOf(const EntityStores& stores, int32_t kind, int32_t position) {
  CheckKey key;
  FillKey(key, stores, kind, position);
  return key;
}

DrawingChecker::DrawingChecker(const JwwGaibu& reader)
    : reader_(reader),
      count_(static_cast<std::size_t>(std::max(reader.EntityCount(), 0))),
      hashMemory_(count_ * sizeof(uint32_t)),
      hashes_(static_cast<uint32_t*>(hashMemory_.Data())),
      copyMemory_((count_ + 63) / 64 * sizeof(uint64_t)),
      copies_(static_cast<uint64_t*>(copyMemory_.Data())) {}

bool DrawingChecker::HashPiece(DrawingChecks& found) {
  const int32_t n = reader_.EntityCount();
  const int32_t piece = nextPiece_.fetch_add(1, std::memory_order_relaxed);
  if (piece >= n / kPiece + static_cast<int32_t>(n % kPiece != 0)) return false;
  const int32_t first = piece * kPiece;
  const int32_t end = std::min(n, first + kPiece);
  // Records are asked for this many entries ahead, so that their cache misses overlap the hashing.
  constexpr int32_t kAhead = 16;
  // What the element before found empty, and its layer, repeated for a copy of it.
  CheckFinding* empty = nullptr;
  int emptyLayer = 0;
  uint64_t copyWord = 0;
  // The record of the element before, and its kind (0 for none).
  const void* before = nullptr;
  int32_t beforeKind = 0;
  if (first > 0) {
    const EntityIndexEntry& e = reader_.Entity(first - 1);
    VisitStore(reader_.Stores, e.Kind, [&](const auto& store) { before = &store[e.Position]; });
    beforeKind = before != nullptr ? e.Kind : 0;
  }
  for (int32_t j = first; j < end; ++j) {
#if defined(__GNUC__)
    if (j + kAhead < end) {
      const EntityIndexEntry& next = reader_.Entity(j + kAhead);
      if (next.Kind >= kFirstEntityKind && next.Kind <= kLastEntityKind)
        __builtin_prefetch(&reader_.Header(next.Kind, next.Position));
    }
#endif
    const EntityIndexEntry& e = reader_.Entity(j);
    const int32_t kind = e.Kind;
    // A copy of the element before it, byte for byte, is only marked: its hash is that element's and is
    // never asked for, so a drawing of copies leaves the pages of hashes untouched. The first element of a
    // piece is hashed all the same, for what it finds empty.
    VisitStore(reader_.Stores, kind, [&](const auto& store) {
      const auto& record = store[e.Position];
      const bool copy = kind == beforeKind && std::memcmp(before, &record, sizeof record) == 0;
      before = &record;
      if (copy) copyWord |= uint64_t{1} << (j & 63);
      if (copy && j > first) {
        if (empty != nullptr) NoteEmpty(*empty, emptyLayer, j);
        return;
      }
      const uint32_t hash = HashRecord(record, kind, found, empty);
      if (!copy) hashes_[static_cast<std::size_t>(j)] = hash;
      if (empty != nullptr) {
        emptyLayer = LayerCode(record.Attrs);
        NoteEmpty(*empty, emptyLayer, j);
      }
    });
    if (kind < kFirstEntityKind || kind > kLastEntityKind) {
      empty = nullptr;  // its hash stays 0, as the memory came
      before = nullptr;
      beforeKind = 0;
    } else {
      beforeKind = kind;
    }
    // Pieces start at multiples of 64, so each word of copies is written by the thread of its piece.
    if ((j & 63) == 63 || j + 1 == end) {
      copies_[static_cast<std::size_t>(j) / 64] = copyWord;
      copyWord = 0;
    }
  }
  return true;
}

namespace {

// A hash spread over 64 bits, whose top bits depend on all of its own: what picks a word of a filter.
uint64_t Spread(uint32_t hash) {
  return hash * 0x9E3779B97F4A7C15ull;
}

// A blocked Bloom filter of 8 bits per element: the spread hash's top bits pick a word, the hash's lowest
// twelve bits two bits in it, so that each key costs one access. A key whose two bits an earlier element
// set may repeat; about one key in twenty seen once passes for one that may.
class SeenFilter {
 public:
  explicit SeenFilter(std::size_t elements) {
    int bits = 16;
    while ((std::size_t{1} << bits) < 8 * elements) ++bits;
    memory_ = ZeroedBlock(std::size_t{8} << (bits - 6));
    words_ = static_cast<uint64_t*>(memory_.Data());
    shift_ = 64 - (bits - 6);
  }
  // Notes the hash; true when it may have been noted before.
  bool Note(uint32_t hash) {
    uint64_t& word = words_[Spread(hash) >> shift_];
    const uint64_t two = (uint64_t{1} << (hash & 63)) | (uint64_t{1} << (hash >> 6 & 63));
    const bool seen = (word & two) == two;
    word |= two;
    return seen;
  }
  // Asks for the word of a hash about to be noted, so that its cache miss overlaps the work before.
  void Prefetch(uint32_t hash) const {
#if defined(__GNUC__)
    __builtin_prefetch(&words_[Spread(hash) >> shift_]);
#endif
  }

 private:
  ZeroedBlock memory_;
  uint64_t* words_ = nullptr;
  int shift_ = 0;
};

// A set of hashes, sorted, with a bitmap in front small enough to stay in the nearest cache when they are
// few: most hashes asked for are not in the set, and the bitmap answers those.
class HashSet {
 public:
  explicit HashSet(std::vector<uint32_t> sorted) : hashes_(std::move(sorted)) {
    int bits = 10;
    while ((std::size_t{1} << bits) < 64 * hashes_.size() && bits < 32) ++bits;
    words_.assign(std::size_t{1} << (bits - 6), 0);
    shift_ = 64 - bits;
    for (const uint32_t a : hashes_) {
      const uint64_t at = Spread(a) >> shift_;
      words_[at >> 6] |= uint64_t{1} << (at & 63);
    }
  }
  bool Has(uint32_t hash) const {
    const uint64_t at = Spread(hash) >> shift_;
    return (words_[at >> 6] >> (at & 63) & 1) != 0 &&
           std::binary_search(hashes_.begin(), hashes_.end(), hash);
  }

 private:
  std::vector<uint32_t> hashes_;
  std::vector<uint64_t> words_;
  int shift_ = 0;
};

// The distinct keys of the candidates, met in reading order: open addressing on the hash, each slot naming
// the first element of its key and, once asked for, the layer it lies on; for a key found on more than one
// layer, the set of its layers. An element whose hash matches a slot's is a duplicate only when its key,
// made again from its record, equals the key of the slot's first element; otherwise the search goes on,
// and a key of its own takes the next free slot. Records are read only where a key repeats: a candidate
// whose key turns out to be its own costs a slot and nothing more.
class KeyTable {
 public:
  // `marks`, when given, gets a bit for every duplicate.
  KeyTable(const JwwGaibu& reader, DrawingChecks& found, uint64_t* marks)
      : reader_(reader), found_(found), marks_(marks), slots_(16) {}

  // The element i, whose key hashes to a. When its record is that of the element added just before, byte
  // for byte (a drawing of copies), its key is known without being made.
  void Add(std::size_t i, uint32_t a) {
    const bool copy = last_ != kNone && lastHash_ == a && SameRecord(reader_, Index(last_), Index(i));
    last_ = i;
    lastHash_ = a;
    bool keyMade = false;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t index = a & mask;; index = (index + 1) & mask) {
      Slot& slot = slots_[index];
      if (slot.A == 0) {
        slot = {a, static_cast<uint32_t>(i)};
        lastFirst_ = slot.First;
        if (2 * ++used_ > slots_.size()) Grow();
        return;
      }
      if (slot.A != a) continue;
      if (copy) {
        if (slot.First != lastFirst_) continue;
      } else {
        if (!keyMade) {
          MakeKey(key_, i);
          keyMade = true;
        }
        if (firstKeyOf_ != slot.First) {
          MakeKey(firstKey_, slot.First);
          firstKeyOf_ = slot.First;
        }
        if (key_ != firstKey_) continue;
      }
      lastFirst_ = slot.First;
      AddDuplicate(slot, i);
      return;
    }
  }

  // `times` copies, byte for byte, of the element added last: each is a duplicate of the same key on the
  // same layer as that element, which the table holds already.
  void AddCopies(std::size_t times) {
    const Attributes a = AttributesOf(last_);
    for (CheckFinding* f :
         {&found_.Duplicates, &found_.DuplicatesByKind[static_cast<std::size_t>(a.Kind - 1)]}) {
      f->Count += static_cast<int32_t>(times);
      f->Layers.set(a.Layer);
    }
    found_.SameLayer += static_cast<int32_t>(times);
    if (marks_ != nullptr) {
      for (std::size_t i = last_ + 1; i <= last_ + times; ++i) Mark(i);
    }
    last_ += times;
  }

 private:
  static constexpr std::size_t kNone = ~std::size_t{0};

  struct Slot {
    uint32_t A = 0;  // 0: empty (no element's hash is 0)
    uint32_t First = 0;
    uint8_t FirstLayer = 0;
    bool LayerKnown = false;
    bool Spread = false;
  };
  struct Attributes {
    int32_t Kind;
    uint8_t Layer;
  };

  static int32_t Index(std::size_t i) { return static_cast<int32_t>(i); }
  void Mark(std::size_t i) { marks_[i / 64] |= uint64_t{1} << (i % 64); }

  Attributes AttributesOf(std::size_t i) const {
    const EntityIndexEntry& entry = reader_.Entity(Index(i));
    return {entry.Kind, static_cast<uint8_t>(LayerCode(reader_.Header(entry.Kind, entry.Position)))};
  }

  void MakeKey(CheckKey& key, std::size_t i) const {
    const EntityIndexEntry& entry = reader_.Entity(Index(i));
    key = CheckKey{};
    FillKey(key, reader_.Stores, entry.Kind, entry.Position);
  }

  // The element i repeats the key of the slot's first element: counted, and on the same layer when the
  // first element or an earlier duplicate of it lies on that layer.
  void AddDuplicate(Slot& slot, std::size_t i) {
    if (marks_ != nullptr) Mark(i);
    const Attributes a = AttributesOf(i);
    found_.Duplicates.Add(a.Layer);
    found_.DuplicatesByKind[static_cast<std::size_t>(a.Kind - 1)].Add(a.Layer);
    if (!slot.LayerKnown) {
      slot.FirstLayer = AttributesOf(slot.First).Layer;
      slot.LayerKnown = true;
    }
    const uint64_t spreadKey = static_cast<uint64_t>(slot.First) << 8;
    if (!slot.Spread && a.Layer == slot.FirstLayer) {
      ++found_.SameLayer;
    } else if (!slot.Spread) {
      slot.Spread = true;
      spread_.insert(spreadKey | slot.FirstLayer);
      spread_.insert(spreadKey | a.Layer);
    } else if (!spread_.insert(spreadKey | a.Layer).second) {
      ++found_.SameLayer;
    }
  }

  // Twice the size when half full: the slots move by their hashes alone.
  void Grow() {
    std::vector<Slot> bigger(2 * slots_.size());
    const std::size_t mask = bigger.size() - 1;
    for (const Slot& slot : slots_) {
      if (slot.A == 0) continue;
      std::size_t index = slot.A & mask;
      while (bigger[index].A != 0) index = (index + 1) & mask;
      bigger[index] = slot;
    }
    slots_.swap(bigger);
  }

  const JwwGaibu& reader_;
  DrawingChecks& found_;
  uint64_t* marks_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
  std::unordered_set<uint64_t> spread_;  // (first element, layer) of the keys found on more than one layer
  CheckKey key_;
  CheckKey firstKey_;  // the key of a slot's first element, kept while the same key repeats
  std::size_t firstKeyOf_ = kNone;
  // The element added last, its hash, and the first element of its key.
  std::size_t last_ = kNone;
  uint32_t lastHash_ = 0;
  uint32_t lastFirst_ = 0;
};

}  // namespace

std::vector<uint32_t> DrawingChecker::MaybeRepeated() const {
  SeenFilter seen(count_);
  std::vector<uint32_t> maybe;
  uint32_t last = 0;  // the hash of the last element that is not a copy
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = 0; i < count_; ++i) {
    // A copy of the element before it repeats the key of the last element that is not a copy: that key
    // repeats, and the filter has it already. A word of copies is one such run.
    if (IsCopy(i)) {
      if (maybe.empty() || maybe.back() != last) maybe.push_back(last);
      if (i % 64 == 0 && copies_[i / 64] == ~uint64_t{0}) i += 63;
      continue;
    }
    if (i + kAhead < count_) seen.Prefetch(hashes_[i + kAhead]);
    const uint32_t a = hashes_[i];
    last = a;
    // A run of one key is noted once.
    if (a != 0 && seen.Note(a) && (maybe.empty() || maybe.back() != a)) maybe.push_back(a);
  }
  std::sort(maybe.begin(), maybe.end());
  maybe.erase(std::unique(maybe.begin(), maybe.end()), maybe.end());
  return maybe;
}

DrawingChecks DrawingChecker::Finish(DrawingChecks found) {
  std::vector<uint32_t> maybe = MaybeRepeated();
  if (maybe.empty()) return found;
  const HashSet candidates(std::move(maybe));
  KeyTable table(reader_, found, duplicateBits_);
  for (std::size_t i = 0; i < count_; ++i) {
    // The element before a copy is a copy too, or its key may repeat: either way it went through the
    // table just before.
    if (IsCopy(i)) {
      const std::size_t times = i % 64 == 0 && copies_[i / 64] == ~uint64_t{0} ? 64 : 1;
      table.AddCopies(times);
      i += times - 1;
      continue;
    }
    const uint32_t a = hashes_[i];
    if (a != 0 && candidates.Has(a)) table.Add(i, a);
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
  return std::any_of(kCheckList.begin(), kCheckList.end(),
                     [this](const CheckListRow& check) { return check.Of(*this).Count > 0; });
}

void AddFindings(DrawingChecks& whole, const DrawingChecks& part) {
  auto add = [](CheckFinding& to, const CheckFinding& from) {
    to.Count += from.Count;
    to.Layers |= from.Layers;
  };
  for (const CheckListRow& check : kCheckList) add(whole.*check.Finding, check.Of(part));
  whole.SameLayer += part.SameLayer;
  for (std::size_t k = 0; k < whole.DuplicatesByKind.size(); ++k)
    add(whole.DuplicatesByKind[k], part.DuplicatesByKind[k]);
}

void DrawingChecker::RecordInto(CheckedElements& elements) {
  elements.Duplicates.assign((count_ + 63) / 64, 0);
  elements.Empty.assign((count_ + 63) / 64, 0);
  duplicateBits_ = elements.Duplicates.data();
  emptyBits_ = elements.Empty.data();
}

CheckedElements FindCheckedElements(const JwwGaibu& reader) {
  CheckedElements elements;
  DrawingChecker checker(reader);
  checker.RecordInto(elements);
  DrawingChecks found;
  while (checker.HashPiece(found)) {
  }
  checker.Finish(found);
  return elements;
}

DrawingChecks CheckDrawing(const JwwGaibu& reader) {
  DrawingChecker checker(reader);
  DrawingChecks found;
  while (checker.HashPiece(found)) {
  }
  return checker.Finish(found);
}

}  // namespace jwcount
