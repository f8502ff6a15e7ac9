// Shift-JIS to UTF-8 as code page 932 maps it, and the width of a text on a terminal.
#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/Utf8Text.h"

namespace jwcount {
namespace {

// The conversion, the cached converter and the width on a terminal, whose columns the text report lines
// up by: two for a wide or fullwidth character, one for any other and for a byte that starts none.
TEST(ShiftJis, ConvertsAsCodePage932AndCountsTerminalColumns) {
  const struct {
    std::string shiftJis;
    std::string utf8;
    std::size_t columns;
  } cases[] = {
      {"", "", 0},
      {"SXF12 [0]", "SXF12 [0]", 9},
      {"\x81\x7C", "\xEF\xBC\x8D", 2},                                          // － is U+FF0D, not U+2212
      {"\x81\x60", "\xEF\xBD\x9E", 2},                                          // ～ is U+FF5E
      {"\x81\x48\x81\x46\x81\x5E", "\xEF\xBC\x9F\xEF\xBC\x9A\xEF\xBC\x8F", 6},  // ？：／
      {"\x95\x5C\\", "\xE8\xA1\xA8\\", 3},                          // 表: its second byte is no backslash
      {"\xB1\xB2\xDD", "\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBE\x9D", 3},  // half-width ｱｲﾝ
      {"\x90\xFC\x82\x52SLD", "\xE7\xB7\x9A\xEF\xBC\x93SLD", 7},    // 線３SLD
      {"\x82\x52SLD", "\xEF\xBC\x93SLD", 5},                        // ３SLD
      {"\x93\x5F\x83\x7D", "\xE7\x82\xB9\xE3\x83\x9E", 4},          // 点マ
      {"0\x81\x7C\x33", "0\xEF\xBC\x8D\x33", 4},                    // 0－3
      {"\x83\xBF", "\xCE\xB1", 1},                                  // α: ambiguous, narrow
      {"\x87\x40", "\xE2\x91\xA0", 1},                              // ①: ambiguous, narrow
      {"\x81\x8B", "\xC2\xB0", 1},                                  // °: ambiguous, narrow
      {"\x87\x75", "\xE3\x8E\xA1", 2},                              // ㎡: CJK compatibility, wide
      {"\x81", "\xEF\xBF\xBD", 1},                                  // a lone lead byte
      {"a\x81", "a\xEF\xBF\xBD", 2},                                // a lead byte cut off at the end
      {"\x81=", "\xEF\xBF\xBD=", 2},                                // a lead byte before no trail byte
      {"\x80\xA0", "\xC2\x80\xEF\xA3\xB0", 2},                      // single bytes Windows maps
  };
  Utf8Text cached;
  auto convert = [&cached](std::string_view shiftJis) {
    std::string utf8;
    cached.Convert(shiftJis, [&utf8](std::string_view piece, bool) { utf8 += piece; });
    return utf8;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(ShiftJisToUtf8(c.shiftJis), c.utf8);
    // The cached converter gives the same, also on the second call.
    EXPECT_EQ(convert(c.shiftJis), c.utf8);
    EXPECT_EQ(convert(c.shiftJis), c.utf8);
    EXPECT_EQ(cached.DisplayWidth(c.shiftJis), c.columns);
  }
}

// Texts read back from a JSON report go back to code page 932: what came from it returns byte for byte, and a
// character it lacks becomes "?".
TEST(ShiftJis, BackFromUtf8) {
  for (const std::string_view shiftJis : {"WD1", "\x88\xD6\x8E\x71", "\x87\x40\x87\x70", "\xB1\xD9\xD0",
                                          "0\x81\x7C"
                                          "3"})
    EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8(shiftJis)), shiftJis);
  EXPECT_EQ(Utf8ToShiftJis("a\xF0\x9F\x98\x80"
                           "b\xC3\xA9"),
            "a?b?");  // an emoji, é
}

// The exact conversion of a rules file's UTF-8 cells: what code page 932 holds arrives byte for byte, the
// yen sign and the characters a Mac writes become their Windows forms, and anything else fails whole
// rather than turning into "?".
TEST(ShiftJis, ExactlyFromUtf8OrNotAtAll) {
  const struct {
    std::string utf8;
    std::optional<std::string> shiftJis;
  } cases[] = {
      {"", ""},
      {"VVF 2.0-3C", "VVF 2.0-3C"},
      {"\xE7\x85\xA7\xE6\x98\x8E", "\x8F\xC6\x96\xBE"},  // 照明
      {"\xEF\xBD\xB1\xE3\x8E\xA1", "\xB1\x87\x75"},      // ｱ㎡
      {"\xC2\xA5 3,200", "\\ 3,200"},                    // ¥ is 0x5C
      {"\xEF\xBF\xA5", "\x81\x8F"},                      // ￥ stays full-width
      {"\xE3\x80\x9C\xE2\x88\x92", "\x81\x60\x81\x7C"},  // 〜− as ～－
      {"a\xC3\xA9", std::nullopt},                       // é
      {"\xE2\x82\xAC", std::nullopt},                    // €
      {"\xF0\x9F\x98\x80", std::nullopt},                // an emoji
      {"\xE7\x85", std::nullopt},                        // cut off
      {"\xC0\xAF", std::nullopt},                        // overlong /
      {"\xED\xA0\x80", std::nullopt},                    // a surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToShiftJisExact(c.utf8), c.shiftJis);
  }
}

}  // namespace
}  // namespace jwcount
