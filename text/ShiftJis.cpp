#include "text/ShiftJis.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#else
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#endif

namespace jwcount {

namespace {

// ASCII is the same bytes in UTF-8 and code page 932, so most cells need no conversion at all.
bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

#ifdef _WIN32

namespace {

constexpr UINT kShiftJisCodePage = 932;

// Appends the UTF-16 form of bytes that are all valid in code page 932; false (and nothing appended) when
// some byte is not.
bool AppendWide(std::wstring& out, std::string_view bytes) {
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return false;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(length));
  MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data() + start,
                      length);
  return true;
}

}  // namespace

std::wstring ShiftJisToWide(std::string_view bytes) {
  std::wstring wide;
  if (AppendWide(wide, bytes)) return wide;
  // Some byte is not code page 932: convert character by character. A byte that starts no character
  // becomes U+FFFD alone, so the byte after it (a blank, a quote, a letter) is still converted.
  wide.clear();
  wide.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {  // ASCII is the same in code page 932
      wide += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    if (IsCp932LeadByte(b) && i + 1 < bytes.size() && AppendWide(wide, bytes.substr(i, 2))) {
      i += 2;
      continue;
    }
    if (!AppendWide(wide, bytes.substr(i, 1))) wide += L'\uFFFD';
    ++i;
  }
  return wide;
}

std::string ShiftJisToUtf8(std::string_view bytes) {
  const std::wstring wide = ShiftJisToWide(bytes);
  if (wide.empty()) return {};
  const int wideLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
  return out;
}

std::string Utf8ToShiftJis(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::string(utf8.size(), '?');
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), wideLength, nullptr, 0, "?", nullptr);
  std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
  if (length > 0)
    WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), wideLength, out.data(), length, "?", nullptr);
  return out;
}

namespace {

// What stands in UTF-16 for a character that code page 932 holds under another code point: the yen sign
// for 0x5C, and the forms a Mac writes (the C library's CP932 table takes them as well). Others stay.
wchar_t ToCodePage932Form(wchar_t c) {
  switch (c) {
    case L'\u00A5':  // ¥
      return L'\\';
    case L'\u203E':  // ‾
      return L'~';
    case L'\u00A2':  // ¢
      return L'\uFFE0';
    case L'\u00A3':  // £
      return L'\uFFE1';
    case L'\u00AC':  // ¬
      return L'\uFFE2';
    case L'\u2014':  // —
      return L'\u2015';
    case L'\u2016':  // ‖
      return L'\u2225';
    case L'\u2212':  // −
      return L'\uFF0D';
    case L'\u301C':  // 〜
      return L'\uFF5E';
    default:
      return c;
  }
}

}  // namespace

std::optional<std::string> Utf8ToShiftJisExact(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  const int size = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wideLength);
  std::transform(wide.begin(), wide.end(), wide.begin(), ToCodePage932Form);
  // No best fit: a character the code page lacks must not pass as a look-alike.
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                         nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, out.data(), length,
                      nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

#else

namespace {

// The single bytes that code page 932 maps although the C library's table leaves them out: 0x80 to
// U+0080, 0xA0 to U+F8F0, 0xFD to 0xFF to U+F8F1 to U+F8F3. Any other byte alone is no character.
std::string_view SingleByte(unsigned char b) {
  switch (b) {
    case 0x80:
      return "\xC2\x80";
    case 0xA0:
      return "\xEF\xA3\xB0";
    case 0xFD:
      return "\xEF\xA3\xB1";
    case 0xFE:
      return "\xEF\xA3\xB2";
    case 0xFF:
      return "\xEF\xA3\xB3";
    default:
      return kReplacementUtf8;
  }
}

// Converts `input` from one code to another with iconv into `out`. Where iconv stops at bytes it cannot
// take, `standIn(rest, error, skip)` gives what stands for them in `out` and sets how many bytes of `rest`
// they are. False, with `out` untouched, when the C library has no such conversion.
template <class StandIn>
bool Convert(const char* to, const char* from, std::string_view input, std::string& out, StandIn standIn) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.resize(input.size() * 3 + 4);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  std::size_t done = 0;
  while (inLeft > 0) {
    char* dest = out.data() + done;
    std::size_t outLeft = out.size() - done;
    const std::size_t result = iconv(cd, &in, &inLeft, &dest, &outLeft);
    done = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    std::size_t skip = 1;
    const std::string_view stand = standIn(std::string_view(in, inLeft), errno, skip);
    if (out.size() - done < stand.size()) out.resize(out.size() + stand.size());
    out.replace(done, stand.size(), stand);
    done += stand.size();
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  out.resize(done);
  return true;
}

}  // namespace

std::string ShiftJisToUtf8(std::string_view bytes) {
  std::string out;
  if (bytes.empty()) return out;
  // EILSEQ or EINVAL (a lead byte at the very end): one byte is taken alone, as Windows takes it.
  const bool converted = Convert("UTF-8", "CP932", bytes, out, [](std::string_view rest, int, std::size_t&) {
    return SingleByte(static_cast<unsigned char>(rest[0]));
  });
  if (!converted) {
    // No CP932 table in this C library: keep the ASCII and mark the rest.
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80)
        out += c;
      else
        out += kReplacementUtf8;
    }
  }
  return out;
}

std::string Utf8ToShiftJis(std::string_view utf8) {
  std::string out;
  if (utf8.empty()) return out;
  // A character code page 932 lacks, or no UTF-8: "?" for the whole character, or for the byte.
  const bool converted =
      Convert("CP932", "UTF-8", utf8, out, [](std::string_view rest, int error, std::size_t& skip) {
        const auto lead = static_cast<unsigned char>(rest[0]);
        if (error == EILSEQ && lead >= 0xC2 && lead <= 0xF4)
          skip = std::min<std::size_t>(lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2, rest.size());
        return std::string_view("?");
      });
  if (!converted) {
    for (const char c : utf8) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
  }
  return out;
}

std::optional<std::string> Utf8ToShiftJisExact(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  // The yen sign is byte 0x5C on Japanese Windows, whatever the C library's table says.
  std::string input;
  input.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8.substr(i, 2) == "\xC2\xA5") {
      input += '\\';
      ++i;
    } else {
      input += utf8[i];
    }
  }
  bool exact = true;
  std::string out;
  const bool converted =
      Convert("CP932", "UTF-8", input, out, [&exact](std::string_view rest, int, std::size_t& skip) {
        exact = false;
        skip = rest.size();  // nothing more is needed once one character fails
        return std::string_view();
      });
  if (!converted || !exact) return std::nullopt;
  return out;
}

#endif

}  // namespace jwcount
