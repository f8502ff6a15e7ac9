#include "report/JsonWriter.h"

#include <cmath>

#include "tempfile/MyFunc.h"

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
  out_.AppendNumber(value);
}

void JsonWriter::Text(std::string_view shiftJis) {
  Separate();
  out_.Append('"');
  // A converted run is escaped too: a byte that starts no character becomes U+FFFD and the byte after it
  // (which may be a quote or a backslash) stays itself.
  utf8_.Convert(shiftJis, [this](std::string_view piece, bool) { AppendEscaped(piece); });
  out_.Append('"');
}

void JsonWriter::Utf8(std::string_view utf8) {
  Separate();
  out_.Append('"');
  AppendEscaped(utf8);
  out_.Append('"');
}

void JsonWriter::Hex(std::string_view bytes) {
  Separate();
  out_.Append('"');
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    const char pair[2] = {HexDigitChar(b >> 4, true), HexDigitChar(b, true)};
    out_.Append(std::string_view(pair, 2));
  }
  out_.Append('"');
}

void JsonWriter::AppendEscaped(std::string_view text) {
  std::size_t plainStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out_.Append(text.substr(plainStart, i - plainStart));
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
        const char escape[6] = {'\\', 'u', '0', '0', HexDigitChar(c >> 4u, true), HexDigitChar(c, true)};
        out_.Append(std::string_view(escape, 6));
      }
    }
  }
  out_.Append(text.substr(plainStart));
}

}  // namespace jwcount
