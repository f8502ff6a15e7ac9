// Reading runs of decimal digits eight at a time, for the number conversions of the reader.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace jwcount::detail {

inline constexpr uint64_t kByteOnes = 0x0101010101010101;
inline constexpr uint64_t kByteHighs = 0x8080808080808080;
inline constexpr uint64_t kSmallPowersOfTen[9] = {1,      10,      100,      1000,     10000,
                                                  100000, 1000000, 10000000, 100000000};

// The number of decimal digits at the start of eight bytes read little-endian (0 to 8). A byte outside
// "0" to "9" gets its top bit set by one of the two tests; a borrow or carry can flag a byte above a true
// one, never below it, so the lowest flag is always a true one.
inline int LeadingDigits(uint64_t bytes) {
  const uint64_t flags = ((bytes + kByteOnes * 0x46) | (bytes - kByteOnes * '0')) & kByteHighs;
  return std::countr_zero(flags) / 8;
}

// The value of the first count (1 to 8) digits of eight bytes read little-endian: the digits are moved to
// the top, the bytes below them count as leading zeros, and pairs, quads and halves are combined by
// multiplication.
inline uint64_t DigitsValue(uint64_t bytes, int count) {
  uint64_t v = (bytes - kByteOnes * '0') << (8 * (8 - count));
  v = v * 10 + (v >> 8);
  constexpr uint64_t kMask = 0x000000FF000000FF;
  constexpr uint64_t kHundredsAndMillions = 100 + (uint64_t{1000000} << 32);
  constexpr uint64_t kOnesAndTenThousands = 1 + (uint64_t{10000} << 32);
  v = (((v & kMask) * kHundredsAndMillions) + (((v >> 16) & kMask) * kOnesAndTenThousands)) >> 32;
  return static_cast<uint32_t>(v);
}

// A number read so far: its digits as an integer (only meaningful up to 19 digits: it wraps beyond), how
// many digits it has and how many of them come after the ".".
struct Digits {
  uint64_t Mantissa = 0;
  int Count = 0;
  int Decimals = -1;  // -1 while there was no "."

  void Add(uint64_t value, int count) {
    Mantissa = Mantissa * kSmallPowersOfTen[count] + value;
    Count += count;
    if (Decimals >= 0) Decimals += count;
  }
};

// Takes the run of digits at p into digits, eight at a time while eight bytes remain before end, and
// returns where the run ends. Reads nothing at or after end.
inline const char* TakeDigits(const char* p, const char* end, Digits& digits) {
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

}  // namespace jwcount::detail
