#include "takeoff/RulesCsv.h"

#include <algorithm>

namespace jwcount {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the valid UTF-8 sequence at `i` (1 for ASCII), or 0 when none starts there: no overlong
// form, no surrogate, nothing above U+10FFFF.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t i) {
  const auto at = [bytes](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = at(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // the range of the second byte, narrower after some leads
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  if (at(i + 1) < low || at(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (at(i + k) < 0x80 || at(i + k) > 0xBF) return 0;
  return length;
}

bool IsUtf8WithMultiByte(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceAt(bytes, i);
    if (length == 0) return false;
    multiByte = multiByte || length > 1;
    i += length;
  }
  return multiByte;
}

}  // namespace

RulesText DetectRulesEncoding(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) return {RulesEncoding::kUtf8, bytes.substr(kByteOrderMark.size())};
  if (IsUtf8WithMultiByte(bytes)) return {RulesEncoding::kUtf8, bytes};
  return {RulesEncoding::kCp932, bytes};
}

bool CsvReader::AtRowEnd() const {
  if (bytes_[pos_] == '\n') return true;
  return bytes_[pos_] == '\r' && (pos_ + 1 == bytes_.size() || bytes_[pos_ + 1] == '\n');
}

// From the opening quote to the closing one, undoubling quotes; false when the file ends first.
bool CsvReader::ReadQuoted(std::string& field) {
  ++pos_;
  while (true) {
    const std::size_t quote = bytes_.find('"', pos_);
    const std::string_view piece =
        bytes_.substr(pos_, quote == std::string_view::npos ? bytes_.npos : quote - pos_);
    line_ += static_cast<int32_t>(std::count(piece.begin(), piece.end(), '\n'));
    field += piece;
    if (quote == std::string_view::npos) {
      pos_ = bytes_.size();
      return false;
    }
    pos_ = quote + 1;
    if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
      field += '"';
      ++pos_;
      continue;
    }
    return true;
  }
}

// Up to the next comma or row end.
void CsvReader::ReadUnquoted(std::string& field) {
  while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !AtRowEnd()) {
    const std::size_t stop = std::min(bytes_.find_first_of(",\r\n", pos_ + 1), bytes_.size());
    field += bytes_.substr(pos_, stop - pos_);
    pos_ = stop;
  }
}

bool CsvReader::Next(CsvRow& row) {
  if (pos_ >= bytes_.size()) return false;
  row.Line = line_;
  row.Fields.clear();
  row.Unterminated = false;
  while (true) {
    std::string field;
    if (pos_ < bytes_.size() && bytes_[pos_] == '"' && !ReadQuoted(field)) {
      row.Fields.push_back(std::move(field));
      row.Unterminated = true;
      return true;
    }
    ReadUnquoted(field);
    row.Fields.push_back(std::move(field));
    if (pos_ >= bytes_.size()) return true;
    if (bytes_[pos_] == ',') {
      ++pos_;
      continue;
    }
    pos_ += bytes_[pos_] == '\r' ? 2 : 1;  // CR LF, LF, or a CR that ends the file
    pos_ = std::min(pos_, bytes_.size());
    ++line_;
    return true;
  }
}

}  // namespace jwcount
