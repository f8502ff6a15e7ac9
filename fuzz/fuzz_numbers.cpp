// Fuzz target: TextToInt and TextToReal against slow reference conversions written here from the number
// grammar alone.
//
// Each input is tried twice: as raw bytes, and with every byte mapped onto the characters numbers are
// made of, so that most texts come close to valid numbers.
//
// Integer reference: the grammar is checked character by character and the range is decided by comparing
// decimal digit strings, with no machine arithmetic that could overflow.
// Real reference: the grammar is checked by its own small state machine; the value of a valid text then
// comes from strtod in the C locale (correctly rounded in glibc), applied to a copy that the grammar
// has already accepted, so strtod's wider grammar (hexadecimal, "inf", "nan") never comes into play.
// A value beyond the range of a double, and a non-zero value that underflows to zero, read as +0.0.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "tempfile/MyFunc.h"

namespace {

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view StripLeadingZeros(std::string_view digits) {
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  return digits;
}

// a <= b for decimal digit strings without leading zeros.
bool DecimalAtMost(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a <= b;
}

int32_t ReferenceInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string_view rest = text.substr(i);
  bool hex = false;
  if (rest.substr(0, 2) == "0x" || rest.substr(0, 2) == "0X") {
    rest.remove_prefix(2);
    hex = true;
  } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    rest.remove_prefix(1);
    hex = true;
  }
  if (rest.empty()) return 0;
  for (char c : rest) {
    if (hex ? !std::isxdigit(static_cast<unsigned char>(c)) : !Digit(c)) return 0;
  }
  const std::string_view significant = StripLeadingZeros(rest);
  if (hex) {
    if (significant.size() > 8) return 0;
    const uint32_t bits =
        significant.empty()
            ? 0
            : static_cast<uint32_t>(std::strtoul(std::string(significant).c_str(), nullptr, 16));
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  if (!DecimalAtMost(significant, negative ? "2147483648" : "2147483647")) return 0;
  const long long magnitude = significant.empty() ? 0 : std::atoll(std::string(significant).c_str());
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

// The states of the real-number grammar: [spaces] [sign] digits [. digits] [(e|E) [sign] digits], where
// the digits before or after the point may be missing but not both.
double ReferenceReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool nonZeroDigit = false;
  std::size_t mantissaDigits = 0;
  for (; i < text.size() && Digit(text[i]); ++i, ++mantissaDigits) nonZeroDigit |= text[i] != '0';
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && Digit(text[i]); ++i, ++mantissaDigits) nonZeroDigit |= text[i] != '0';
  }
  if (mantissaDigits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    for (; i < text.size() && Digit(text[i]); ++i) ++exponentDigits;
    if (exponentDigits == 0) return 0.0;
  }
  if (i != text.size()) return 0.0;
  const std::string copy(text.substr(start));
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size()) std::abort();  // the grammar above and strtod disagree
  if (std::isinf(value) || (value == 0.0 && nonZeroDigit)) return 0.0;
  return value;
}

void CheckOne(std::string_view text) {
  const int32_t gotInt = jwcount::TextToInt(text);
  const int32_t wantInt = ReferenceInt(text);
  if (gotInt != wantInt) {
    std::fprintf(stderr, "TextToInt(\"%.*s\") = %d, expected %d\n", static_cast<int>(text.size()),
                 text.data(), gotInt, wantInt);
    std::abort();
  }
  const double gotReal = jwcount::TextToReal(text);
  const double wantReal = ReferenceReal(text);
  // Compared bit for bit, so that -0.0 and +0.0 are told apart.
  if (std::memcmp(&gotReal, &wantReal, sizeof(double)) != 0) {
    std::fprintf(stderr, "TextToReal(\"%.*s\") = %a, expected %a\n", static_cast<int>(text.size()),
                 text.data(), gotReal, wantReal);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  CheckOne(raw);
  static constexpr char kAlphabet[] = " +-.0123456789eE$xXaAfF09099000";
  std::string mapped(raw);
  for (char& c : mapped) c = kAlphabet[static_cast<unsigned char>(c) % (sizeof kAlphabet - 1)];
  CheckOne(mapped);
  return 0;
}
