#include "ShiftJis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace jwcount {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

#ifdef _WIN32

namespace {

// Converts one run of bytes that is known to be valid (or leaves the output untouched).
bool AppendConverted(std::string& out, std::string_view bytes) {
  if (bytes.empty()) return true;
  const int length = static_cast<int>(bytes.size());
  const int wideLength = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (wideLength <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), wideLength);
  const int utf8Length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(utf8Length));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, out.data() + start, utf8Length, nullptr, nullptr);
  return true;
}

}  // namespace

std::string ShiftJisToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  if (AppendConverted(out, bytes)) return out;
  // Some byte is not code page 932: convert character by character. A byte that starts no character
  // becomes U+FFFD alone, so the byte after it (a blank, a quote, a letter) is still converted.
  out.clear();
  std::size_t i = 0;
  while (i < bytes.size()) {
    const bool pair = IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size();
    if (pair && AppendConverted(out, bytes.substr(i, 2))) {
      i += 2;
      continue;
    }
    if (!AppendConverted(out, bytes.substr(i, 1))) out += kReplacement;
    ++i;
  }
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
      return kReplacement;
  }
}

}  // namespace

std::string ShiftJisToUtf8(std::string_view bytes) {
  std::string out;
  if (bytes.empty()) return out;
  const iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No CP932 table in this C library: keep the ASCII and mark the rest.
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80)
        out += c;
      else
        out += kReplacement;
    }
    return out;
  }
  out.resize(bytes.size() * 3 + 4);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
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
    // EILSEQ or EINVAL (a lead byte at the very end): one byte is taken alone, as Windows takes it.
    const std::string_view single = SingleByte(static_cast<unsigned char>(*in));
    if (out.size() - done < single.size()) out.resize(out.size() + single.size());
    out.replace(done, single.size(), single);
    done += single.size();
    ++in;
    --inLeft;
  }
  iconv_close(cd);
  out.resize(done);
  return out;
}

#endif

}  // namespace jwcount
