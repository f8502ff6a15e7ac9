// Unit MyFunc: the only text-to-number conversions of the tool.
#pragma once

#include <cstdint>
#include <string_view>

namespace jwcount {

// The whole text must be one integer: leading spaces, an optional sign, then decimal digits within the
// signed 32-bit range or a hexadecimal number ("$", "x", "X", "0x", "0X" and at most eight significant
// digits, taken as a 32-bit bit pattern). Anything else gives 0.
int32_t TextToInt(std::string_view text);

// The whole text must be one decimal number: leading spaces, an optional sign, digits with an optional
// "." and an optional exponent. The value is rounded correctly to the nearest double. Anything else, and
// a value beyond the range of a double, gives 0.0.
double TextToReal(std::string_view text);

}  // namespace jwcount
