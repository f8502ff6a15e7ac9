// Byte-for-byte keyword tests on the first token of a line. Written as short loops over the literal,
// so that they compile to a few compares instead of library calls.
#pragma once

#include <cstddef>
#include <string_view>

namespace jwcount {

// True when the token is exactly the keyword.
template <std::size_t N>
constexpr bool IsKeyword(std::string_view token, const char (&keyword)[N]) {
  if (token.size() != N - 1) return false;
  for (std::size_t i = 0; i + 1 < N; ++i) {
    if (token[i] != keyword[i]) return false;
  }
  return true;
}

// True when the token begins with the keyword.
template <std::size_t N>
constexpr bool BeginsWithKeyword(std::string_view token, const char (&keyword)[N]) {
  if (token.size() < N - 1) return false;
  for (std::size_t i = 0; i + 1 < N; ++i) {
    if (token[i] != keyword[i]) return false;
  }
  return true;
}

}  // namespace jwcount
