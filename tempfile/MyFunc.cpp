#include "tempfile/MyFunc.h"

#include <charconv>
#include <cstddef>
#include <limits>

namespace jwcount {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t SkipSpaces(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

// Digits after a hexadecimal prefix: at most eight significant digits, read as a 32-bit bit pattern.
bool ParseHexDigits(std::string_view digits, uint32_t& bits) {
  if (digits.empty()) return false;
  bits = 0;
  int significant = 0;
  for (char c : digits) {
    const int v = HexDigitValue(c);
    if (v < 0) return false;
    if (significant > 0 || v != 0) ++significant;
    if (significant > 8) return false;
    bits = (bits << 4) | static_cast<uint32_t>(v);
  }
  return true;
}

// Decimal digits with their sign; the value must fit a signed 32-bit integer.
bool ParseDecimalDigits(std::string_view digits, bool negative, int32_t& value) {
  if (digits.empty()) return false;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t magnitude = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

// Reads a run of decimal digits into the mantissa (which may wrap when there are more than 19 digits in
// all; the caller checks the count) and returns the position after them.
const char* ReadDigits(const char* p, const char* end, uint64_t& mantissa) {
  detail::Digits digits{mantissa};
  p = detail::TakeDigits(p, end, digits);
  mantissa = digits.Mantissa;
  return p;
}

}  // namespace

const double detail::kExactPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

int32_t TextToInt(std::string_view text) {
  std::size_t i = SkipSpaces(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::string_view rest = text.substr(i);
  std::size_t prefix = 0;
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    prefix = 1;
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    prefix = 2;
  }
  if (prefix > 0) {
    uint32_t bits = 0;
    if (!ParseHexDigits(rest.substr(prefix), bits)) return 0;
    // Negation wraps as 32-bit two's complement, so "-$80000000" gives -2147483648 without overflow.
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  int32_t value = 0;
  return ParseDecimalDigits(rest, negative, value) ? value : 0;
}

double detail::TextToRealGeneral(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && *p == ' ') ++p;
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  const char* const numberStart = p;
  uint64_t mantissa = 0;
  p = ReadDigits(p, end, mantissa);
  const std::size_t integerDigits = static_cast<std::size_t>(p - numberStart);
  std::size_t fractionDigits = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    p = ReadDigits(p, end, mantissa);
    fractionDigits = static_cast<std::size_t>(p - fractionStart);
  }
  if (integerDigits + fractionDigits == 0) return 0.0;

  // Check the exponent by hand (from_chars alone would accept "inf", "nan" or a cut-off exponent).
  int exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negativeExponent = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    const char* const exponentStart = p;
    for (; p < end && static_cast<unsigned>(*p - '0') < 10; ++p) {
      if (exponent < 100000) exponent = exponent * 10 + (*p - '0');  // far beyond any double already
    }
    if (p == exponentStart) return 0.0;
    if (negativeExponent) exponent = -exponent;
  }
  if (p != end) return 0.0;

  // The common case: a mantissa of at most 2^53 is exact as a double, and so is a power of ten up to
  // 1e22; one IEEE multiplication or division of two exact values is correctly rounded. That covers the
  // short numbers and the float noise written with an exponent ("-3.2783543701953e-005").
  constexpr uint64_t kMaxExactMantissa = uint64_t{1} << 53;
  const long long scale = exponent - static_cast<long long>(fractionDigits);
  if (integerDigits + fractionDigits <= 19 && mantissa <= kMaxExactMantissa && scale >= -22 && scale <= 22) {
    double value = static_cast<double>(mantissa);
    if (scale < 0) value /= detail::kExactPowersOfTen[-scale];
    if (scale > 0) value *= detail::kExactPowersOfTen[scale];
    return negative ? -value : value;
  }

  // Otherwise from_chars rounds correctly.
  double value = 0.0;
  const auto result = std::from_chars(numberStart, end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end) return 0.0;  // beyond the range of a double
  return negative ? -value : value;
}

}  // namespace jwcount
