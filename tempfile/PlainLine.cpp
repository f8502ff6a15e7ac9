#include "tempfile/PlainLine.h"

#include "tempfile/DecimalDigits.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

using detail::Digits;
using detail::TakeDigits;

bool IsSeparator(char c) {
  return c == ' ' || c == '\t';
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
