#include "PlainLine.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "MyFunc.h"

namespace jwcount {
namespace {

constexpr uint64_t kOnes = 0x0101010101010101;
constexpr uint64_t kHighs = 0x8080808080808080;
constexpr uint64_t kPowersOfTen[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

bool IsSeparator(char c) {
  return c == ' ' || c == '\t';
}

// The number of decimal digits at the start of eight bytes read little-endian (0 to 8). A byte outside
// "0" to "9" gets its top bit set by one of the two tests; a borrow or carry can flag a byte above a true
// one, never below it, so the lowest flag is always a true one.
int LeadingDigits(uint64_t bytes) {
  const uint64_t flags = ((bytes + kOnes * 0x46) | (bytes - kOnes * '0')) & kHighs;
  return std::countr_zero(flags) / 8;
}

// The value of the first count (1 to 8) digits of eight bytes read little-endian: the digits are moved to
// the top, the bytes below them count as leading zeros, and pairs, quads and halves are combined by
// multiplication.
uint64_t DigitsValue(uint64_t bytes, int count) {
  uint64_t v = (bytes - kOnes * '0') << (8 * (8 - count));
  v = v * 10 + (v >> 8);
  constexpr uint64_t kMask = 0x000000FF000000FF;
  constexpr uint64_t kHundredsAndMillions = 100 + (uint64_t{1000000} << 32);
  constexpr uint64_t kOnesAndTenThousands = 1 + (uint64_t{10000} << 32);
  v = (((v & kMask) * kHundredsAndMillions) + (((v >> 16) & kMask) * kOnesAndTenThousands)) >> 32;
  return static_cast<uint32_t>(v);
}

// A number read so far: its digits as an integer (only meaningful up to 19 digits), how many digits it has
// and how many of them come after the ".".
struct Digits {
  uint64_t Mantissa = 0;
  int Count = 0;
  int Decimals = -1;  // -1 while there was no "."

  void Add(uint64_t value, int count) {
    Mantissa = Mantissa * kPowersOfTen[count] + value;
    Count += count;
    if (Decimals >= 0) Decimals += count;
  }
};

// Takes the run of digits at p, eight at a time while eight bytes remain, and returns where it ends.
const char* TakeDigits(const char* p, const char* end, Digits& digits) {
  while (end - p >= 8) {
    uint64_t bytes;
    std::memcpy(&bytes, p, 8);
    const int count = LeadingDigits(bytes);
    if (count == 0) return p;
    digits.Add(DigitsValue(bytes, count), count);
    p += count;
    if (count < 8) return p;
  }
  for (; p < end; ++p) {
    const unsigned digit = static_cast<unsigned>(*p - '0');
    if (digit >= 10) break;
    digits.Add(digit, 1);
  }
  return p;
}

}  // namespace

bool ReadPlainLineNumbers(std::string_view line, double (&values)[4]) {
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end && IsSeparator(*p)) ++p;
  for (int n = 0; n < 4; ++n) {
    if (n > 0) {
      // At least one separator before every number after the first.
      if (p == end || !IsSeparator(*p)) return false;
      while (p < end && IsSeparator(*p)) ++p;
    }
    const char* const start = p;
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    Digits digits;
    bool general = false;  // a form the short path below does not take: TextToReal decides
    while ((p = TakeDigits(p, end, digits)) < end) {
      const char c = *p;
      if (IsSeparator(c)) break;
      if (c == '.' && digits.Decimals < 0) {
        digits.Decimals = 0;
      } else if (c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E') {
        general = true;
      } else {
        return false;  // a byte of another record
      }
      ++p;
    }
    if (p == start) return false;
    if (general || digits.Count == 0 || digits.Count > 15) {
      values[n] = TextToReal({start, static_cast<std::size_t>(p - start)});
      continue;
    }
    double value = static_cast<double>(digits.Mantissa);
    if (digits.Decimals > 0) value /= detail::kExactPowersOfTen[digits.Decimals];
    values[n] = negative ? -value : value;
  }
  return p == end;
}

}  // namespace jwcount
