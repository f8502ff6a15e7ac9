// What the duplicate check compares an element by: its key (its kind, its values rounded to the nearest
// 0.001, its integers and the bytes of its text or name). The key writer that makes the key of every element
// and hashes it lives beside the checks, in DrawingChecks.cpp, where the hashing of the records inlines it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "tempfile/JwwGaibu.h"

namespace jwcount {

// The value a check compares: v rounded to the nearest 0.001 as a count of thousandths, halves away from
// zero; `exact` is set when v is too large for that (or not a number) and the result holds v's own bits.
int64_t RoundedThousandths(double v, bool& exact);

// What an element is compared by in the duplicate check: its kind, its values rounded as above (each with
// a bit saying whether it kept its exact value), its integers, and the bytes of its text or name. A line's
// ends, and a dimension's, stand smaller end first, so that a line drawn backwards has the same key. A
// solid's colour is not part of it. Two elements are duplicates exactly when their keys are equal.
struct CheckKey {
  static constexpr int kMaxValues = 8;

  int32_t Kind = 0;                          // 0 for an entry of no known kind
  uint32_t ExactFlags = 0;                   // bit i: Values[i] holds the bits of a value kept exact
  std::array<int64_t, kMaxValues> Values{};  // in the kind's own order; those it does not use stay 0
  std::string_view Bytes;                    // the text, the dimension's value or the block name

  bool operator==(const CheckKey&) const = default;
  auto operator<=>(const CheckKey&) const = default;
};

// The key of the element at (kind, position) of the stores. Bytes views the stores' own text.
CheckKey CheckKeyOf(const EntityStores& stores, int32_t kind, int32_t position);

}  // namespace jwcount
