// The fast path of the commonest record: a plain line, four numbers and nothing else.
#pragma once

#include <string_view>

namespace jwcount {

// Reads a line made only of four numbers between blanks or tabs ("x1 y1 x2 y2", any blanks before the
// first, none after the last) in one pass: finds, splits and converts each number as TextToReal does.
// True with the four values when the line is such a line; false, having decided nothing, for any other
// line (another byte, more or fewer numbers, a blank at the end), which then takes the general way of
// TokenizeLine and the record chain, with the same result.
bool ReadPlainLineNumbers(std::string_view line, double (&values)[4]);

}  // namespace jwcount
