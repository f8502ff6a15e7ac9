// Numbers and texts as records of the reply can carry them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jwcount {

// A coordinate or size in plain decimal, to a millionth of a millimetre, without trailing zeros ("12.5",
// "-3", "0"). A value whose digits would not fit in 64 characters gives "0": callers keep their values far
// below that.
std::string ReplyNumber(double value);

// A text as the reply can carry it and Jw_cad can show it: every byte that starts no Shift-JIS character
// becomes "?", a text longer than maxBytes is cut at a character and ends in "…" (maxBytes in all), and a
// text ending in a double quote gets a blank after it, so that its record never joins the next one.
std::string ReplyText(std::string_view text, std::size_t maxBytes);

}  // namespace jwcount
