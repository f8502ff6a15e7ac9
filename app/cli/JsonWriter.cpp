#include "JsonWriter.h"

#include <charconv>
#include <cmath>

namespace jwcount {

void JsonWriter::Key(std::string_view name) {
  Separate();
  out_.Append('"');
  AppendEscaped(name);
  out_.Append("\":");
  afterKey_ = true;
}

void JsonWriter::Real(double value) {
  Separate();
  if (!std::isfinite(value)) {
    out_.Append("null");
    return;
  }
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out_.Append(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void JsonWriter::Text(std::string_view shiftJis) {
  Separate();
  out_.Append('"');
  utf8_.Convert(shiftJis, [this](std::string_view piece, bool ascii) {
    if (ascii) {
      AppendEscaped(piece);
    } else {
      out_.Append(piece);
    }
  });
  out_.Append('"');
}

void JsonWriter::Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  Separate();
  out_.Append('"');
  char pair[2];
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    pair[0] = kDigits[b >> 4];
    pair[1] = kDigits[b & 0x0F];
    out_.Append(std::string_view(pair, 2));
  }
  out_.Append('"');
}

void JsonWriter::AppendEscaped(std::string_view ascii) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::size_t plainStart = 0;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    const auto c = static_cast<unsigned char>(ascii[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out_.Append(ascii.substr(plainStart, i - plainStart));
    plainStart = i + 1;
    switch (c) {
      case '"':
        out_.Append("\\\"");
        break;
      case '\\':
        out_.Append("\\\\");
        break;
      case '\n':
        out_.Append("\\n");
        break;
      case '\r':
        out_.Append("\\r");
        break;
      case '\t':
        out_.Append("\\t");
        break;
      default: {
        const char escape[6] = {'\\', 'u', '0', '0', kDigits[c >> 4], kDigits[c & 0x0F]};
        out_.Append(std::string_view(escape, 6));
      }
    }
  }
  out_.Append(ascii.substr(plainStart));
}

}  // namespace jwcount
