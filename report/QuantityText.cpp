#include "report/QuantityText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "counting/CountTexts.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

bool Measures(const RowQuantities& q) {
  return q.Length != 0 || q.Area != 0;
}

}  // namespace

std::vector<int> QuantityRows(const CountTable& table) {
  std::vector<int> rows;
  const int total = table.RowCount() - 1;
  for (int row = 1; row < total; ++row) {
    if (Measures(table.Quantities(row))) rows.push_back(row);
  }
  if (total >= 1) rows.push_back(total);
  return rows;
}

bool HasQuantities(const CountTable& table) {
  return Measures(table.Quantities(table.RowCount() - 1));
}

std::array<double, 4> QuantityFigures(const RowQuantities& q) {
  return {q.LineLength, q.CurveLength, q.Length, q.Area};
}

std::string ShownQuantity(double drawingUnits, bool area) {
  const double value = drawingUnits / (area ? 1e6 : 1e3);
  if (!std::isfinite(value)) return std::string(kOtherLabel);
  // Up to 309 integer digits, the point and three decimals.
  char digits[320];
  const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 3);
  const std::string_view plain(digits, static_cast<std::size_t>(result.ptr - digits));
  const std::size_t point = plain.find('.');
  std::string text;
  text.reserve(plain.size() + point / 3);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (i > 0 && i < point && (point - i) % 3 == 0) text += ',';
    text += plain[i];
  }
  return text;
}

std::string WithThousands(std::string_view decimal) {
  const std::size_t sign = !decimal.empty() && decimal.front() == '-' ? 1 : 0;
  const std::size_t point = std::min(decimal.find('.'), decimal.size());
  std::string text(decimal.substr(0, sign));
  for (std::size_t i = sign; i < decimal.size(); ++i) {
    if (i > sign && i < point && (point - i) % 3 == 0) text += ',';
    text += decimal[i];
  }
  return text;
}

std::string ExactQuantity(double value) {
  std::string text;
  if (std::isfinite(value)) AppendNumber(text, value);
  return text;
}

}  // namespace jwcount
