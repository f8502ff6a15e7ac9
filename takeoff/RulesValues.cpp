#include "takeoff/RulesValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "counting/CountTexts.h"
#include "takeoff/RulesTexts.h"
#include "takeoff/ShiftJisChars.h"

namespace jwcount {

namespace {

bool IsBlankAt(std::string_view text, std::size_t i, std::size_t length) {
  if (length == 1) return text[i] == ' ' || text[i] == '\t';
  return text.substr(i, length) == kFullWidthSpace;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigit);
}

// The value of one hexadecimal digit, or none.
std::optional<int32_t> HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

// The ASCII form of a full-width character (two bytes of code page 932), or 0 when it has none here.
char NarrowForm(unsigned char lead, unsigned char trail) {
  if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) return static_cast<char>('0' + (trail - 0x4F));  // ０ to ９
    if (trail >= 0x60 && trail <= 0x79) return static_cast<char>('A' + (trail - 0x60));  // Ａ to Ｚ
    if (trail >= 0x81 && trail <= 0x9A) return static_cast<char>('a' + (trail - 0x81));  // ａ to ｚ
    return 0;
  }
  if (lead != 0x81) return 0;
  switch (trail) {
    case 0x44:  // ．
      return '.';
    case 0x43:  // ，
      return ',';
    case 0x93:  // ％
      return '%';
    case 0x96:  // ＊
      return '*';
    case 0x7C:  // －
      return '-';
    case 0x5E:  // ／
      return '/';
    case 0x8F:  // ￥
      return '\\';
    default:
      return 0;
  }
}

// Where the last character of the text starts (0 for an empty text).
std::size_t LastCharStart(std::string_view shiftJis) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < shiftJis.size(); i += CharLengthAt(shiftJis, i)) last = i;
  return last;
}

