// The tokens of one exchange-file line, split by the rules made for Shift-JIS text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace jwcount {

// Up to 32 byte-string slots and a count. A slot either points into the line itself (a line of plain
// bytes and blanks, the common case, is split without copying) or into a byte buffer that is reused from
// line to line, so tokenizing allocates nothing once the buffer has grown to the longest line. The line
// must outlive the tokens made from it in place.
class LineTokens {
 public:
  static constexpr int kMaxTokens = 32;

  // The slot being filled when the line ended, plus one (1 to 32).
  int32_t Count = 1;

  // Slot n; empty at and beyond Count and outside 0 to 31.
  std::string_view Token(int n) const {
    if (n < 0 || n >= Count || n >= kMaxTokens) return {};
    return slots_[n];
  }

 private:
  friend bool SplitPlainLine(std::string_view line, LineTokens& tokens);
  friend void CopyTokens(std::string_view line, LineTokens& tokens);

  std::vector<char> bytes_;
  std::array<std::string_view, kMaxTokens> slots_{};
};

// The first bytes of a double-byte character as the reader takes them: 0x80 to 0x9F and 0xE0 to 0xFD, one
// more at each end than code page 932 has (the reports convert by IsCp932LeadByte).
constexpr bool IsReaderLeadByte(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

// Splits a line into tokens: blanks and tabs separate while separators are active; a double quote
// switches them off (and is not stored), an equals sign is stored and switches them off; a double-byte
// character always stays whole; control bytes and 0xFE, 0xFF are dropped. Text after the 32nd token is
// dropped. The tokens may point into the line.
void TokenizeLine(std::string_view line, LineTokens& tokens);

// The two ways TokenizeLine takes, open to the differential fuzz test: in place, for a line of plain bytes
// or one whose text after a quote can be taken whole (false, having decided nothing, for any other line),
// and by copying, for any line.
bool SplitPlainLine(std::string_view line, LineTokens& tokens);
void CopyTokens(std::string_view line, LineTokens& tokens);

}  // namespace jwcount
