// A small streaming JSON writer over the output buffer: it places the commas, escapes the texts and
// writes numbers in their shortest exact form.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "OutputBuffer.h"
#include "Utf8Text.h"

namespace jwcount {

class JsonWriter {
 public:
  JsonWriter(OutputBuffer& out, Utf8Text& utf8) : out_(out), utf8_(utf8) {}

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // The key of the next member of the open object.
  void Key(std::string_view name);

  void Int(int64_t value) {
    Separate();
    out_.AppendNumber(value);
  }
  void Bool(bool value) {
    Separate();
    out_.Append(value ? "true" : "false");
  }
  // The shortest text that reads back as exactly this double; null for the non-finite values JSON lacks.
  void Real(double value);
  // A Shift-JIS text as a JSON string in UTF-8.
  void Text(std::string_view shiftJis);
  // A byte string as lowercase hexadecimal digits, two per byte.
  void Hex(std::string_view bytes);
  // A line break before the next value, for people reading the output (JSON ignores it).
  void Newline() { newline_ = true; }

 private:
  static constexpr int kMaxDepth = 16;

  void Separate() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (depth_ > 0) {
      if (hasValue_[depth_ - 1]) out_.Append(',');
      hasValue_[depth_ - 1] = true;
    }
    if (newline_) {
      out_.Append('\n');
      newline_ = false;
    }
  }
  void Open(char bracket) {
    Separate();
    out_.Append(bracket);
    hasValue_[depth_++] = false;
  }
  void Close(char bracket) {
    newline_ = false;
    --depth_;
    out_.Append(bracket);
  }
  // Escapes the quote, the backslash and the control characters; other bytes (UTF-8 too) pass as they are.
  void AppendEscaped(std::string_view text);

  OutputBuffer& out_;
  Utf8Text& utf8_;
  std::array<bool, kMaxDepth> hasValue_{};
  int depth_ = 0;
  bool afterKey_ = false;
  bool newline_ = false;
};

}  // namespace jwcount
