#include "tempfile/LineTokens.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace jwcount {
namespace {

enum ByteClass : unsigned char { kStore, kLead, kQuote, kEquals, kSeparator, kDrop };

constexpr std::array<unsigned char, 256> MakeByteClasses() {
  std::array<unsigned char, 256> classes{};
  for (int b = 0; b < 256; ++b) {
    if (IsReaderLeadByte(static_cast<unsigned char>(b))) {
      classes[b] = kLead;
    } else if (b == '"') {
      classes[b] = kQuote;
    } else if (b == '=') {
      classes[b] = kEquals;
    } else if (b == ' ' || b == '\t') {
      classes[b] = kSeparator;
    } else if (b < 0x20 || b > 0xFD) {
      classes[b] = kDrop;
    } else {
      classes[b] = kStore;
    }
  }
  return classes;
}

constexpr std::array<unsigned char, 256> kByteClasses = MakeByteClasses();

// The length of the run of plain bytes at the start of the text. Eight bytes at a time while they are
// printable ASCII other than the double quote and the equals sign (each test below flags a byte by its
// top bit, and the lowest flagged byte is always a true one), then byte by byte.
std::size_t PlainRunLength(const unsigned char* bytes, std::size_t size) {
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kHighs = 0x8080808080808080;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t x;
    std::memcpy(&x, bytes + i, 8);
    const uint64_t belowBang = (x - kOnes * 0x21) & ~x & kHighs;  // 0x00 to 0x20
    const uint64_t fromDel = ((x + kOnes) | x) & kHighs;          // 0x7F to 0xFF
    const uint64_t quote = ((x ^ (kOnes * '"')) - kOnes) & ~(x ^ (kOnes * '"')) & kHighs;
    const uint64_t equals = ((x ^ (kOnes * '=')) - kOnes) & ~(x ^ (kOnes * '=')) & kHighs;
    const uint64_t special = belowBang | fromDel | quote | equals;
    if (special != 0) {
      i += static_cast<std::size_t>(std::countr_zero(special)) / 8;
      break;
    }
  }
  while (i < size && kByteClasses[bytes[i]] == kStore) ++i;
  return i;
}

// Whether the rest of a line after a double quote that switched separators off is one token of all its
// bytes: true when it holds no byte that would be dropped (control bytes, 0xFE, 0xFF and the TAB) and does
// not end in a possible lead byte, which would be dropped when it has no second byte.
bool TakenWhole(std::string_view rest) {
  for (const char c : rest) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0xFE) return false;
  }
  return rest.empty() || !IsReaderLeadByte(static_cast<unsigned char>(rest.back()));
}

}  // namespace

// A line of plain bytes, blanks and tabs only: its tokens are the runs between separators, taken in place.
// So is a line whose first non-plain byte is a double quote that starts a token, with the rest of the line
// taken whole as the last token (a text record's text). Returns false, having decided nothing, for any
// other line.
bool SplitPlainLine(std::string_view line, LineTokens& tokens) {
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  std::size_t i = 0;
  int slot = 0;
  while (true) {
    while (i < n && kByteClasses[bytes[i]] == kSeparator) ++i;
    const std::size_t tokenStart = i;
    i += PlainRunLength(bytes + i, n - i);
    if (i < n && bytes[i] == '"' && i == tokenStart && TakenWhole(line.substr(i + 1))) {
      tokens.slots_[slot] = line.substr(i + 1);
      tokens.Count = slot + 1;
      return true;
    }
    if (i < n && kByteClasses[bytes[i]] != kSeparator) return false;
    tokens.slots_[slot] = line.substr(tokenStart, i - tokenStart);
    if (i == n) break;
    // A separator closes the token; the next slot is being filled, even if nothing more follows.
    if (slot + 1 == LineTokens::kMaxTokens) {
      tokens.Count = LineTokens::kMaxTokens;
      return true;  // the rest of the line is dropped
    }
    ++slot;
  }
  tokens.Count = slot + 1;
  return true;
}

// Any line: the tokens are built byte by byte in the reused buffer.
void CopyTokens(std::string_view line, LineTokens& tokens) {
  if (tokens.bytes_.size() < line.size()) tokens.bytes_.resize(line.size());
  char* const out = tokens.bytes_.data();
  std::size_t written = 0;
  std::size_t slotStart = 0;
  int slot = 0;
  bool separators = true;
  auto closeSlot = [&] { tokens.slots_[slot] = {out + slotStart, written - slotStart}; };
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = line[i];
    switch (kByteClasses[static_cast<unsigned char>(c)]) {
      case kStore:
        out[written++] = c;
        break;
      case kLead:
        if (i + 1 == n) break;  // a lead byte at the end of the line is dropped
        out[written++] = c;
        out[written++] = line[++i];
        break;
      case kQuote:
        if (separators) {
          separators = false;
        } else {
          out[written++] = c;
        }
        break;
      case kEquals:
        out[written++] = c;
        separators = false;
        break;
      case kSeparator:
        if (!separators) {
          if (c == ' ') out[written++] = c;  // a TAB is dropped once separators are off
        } else if (written > slotStart) {
          closeSlot();
          if (slot + 1 == LineTokens::kMaxTokens) {
            tokens.Count = LineTokens::kMaxTokens;
            return;  // the rest of the line is dropped
          }
          ++slot;
          slotStart = written;
        }
        break;
      default:
        break;
    }
  }
  closeSlot();
  tokens.Count = slot + 1;
}

void TokenizeLine(std::string_view line, LineTokens& tokens) {
  if (!SplitPlainLine(line, tokens)) CopyTokens(line, tokens);
}

}  // namespace jwcount
