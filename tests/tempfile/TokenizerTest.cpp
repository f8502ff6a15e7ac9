// TokenizeLine: the slots and the count of a line, by the Shift-JIS rules of the exchange file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tempfile/LineTokens.h"

namespace jwcount {
namespace {

using Slots = std::vector<std::string>;

Slots SlotsOf(const LineTokens& tokens) {
  Slots slots;
  for (int n = 0; n < tokens.Count; ++n) slots.emplace_back(tokens.Token(n));
  return slots;
}

TEST(TokenizeLineTest, SplitsLinesIntoSlots) {
  // The expected slots are 0 to Count-1.
  const std::pair<std::string, Slots> cases[] = {
      // clang-format off
      {"hk 2.5", {"hk", "2.5"}}, {" hk   2.5", {"hk", "2.5"}}, {"hk\t2.5", {"hk", "2.5"}},
      {"hk 2.5 ", {"hk", "2.5", ""}}, {"\thk \t 2.5 \t ", {"hk", "2.5", ""}},  // trailing blanks: one empty slot
      {"ch 0 0 1 1 \"a b c", {"ch", "0", "0", "1", "1", "a b c"}},
      {"pt 1 2 \"", {"pt", "1", "2", ""}},          // a blank followed only by a quote
      {"x \"a\"b", {"x", "a\"b"}},                   // a second quote is stored
      {"x \"a\tb c", {"x", "ab c"}},                 // after a quote a TAB is dropped, a space stored
      {"file=D:\\work\\a b.jww", {"file=D:\\work\\a b.jww"}}, {"hk =1 2", {"hk", "=1 2"}},
      {"a= \"b\tc", {"a= \"bc"}}, {"cn$AB\"CD EF", {"cn$ABCD EF"}}, {" \" ", {" "}},
      // Double-byte characters stay whole, whatever their second byte; 0x80 and 0xFD lead as well.
      {"\x83\x5C x", {"\x83\x5C", "x"}}, {"a\x81\x20" "b c", {"a\x81\x20" "b", "c"}},
      {"\x81\x22 b", {"\x81\x22", "b"}}, {"\x81\x3D b c", {"\x81\x3D", "b", "c"}},
      {"\x81\x09" "b c", {"\x81\x09" "b", "c"}}, {"\x80 b", {"\x80 b"}}, {"\xFD\x20x y", {"\xFD x", "y"}},
      {"\xE0 x", {"\xE0 x"}}, {"\x82\xA0\x82\xA2 \x93\xFA", {"\x82\xA0\x82\xA2", "\x93\xFA"}},
      // A text after a quote, in place or copied: a second byte in the lead range ends it, a lone lead does not.
      {"ch 1 \"\x87\x40\xB1", {"ch", "1", "\x87\x40\xB1"}}, {"ch 1 \"a\x90\x9F", {"ch", "1", "a\x90\x9F"}},
      {"ch 1 \"a\x81", {"ch", "1", "a"}}, {"ch 1 \"a\xFE" "b =\"c", {"ch", "1", "ab =\"c"}},
      // A lead byte as the last byte of the line is dropped.
      {"ab\x81", {"ab"}}, {"ab \x81", {"ab", ""}}, {"\x81", {""}},
      // 0x7F and the single-byte characters 0xA0 to 0xDF are stored.
      {"\xA0\xB1\xDF x", {"\xA0\xB1\xDF", "x"}}, {"\xDF \xA1", {"\xDF", "\xA1"}}, {"a\x7F b", {"a\x7F", "b"}},
      // Control bytes, 0xFE and 0xFF are dropped and do not separate.
      {"a\x01" "b\x1F c", {"ab", "c"}}, {"a\xFE\xFF" "b", {"ab"}}, {std::string("a\0b c", 5), {"ab", "c"}},
      {"a\x1B \x1B b", {"a", "b"}},
      // Lines that hold nothing.
      {"", {""}}, {"   \t ", {""}}, {"\"", {""}}
      // clang-format on
  };
  // One set of tokens for all lines, as the reader keeps it: nothing of a line may survive into the next.
  LineTokens tokens;
  for (const auto& [line, slots] : cases) {
    TokenizeLine(line, tokens);
    EXPECT_EQ(SlotsOf(tokens), slots) << "\"" << line << "\"";
    EXPECT_EQ(tokens.Count, static_cast<int32_t>(slots.size())) << "\"" << line << "\"";
  }
}

// A slot number the compiler cannot see, so that GCC does not warn about a constant index past the slots
// in the inlined bounds test.
int Slot(int n) {
  volatile int slot = n;
  return slot;
}

TEST(TokenizeLineTest, SlotsOutsideTheCountAreEmptyAndNothingSurvivesReuse) {
  LineTokens tokens;
  TokenizeLine("lc1 a b c d e f g h i j k l m n o p q r s t u v w x y z " + std::string(500, 'x'), tokens);
  TokenizeLine("ab", tokens);
  EXPECT_EQ(SlotsOf(tokens), Slots{"ab"});
  for (int n : {-1, 1, 2, 31, 32, 1000}) EXPECT_EQ(tokens.Token(Slot(n)), "") << n;
}

std::string NumberedTokens(int count) {
  std::string line = "t0";
  for (int n = 1; n < count; ++n) line += " t" + std::to_string(n);
  return line;
}

TEST(TokenizeLineTest, HoldsAtMostThirtyTwoTokensAndDropsTheRest) {
  const std::string blankLast = NumberedTokens(31) + " ";
  LineTokens tokens;
  TokenizeLine(blankLast, tokens);
  EXPECT_EQ(tokens.Count, 32);
  EXPECT_EQ(tokens.Token(31), "");
  // Plain lines are split in place, the one with a quote is copied.
  for (const std::string& line : {NumberedTokens(32), NumberedTokens(32) + " ", NumberedTokens(33),
                                  NumberedTokens(32) + " \"rest of the line", NumberedTokens(200)}) {
    TokenizeLine(line, tokens);
    EXPECT_EQ(tokens.Count, 32) << line;
    EXPECT_EQ(tokens.Token(31), "t31") << line;
    EXPECT_EQ(tokens.Token(Slot(32)), "") << line;
  }
}

}  // namespace
}  // namespace jwcount
