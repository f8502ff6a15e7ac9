#include "report/ReplyText.h"

#include <charconv>

#include "text/ShiftJis.h"

namespace jwcount {
namespace {

constexpr std::string_view kCutMark = "\x81\x63";  // …

bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool IsSingleByteCharacter(unsigned char b) {
  return (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF);
}

}  // namespace

std::string ReplyNumber(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (result.ec != std::errc{}) return "0";
  std::string text(buffer, result.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

std::string ReplyText(std::string_view name, std::size_t maxBytes) {
  std::string text;
  text.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (IsCp932LeadByte(b) && i + 1 < name.size() && IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
      text.append(name.substr(i, 2));
      ++i;
    } else {
      text.push_back(IsSingleByteCharacter(b) ? static_cast<char>(b) : '?');
    }
  }
  if (text.size() > maxBytes) {
    std::size_t end = 0;
    for (;;) {
      const std::size_t next = end + (IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
      if (next > maxBytes - kCutMark.size()) break;
      end = next;
    }
    text.resize(end);
    text.append(kCutMark);
  }
  if (!text.empty() && text.back() == '"') text.push_back(' ');
  return text;
}

}  // namespace jwcount
