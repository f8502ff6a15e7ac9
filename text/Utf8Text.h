// Fast Shift-JIS to UTF-8 for the reports: ASCII passes through as it is, and every run of Japanese
// characters is converted once and then taken from a cache, since the reports repeat a few dozen texts
// (captions, heads, labels) tens of thousands of times.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace jwcount {

// The bytes of a UTF-8 literal (u8"...") as the plain chars the outputs are made of.
inline std::string_view AsChars(std::u8string_view utf8) {
  return {reinterpret_cast<const char*>(utf8.data()), utf8.size()};
}

class Utf8Text {
 public:
  // Calls emit(piece, isAscii) for the consecutive pieces of the UTF-8 form of the Shift-JIS bytes.
  template <class Emit>
  void Convert(std::string_view bytes, Emit&& emit) {
    std::size_t i = 0;
    while (i < bytes.size()) {
      const std::size_t asciiEnd = AsciiEnd(bytes, i);
      if (asciiEnd > i) {
        emit(bytes.substr(i, asciiEnd - i), true);
        i = asciiEnd;
      }
      if (i == bytes.size()) break;
      const std::size_t runEnd = JapaneseEnd(bytes, i);
      emit(std::string_view(Lookup(bytes.substr(i, runEnd - i))), false);
      i = runEnd;
    }
  }

  // Appends the UTF-8 form of the Shift-JIS bytes to out.
  void Append(std::string& out, std::string_view bytes) {
    Convert(bytes, [&out](std::string_view piece, bool) { out += piece; });
  }

  // Columns the Shift-JIS text takes on a terminal: two for an East Asian wide or fullwidth character
  // (kanji, kana, fullwidth forms, Hangul, ㎡), one for any other (ASCII, half-width katakana, and the
  // ambiguous ones such as α, ① or °, which terminals show narrow), and one for a byte that starts no
  // character.
  std::size_t DisplayWidth(std::string_view shiftJis);
  // The same for well-formed UTF-8 text.
  static std::size_t Columns(std::string_view utf8);

 private:
  static std::size_t AsciiEnd(std::string_view bytes, std::size_t i) {
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    return i;
  }
  // The end of the run of non-ASCII characters from i; a double-byte character stays whole even when its
  // second byte lies in the ASCII range.
  static std::size_t JapaneseEnd(std::string_view bytes, std::size_t i);
  const std::string& Lookup(std::string_view run);

  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> cache_;
};

}  // namespace jwcount
