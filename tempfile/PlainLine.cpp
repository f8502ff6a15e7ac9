#include "PlainLine.h"

#include <cstdint>

#include "MyFunc.h"

namespace jwcount {

bool ReadPlainLineNumbers(std::string_view line, double (&values)[4]) {
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  for (int n = 0; n < 4; ++n) {
    if (n > 0) {
      // At least one separator before every number after the first.
      if (p == end || (*p != ' ' && *p != '\t')) return false;
      while (p < end && (*p == ' ' || *p == '\t')) ++p;
    }
    const char* const start = p;
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = -1;     // digits after the ".", -1 while there was none
    bool general = false;  // a form the short path below does not take: TextToReal decides
    for (; p < end; ++p) {
      const char c = *p;
      const unsigned digit = static_cast<unsigned>(c - '0');
      if (digit < 10) {
        mantissa = mantissa * 10 + digit;
        ++digits;
        if (decimals >= 0) ++decimals;
      } else if (c == '.' && decimals < 0) {
        decimals = 0;
      } else if (c == ' ' || c == '\t') {
        break;
      } else if (c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E') {
        general = true;
      } else {
        return false;  // a byte of another record
      }
    }
    if (p == start) return false;
    if (general || digits == 0 || digits > 15) {
      values[n] = TextToReal({start, static_cast<std::size_t>(p - start)});
      continue;
    }
    double value = static_cast<double>(mantissa);
    if (decimals > 0) value /= detail::kExactPowersOfTen[decimals];
    values[n] = negative ? -value : value;
  }
  return p == end;
}

}  // namespace jwcount
