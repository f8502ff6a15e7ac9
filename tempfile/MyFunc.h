// Unit MyFunc: the tool's conversions between text and numbers, for the reader, the count tables and the
// reports alike.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "tempfile/DecimalDigits.h"

namespace jwcount {

// The value of a hexadecimal digit in either case; -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The hexadecimal digit of the low four bits: upper case as the table labels show layer groups and
// layers, lower case as the JSON report writes bytes.
constexpr char HexDigitChar(unsigned value, bool lowerCase = false) {
  return (lowerCase ? "0123456789abcdef" : "0123456789ABCDEF")[value & 15];
}

// Appends an integer in decimal, or a double as the shortest text that reads back as exactly that double.
template <class Number>
void AppendNumber(std::string& text, Number value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, result.ptr);
}

// The whole text must be one integer: leading spaces, an optional sign, then decimal digits within the
// signed 32-bit range or a hexadecimal number ("$", "x", "X", "0x", "0X" and at most eight significant
// digits, taken as a 32-bit bit pattern). Anything else gives 0.
int32_t TextToInt(std::string_view text);

namespace detail {
// TextToReal for every text; TextToReal below handles the common short numbers inline.
double TextToRealGeneral(std::string_view text);
// 1e0 to 1e22, each exact as a double.
extern const double kExactPowersOfTen[23];
}  // namespace detail

// The whole text must be one decimal number: leading spaces, an optional sign, digits with an optional
// "." and an optional exponent. The value is rounded correctly to the nearest double. Anything else, and
// a value beyond the range of a double, gives 0.0.
//
// Most numbers of an exchange file are short: a "-", at most 15 digits and a ".". Such a number is read
// here without a call: its digits make an exact integer below 2^53, and one division by an exact power of
// ten rounds correctly.
inline double TextToReal(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  detail::Digits digits;
  p = detail::TakeDigits(p, end, digits);
  if (p < end && *p == '.') {
    digits.Decimals = 0;
    p = detail::TakeDigits(p + 1, end, digits);
  }
  if (p != end || digits.Count == 0 || digits.Count > 15) return detail::TextToRealGeneral(text);
  double value = static_cast<double>(digits.Mantissa);
  if (digits.Decimals > 0) value /= detail::kExactPowersOfTen[digits.Decimals];
  return negative ? -value : value;
}

}  // namespace jwcount
