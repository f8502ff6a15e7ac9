// Fuzz target: the one-pass plain-line reader against the general way (TokenizeLine, the record chain's
// choice of a plain line, TextToReal per token), differentially and bit for bit; and the tokens taken in
// place against the tokens copied.
//
// Each input is tried as raw bytes, with every byte mapped onto the characters of plain lines (digits,
// ".", "-", "+", "e", blank, tab), so that most inputs are plain lines or near misses, and mapped mostly
// onto digits, so that long runs of digits (read eight at a time) and numbers of 15 to 20 digits are common.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "tempfile/LineTokens.h"
#include "tempfile/MyFunc.h"
#include "tempfile/PlainLine.h"

namespace {

constexpr std::string_view kPlainLineBytes = "0123456789.-+eE \t";
constexpr std::string_view kDigitHeavyBytes = "01234567890123456789012345678901234567890123456789.- ";

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Tokens taken in place must be the tokens the copying way makes.
void CheckInPlaceTokens(std::string_view line) {
  jwcount::LineTokens inPlace;
  if (!jwcount::SplitPlainLine(line, inPlace)) return;
  jwcount::LineTokens copied;
  jwcount::CopyTokens(line, copied);
  if (inPlace.Count != copied.Count) std::abort();
  for (int n = 0; n < copied.Count; ++n) {
    if (inPlace.Token(n) != copied.Token(n)) std::abort();
  }
}

void Check(std::string_view line) {
  CheckInPlaceTokens(line);
  double values[4] = {};
  const bool fast = jwcount::ReadPlainLineNumbers(line, values);
  jwcount::LineTokens tokens;
  jwcount::TokenizeLine(line, tokens);
  // The general way makes a plain line of four tokens whose first starts no record of the chain. With
  // only plain-line bytes in the line, the fast path must take exactly those whose last token is not
  // empty (a blank at the end opens an empty fourth token: "1 2 3 " is left to the general way).
  const bool onlyPlainBytes = line.find_first_not_of(kPlainLineBytes) == std::string_view::npos;
  const bool general = tokens.Count == 4 && !tokens.Token(3).empty() && onlyPlainBytes;
  if (onlyPlainBytes && fast != general) std::abort();
  if (!fast) return;
  if (tokens.Count != 4 || !onlyPlainBytes) std::abort();
  for (int n = 0; n < 4; ++n) {
    if (!SameBits(values[n], jwcount::TextToReal(tokens.Token(n)))) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  Check(raw);
  for (const std::string_view alphabet : {kPlainLineBytes, kDigitHeavyBytes}) {
    std::string mapped(raw);
    for (char& c : mapped) c = alphabet[static_cast<unsigned char>(c) % alphabet.size()];
    Check(mapped);
  }
  return 0;
}
