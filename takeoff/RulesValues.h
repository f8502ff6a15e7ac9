// The values of the rules file's cells, read from their Shift-JIS text. Each reader gives nothing for a
// text it cannot take; the reader of the file says why, in the cell's column.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "takeoff/TakeoffRules.h"

namespace jwcount {

// The text without the half-width (space, tab) and full-width (U+3000) blanks at either end; the blanks
// are found character by character, so the trail byte of a double-byte character is never taken for one.
std::string_view TrimBlanks(std::string_view shiftJis);

// The parts of a list between `/` or `／`, each trimmed, the empty ones left out.
std::vector<std::string_view> SplitList(std::string_view shiftJis);

// The text with full-width digits, Latin letters and the marks ．，％＊－／￥ as their ASCII forms; other
// characters as they are.
std::string NarrowForms(std::string_view shiftJis);

// A plain decimal as written (full-width forms and thousands commas allowed, no sign, no exponent): its
// integer digits without the commas, whether it has a decimal point, and the digits after it.
struct PlainDecimal {
  std::string Whole;
  bool Point = false;
  std::string Fraction;
};
std::optional<PlainDecimal> ReadPlainDecimal(std::string_view shiftJis);

// A plain decimal as a finite double; and one without a fraction as an integer (up to nine digits).
std::optional<double> ReadNumber(std::string_view shiftJis);
std::optional<int32_t> ReadWholeNumber(std::string_view shiftJis);

// ロス率: a number, with or without a trailing `%`.
std::optional<double> ReadLossPercent(std::string_view shiftJis);

// 単価 in millionths of a yen: an optional yen sign (0x5C or ￥) before, an optional 円 after. An amount
// with more than 12 integer digits or 6 decimals is out of range; no number at all is unreadable.
struct PriceRead {
  std::optional<int64_t> Micros;
  bool OutOfRange = false;
};
PriceRead ReadUnitPrice(std::string_view shiftJis);

// 線色, 線種 and 線幅 lists: the values in the file, sorted and each once; none when a part is not one.
std::optional<std::vector<int32_t>> ReadColours(std::string_view shiftJis);
std::optional<std::vector<int32_t>> ReadTypes(std::string_view shiftJis);
std::optional<std::vector<int32_t>> ReadWidths(std::string_view shiftJis);

// 種別: the count tables' columns named, bit c for column c.
std::optional<uint32_t> ReadKinds(std::string_view shiftJis);

// 数量元, 丸め, 桁 and 継続.
std::optional<TakeoffSource> ReadSource(std::string_view shiftJis);
std::optional<TakeoffRounding> ReadRounding(std::string_view shiftJis);
std::optional<int32_t> ReadDigits(std::string_view shiftJis);
std::optional<bool> ReadContinue(std::string_view shiftJis);

// レイヤグループ: a group's number (one hexadecimal digit), or else a pattern on the group's name; a lone
// `*` takes every group.
void ReadLayerGroup(std::string_view shiftJis, TakeoffRule& rule);
// レイヤ: `g-l` in hexadecimal digits or `*`, or else a pattern on the layer's name; a lone `*` takes
// every layer.
void ReadLayer(std::string_view shiftJis, TakeoffRule& rule);

}  // namespace jwcount
