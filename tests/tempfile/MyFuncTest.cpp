// TextToInt and TextToReal: the only conversions from file text to numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(TextToIntTest, ConvertsDecimalAndHexadecimalText) {
  const std::pair<std::string, int32_t> cases[] = {
      // clang-format off
      {"12", 12}, {"-12", -12}, {"+12", 12}, {"-0", 0}, {"007", 7}, {"   42", 42}, {" -5", -5},
      {"2147483647", 2147483647}, {"-2147483648", kMin}, {"0000000000002147483647", 2147483647},
      {"$1F", 31}, {"$1f", 31}, {"x1F", 31}, {"X1F", 31}, {"0x10", 16}, {"0X10", 16}, {"  0x1", 1},
      {"-$10", -16}, {"+$10", 16}, {"-x10", -16}, {"-0x10", -16}, {"$FFFFFFFF", -1}, {"$7FFFFFFF", 2147483647},
      {"$80000000", kMin}, {"-$80000000", kMin} /* wraps */, {"-$FFFFFFFF", 1}, {"-$7FFFFFFF", -2147483647},
      {"$0000000001", 1}, {"$00000000FFFFFFFF", -1} /* leading zeros are not significant */
      // clang-format on
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TextToInt(text), expected) << "\"" << text << "\"";
}

TEST(TextToIntTest, GivesZeroForTextThatIsNotOneInteger) {
  const std::string cases[] = {
      // clang-format off
      "", " ", "12 ", "1.0", "1e3", "2147483648", "-2147483649", "99999999999999999999", "$100000000",
      "$", "x", "0x", "-", "+", "--1", "+-1", "- 1", "\t1", "1\t", "12a", "$1G", "$-1", "0x-1", "$ 1", "0$1",
      "00x1", "\x82\x4f" /* a double-byte digit */
      // clang-format on
  };
  for (const auto& text : cases) EXPECT_EQ(TextToInt(text), 0) << "\"" << text << "\"";
}

TEST(TextToRealTest, ConvertsDecimalNumbersRoundedCorrectly) {
  const std::pair<std::string, double> cases[] = {
      // clang-format off
      {"0", 0.0}, {"2.5", 2.5}, {"-2.5", -2.5}, {"+2.5", 2.5}, {"  7", 7.0}, {"5.", 5.0}, {".5", 0.5},
      {"-.5", -0.5}, {"1e3", 1000.0}, {"1E3", 1000.0}, {"1e+3", 1000.0}, {"25e-1", 2.5}, {"1.5E-2", 0.015},
      {".5e1", 5.0}, {"5.e1", 50.0}, {"0012.50", 12.5}, {"-3.2783543701953e-005", -3.2783543701953e-005},
      {"1e+06", 1e6}, {"9007199254740993e-22", 9007199254740993e-22}, {"4.5e22", 4.5e22}, {"1e23", 1e23},
      {"123456789012345e-30", 123456789012345e-30}, {"-0e5", -0.0},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1.7976931348623158e308", std::numeric_limits<double>::max()},  // below the midpoint: rounds down
      {"2.2250738585072014e-308", std::numeric_limits<double>::min()},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},  // subnormals are kept
      {"-5e-324", -std::numeric_limits<double>::denorm_min()}, {"1e-310", 1e-310},
      // 2^53 + 1 lies halfway and rounds to even; a tiny excess beyond it rounds up.
      {"9007199254740993", 9007199254740992.0},
      {"9007199254740993.00000000000000000000000001", 9007199254740994.0},
      {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
      {"0." + std::string(400, '0') + "1e401", 1.0}, {std::string(400, '9') + "e-400", 1.0}
      // clang-format on
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TextToReal(text), expected) << "\"" << text << "\"";
}

TEST(TextToRealTest, GivesZeroForTextThatIsNotOneNumberOrOutOfRange) {
  const std::string cases[] = {
      // clang-format off
      "", " ", "-", "+", ".", "-.", "1,5", "$10", "0x10", "1e", "1e+", "1e-", "e3", ".e3", "1.5 ", "1.5\t",
      "\t1.5", "1..5", "1.5.", "--1", "+-1", "- 1", "1 5", "inf", "-inf", "nan", "infinity", "1e3.5", "1d3",
      "5f", "\x82\x54" /* a double-byte digit */,
      // Beyond the largest double.
      "1.7976931348623159e308", "1e309", "-1e309", "1e99999999999", std::string(400, '9'),
      // Underflow to zero.
      "2e-324", "1e-400", "-1e-400", "1e-99999999999", "0." + std::string(400, '0') + "1"
      // clang-format on
  };
  for (const auto& text : cases) {
    const double value = TextToReal(text);
    EXPECT_EQ(value, 0.0) << "\"" << text.substr(0, 40) << "\"";
    EXPECT_TRUE(std::isfinite(value));
  }
}

}  // namespace
}  // namespace jwcount
