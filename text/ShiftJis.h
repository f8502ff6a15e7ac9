// Shift-JIS (code page 932) to UTF-8 and, on Windows, to UTF-16: the one conversion for every text that
// leaves the tool, right at the edge (the CLI's reports and the CSV files in UTF-8, the window's controls
// in UTF-16).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jwcount {

// The first bytes of a double-byte character in code page 932: 0x81 to 0x9F and 0xE0 to 0xFC.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// U+FFFD, the replacement character, in UTF-8: what a byte that starts no character becomes.
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// Converts code-page-932 bytes to UTF-8 the way Windows maps them (so 0x81 0x7C becomes U+FF0D). A byte
// that starts no valid character becomes U+FFFD and the conversion goes on after it.
std::string ShiftJisToUtf8(std::string_view bytes);

// The other way: UTF-8 to code page 932, for texts that come back from a JSON report to be shown where
// Shift-JIS is expected. A character code page 932 lacks becomes "?"; so does a byte that is no UTF-8.
std::string Utf8ToShiftJis(std::string_view utf8);

// UTF-8 to code page 932 for texts that must arrive exactly, such as the cells of a rules file saved as
// UTF-8: none when the bytes are no UTF-8 or hold a character code page 932 lacks, rather than a stand-in.
// The yen sign U+00A5 becomes byte 0x5C, which Japanese Windows shows as ¥; the characters a Mac writes
// for those of code page 932 (〜 U+301C, − U+2212, ‖ U+2016, — U+2014, ¢ £ ¬, ‾ U+203E) become them, on
// Windows as the C library's table does elsewhere.
std::optional<std::string> Utf8ToShiftJisExact(std::string_view utf8);

#ifdef _WIN32
// The same conversion to UTF-16, for the window's controls. Names come from other people's drawings and
// may hold any bytes: left to itself, the system would take the byte after a lead byte along into one
// default character, so a name could swallow the quote or letter behind it.
std::wstring ShiftJisToWide(std::string_view bytes);
#endif

}  // namespace jwcount