// Integer digits with thousands commas only between groups of exactly three: "3,200", not "32,00".
bool ReadWholeDigits(std::string_view text, std::string& digits) {
  if (text.find(',') == std::string_view::npos) {
    digits = text;
    return AllDigits(text);
  }
  std::size_t start = 0;
  for (bool first = true;; first = false) {
    const std::size_t comma = text.find(',', start);
    const std::string_view group =
        text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
    const bool sized = first ? !group.empty() && group.size() <= 3 : group.size() == 3;
    if (!sized || !AllDigits(group)) return false;
    digits += group;
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// A whole number in [low, high], or none.
std::optional<int32_t> WholeIn(std::string_view text, int32_t low, int32_t high) {
  const std::optional<int32_t> n = ReadWholeNumber(text);
  if (!n || *n < low || *n > high) return std::nullopt;
  return n;
}

// How a colour or a type is written: as a row head of its count table (Prefix and N for N 1 to PrefixMax,
// or SXFn for n 1 to SxfMax, which is SxfBase + n) or as the number the file has for it.
struct ListValueForm {
  std::string_view Prefix;
  int32_t PrefixMax = 0;
  int32_t SxfMax = 0;
  int32_t SxfBase = 0;
};

// Colours 線色1 to 線色10 and SXF1 to SXF256 (101 to 356); types 線種1 to 線種19 and SXF1 to SXF32 (31-62).
constexpr ListValueForm kColourForm{kLineColourPrefix, 10, 256, 100};
constexpr ListValueForm kTypeForm{kLineTypePrefix, 19, 32, 30};

std::optional<int32_t> ReadListValue(std::string_view part, const ListValueForm& form) {
  const std::string narrow = NarrowForms(part);
  const std::string_view text = narrow;
  if (text.starts_with(kSxfPrefix)) {
    const auto n = WholeIn(TrimBlanks(text.substr(kSxfPrefix.size())), 1, form.SxfMax);
    return n ? std::optional<int32_t>(form.SxfBase + *n) : std::nullopt;
  }
  if (text.starts_with(form.Prefix))
    return WholeIn(TrimBlanks(text.substr(form.Prefix.size())), 1, form.PrefixMax);
  const std::optional<int32_t> n = ReadWholeNumber(text);
  if (!n) return std::nullopt;
  const bool plain = *n >= 1 && *n <= form.PrefixMax;
  const bool sxf = *n > form.SxfBase && *n <= form.SxfBase + form.SxfMax;
  return plain || sxf ? n : std::nullopt;
}

// Every part of a list through `read`, sorted and each once; none when a part fails or there is none.
template <class Read>
std::optional<std::vector<int32_t>> ReadValueList(std::string_view shiftJis, Read read) {
  std::vector<int32_t> values;
  for (const std::string_view part : SplitList(shiftJis)) {
    const std::optional<int32_t> value = read(part);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

// The bits of the kinds one name stands for: a count table's column head, or ソリッド for the six solids.
uint32_t KindBits(std::string_view part) {
  const std::string narrow = NarrowForms(part);                           // ３SLD and 3SLD alike
  if (narrow == kSolidKinds) return ((1u << 14) - 1) & ~((1u << 8) - 1);  // columns 8 to 13
  for (std::size_t c = 0; c < kColumnHeads.size(); ++c)
    if (narrow == NarrowForms(kColumnHeads[c])) return 1u << (c + 1);
  return 0;
}

}  // namespace

std::string_view TrimBlanks(std::string_view shiftJis) {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool inText = false;
  for (std::size_t i = 0; i < shiftJis.size();) {
    const std::size_t length = CharLengthAt(shiftJis, i);
    if (!IsBlankAt(shiftJis, i, length)) {
      if (!inText) begin = i;
      inText = true;
      end = i + length;
    }
    i += length;
  }
  return shiftJis.substr(begin, end - begin);
}

std::vector<std::string_view> SplitList(std::string_view shiftJis) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  const auto take = [&](std::size_t stop) {
    const std::string_view part = TrimBlanks(shiftJis.substr(start, stop - start));
    if (!part.empty()) parts.push_back(part);
  };
  for (std::size_t i = 0; i < shiftJis.size();) {
    const std::size_t length = CharLengthAt(shiftJis, i);
    const std::string_view c = shiftJis.substr(i, length);
    i += length;
    if (c == "/" || c == kFullWidthSlash) {
      take(i - length);
      start = i;
    }
  }
  take(shiftJis.size());
  return parts;
}

std::string NarrowForms(std::string_view shiftJis) {
  std::string out;
  out.reserve(shiftJis.size());
  for (std::size_t i = 0; i < shiftJis.size();) {
    const std::size_t length = CharLengthAt(shiftJis, i);
    const char narrow = length == 2 ? NarrowForm(static_cast<unsigned char>(shiftJis[i]),
                                                 static_cast<unsigned char>(shiftJis[i + 1]))
                                    : 0;
    if (narrow != 0)
      out += narrow;
    else
      out += shiftJis.substr(i, length);
    i += length;
  }
  return out;
}

std::optional<PlainDecimal> ReadPlainDecimal(std::string_view shiftJis) {
  const std::string narrow = NarrowForms(shiftJis);
  const std::string_view text = narrow;
  const std::size_t point = text.find('.');
  PlainDecimal decimal;
  if (point != std::string_view::npos) {
    decimal.Point = true;
    decimal.Fraction = text.substr(point + 1);
    if (!AllDigits(decimal.Fraction)) return std::nullopt;  // a second point, a comma or a letter
  }
  if (!ReadWholeDigits(text.substr(0, point), decimal.Whole)) return std::nullopt;
  if (decimal.Whole.empty() && decimal.Fraction.empty()) return std::nullopt;
  return decimal;
}

std::optional<double> ReadNumber(std::string_view shiftJis) {
  const std::optional<PlainDecimal> decimal = ReadPlainDecimal(shiftJis);
  if (!decimal) return std::nullopt;
  const std::string ascii = (decimal->Whole.empty() ? "0" : decimal->Whole) + "." + decimal->Fraction + "0";
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<int32_t> ReadWholeNumber(std::string_view shiftJis) {
  const std::optional<PlainDecimal> decimal = ReadPlainDecimal(shiftJis);
  if (!decimal || decimal->Whole.empty() || decimal->Point) return std::nullopt;
  const std::string_view digits = WithoutLeadingZeros(decimal->Whole);
  if (digits.size() > 9) return std::nullopt;
  int32_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

std::optional<double> ReadLossPercent(std::string_view shiftJis) {
  const std::string narrow = NarrowForms(shiftJis);
  std::string_view text = narrow;
  if (text.ends_with('%')) text = TrimBlanks(text.substr(0, text.size() - 1));
  return ReadNumber(text);
}

PriceRead ReadUnitPrice(std::string_view shiftJis) {
  const std::string narrow = NarrowForms(shiftJis);
  std::string_view text = narrow;
  if (text.starts_with('\\')) text = TrimBlanks(text.substr(1));
  const std::size_t last = LastCharStart(text);
  if (text.substr(last) == kYen) text = TrimBlanks(text.substr(0, last));
  const std::optional<PlainDecimal> decimal = ReadPlainDecimal(text);
  if (!decimal) return {};
  const std::string_view whole = WithoutLeadingZeros(decimal->Whole);
  if (whole.size() > 12 || decimal->Fraction.size() > 6) return {std::nullopt, true};
  // At most 18 digits: below 2^63.
  const std::string digits =
      std::string(whole) + decimal->Fraction + std::string(6 - decimal->Fraction.size(), '0');
  int64_t micros = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), micros);
  return {micros, false};
}

std::optional<std::vector<int32_t>> ReadColours(std::string_view shiftJis) {
  return ReadValueList(shiftJis, [](std::string_view part) { return ReadListValue(part, kColourForm); });
}

std::optional<std::vector<int32_t>> ReadTypes(std::string_view shiftJis) {
  return ReadValueList(shiftJis, [](std::string_view part) { return ReadListValue(part, kTypeForm); });
}

std::optional<std::vector<int32_t>> ReadWidths(std::string_view shiftJis) {
  return ReadValueList(shiftJis, [](std::string_view part) { return WholeIn(part, 0, 30000); });
}

std::optional<uint32_t> ReadKinds(std::string_view shiftJis) {
  uint32_t columns = 0;
  for (const std::string_view part : SplitList(shiftJis)) {
    const uint32_t bits = KindBits(part);
    if (bits == 0) return std::nullopt;
    columns |= bits;
  }
  if (columns == 0) return std::nullopt;
  return columns;
}

std::optional<TakeoffSource> ReadSource(std::string_view shiftJis) {
  if (shiftJis.empty() || shiftJis == kSourceCount) return TakeoffSource::kCount;
  if (shiftJis == kSourceLength) return TakeoffSource::kLength;
  if (shiftJis == kSourceArea) return TakeoffSource::kArea;
  return std::nullopt;
}

std::optional<TakeoffRounding> ReadRounding(std::string_view shiftJis) {
  if (shiftJis.empty()) return TakeoffRounding::kNone;
  if (shiftJis == kRoundUp || shiftJis == kRoundUpLong) return TakeoffRounding::kUp;
  if (shiftJis == kRoundHalfUp) return TakeoffRounding::kHalfUp;
  if (shiftJis == kRoundDown || shiftJis == kRoundDownLong) return TakeoffRounding::kDown;
  return std::nullopt;
}

std::optional<int32_t> ReadDigits(std::string_view shiftJis) {
  if (shiftJis.empty()) return 0;
  return WholeIn(shiftJis, 0, 3);
}

std::optional<bool> ReadContinue(std::string_view shiftJis) {
  const std::string narrow = NarrowForms(shiftJis);
  if (narrow.empty() || narrow == "0") return false;
  if (narrow == "1" || narrow == kYes) return true;
  return std::nullopt;
}

void ReadLayerGroup(std::string_view shiftJis, TakeoffRule& rule) {
  const std::string narrow = NarrowForms(shiftJis);
  if (narrow.empty() || narrow == "*") return;
  const std::optional<int32_t> group = narrow.size() == 1 ? HexDigit(narrow[0]) : std::nullopt;
  if (group)
    rule.LayerGroup = *group;
  else
    rule.LayerGroupName = NamePattern(std::string(shiftJis));
}

void ReadLayer(std::string_view shiftJis, TakeoffRule& rule) {
  const std::string narrow = NarrowForms(shiftJis);
  if (narrow.empty() || narrow == "*") return;
  const auto part = [](char c) -> std::optional<int32_t> { return c == '*' ? kAnyNumber : HexDigit(c); };
  if (narrow.size() == 3 && narrow[1] == '-') {
    const std::optional<int32_t> group = part(narrow[0]);
    const std::optional<int32_t> layer = part(narrow[2]);
    if (group && layer) {
      rule.LayerOfGroup = *group;
      rule.Layer = *layer;
      return;
    }
  }
  rule.LayerName = NamePattern(std::string(shiftJis));
}

}  // namespace jwcount
