// The rules file as Excel saves it: its encoding, told from the bytes, and its rows of comma-separated
// cells. Both encodings are read as bytes: no trail byte of code page 932 (0x40 to 0xFC) is a comma, a
// quote or a line end, and in UTF-8 no byte of a multi-byte character is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

enum class RulesEncoding : uint8_t { kCp932, kUtf8 };

// A file's encoding and its text without the byte-order mark.
struct RulesText {
  RulesEncoding Encoding = RulesEncoding::kCp932;
  std::string_view Bytes;
};

// UTF-8 when the file starts with the byte-order mark, or when it is valid UTF-8 with at least one
// multi-byte character; code page 932 otherwise (plain ASCII reads the same either way).
RulesText DetectRulesEncoding(std::string_view bytes);

// One row of the file, with the line it starts on (1-based, counting the line breaks inside quoted cells).
struct CsvRow {
  int32_t Line = 0;
  std::vector<std::string> Fields;
  bool Unterminated = false;  // a quoted cell ran to the end of the file: the row is incomplete
};

// Reads the rows one by one. A cell in double quotes may hold commas, doubled quotes and line breaks; what
// follows its closing quote up to the next comma is added to it, as Excel does. A row ends at LF or CR LF;
// any other CR is part of its cell.
class CsvReader {
 public:
  explicit CsvReader(std::string_view bytes) : bytes_(bytes) {}

  // The next row, blank ones included; false at the end of the file.
  bool Next(CsvRow& row);

 private:
  bool ReadQuoted(std::string& field);
  void ReadUnquoted(std::string& field);
  bool AtRowEnd() const;

  std::string_view bytes_;
  std::size_t pos_ = 0;
  int32_t line_ = 1;
};

}  // namespace jwcount
