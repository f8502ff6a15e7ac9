// SHA-256 of a file's bytes, so that a quantity sheet says which rules file made it and a changed file shows.
#pragma once

#include <string>
#include <string_view>

namespace jwcount {

// The SHA-256 digest of the bytes, as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace jwcount
