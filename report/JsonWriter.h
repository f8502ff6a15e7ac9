// A small streaming JSON writer over the output buffer: it places the commas, escapes the texts and
// writes numbers in their shortest exact form.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string_view>

#include "report/OutputBuffer.h"
#include "text/Utf8Text.h"

namespace jwcount {

// The integer types written as JSON numbers: those whose every value an int64_t holds. bool and the
// character types are left out so that neither a flag nor a character is written as a number by mistake.
template <class T>
concept JsonInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                      !std::same_as<T, wchar_t> && !std::same_as<T, char8_t> && !std::same_as<T, char16_t> &&
                      !std::same_as<T, char32_t> && (std::signed_integral<T> || sizeof(T) < sizeof(int64_t));

// What Value writes: a number or a truth value.
template <class T>
concept JsonScalar = JsonInteger<T> || std::same_as<T, bool> || std::floating_point<T>;

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
  // A text in UTF-8 already (a path as given) as a JSON string.
  void Utf8(std::string_view utf8);
  // A value already in JSON form, written as it is.
  void Literal(std::string_view json) {
    Separate();
    out_.Append(json);
  }
  // A byte string as lowercase hexadecimal digits, two per byte.
  void Hex(std::string_view bytes);
  // A number or a truth value, written in the form its own type calls for. Each overload takes only its
  // exact kind of type, so no implicit conversion (bool to int, int to double, pointer to bool) can pick
  // the wrong one, and anything else (texts, enums) does not compile.
  template <JsonInteger T>
  void Value(T value) {
    Int(value);
  }
  template <std::same_as<bool> T>
  void Value(T value) {
    Bool(value);
  }
  template <std::floating_point T>
  void Value(T value) {
    Real(value);
  }

  // A member of the open object: its key, then its value as Value writes it.
  template <JsonScalar T>
  void Field(std::string_view name, T value) {
    Key(name);
    Value(value);
  }
  // A member whose value is a byte string, written as Hex writes it.
  void HexField(std::string_view name, std::string_view bytes) {
    Key(name);
    Hex(bytes);
  }
  // A member whose value is a Shift-JIS text, written as Text writes it.
  void TextField(std::string_view name, std::string_view shiftJis) {
    Key(name);
    Text(shiftJis);
  }

  // Arrays of numbers or truth values (as Value writes each), of byte strings (as Hex) or of Shift-JIS
  // texts (as Text), alone or as a member of the open object.
  template <class Values>
  void Array(const Values& values) {
    BeginArray();
    for (const auto& value : values) Value(value);
    EndArray();
  }
  template <class Values>
  void ArrayField(std::string_view name, const Values& values) {
    Key(name);
    Array(values);
  }
  template <class Strings>
  void HexArrayField(std::string_view name, const Strings& strings) {
    Key(name);
    BeginArray();
    for (const auto& bytes : strings) Hex(bytes);
    EndArray();
  }
  template <class Texts>
  void TextArrayField(std::string_view name, const Texts& texts) {
    Key(name);
    BeginArray();
    for (const auto& text : texts) Text(text);
    EndArray();
  }

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
