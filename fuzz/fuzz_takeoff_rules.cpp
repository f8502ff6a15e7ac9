// Fuzz target: arbitrary bytes as a take-off rules file, and the same bytes cut at their first line break
// into a name pattern and a name. Checks: reading never crashes; every error has a line of 0 or more; a
// file with errors gives no rules and no items; every rule's item is one of the items and every value is
// in its range, lists sorted and each once. The pattern matches the name exactly when a plain table of
// prefix matches, character by character, says it does.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "takeoff/TakeoffRules.h"
#include "text/ShiftJis.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_takeoff_rules: %s\n", what);
  std::abort();
}

bool SortedOnceWithin(const std::vector<int32_t>& values, int32_t low, int32_t high) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] < low || values[i] > high) return false;
    if (i > 0 && values[i - 1] >= values[i]) return false;
  }
  return true;
}

void CheckRules(const jwcount::TakeoffRules& rules) {
  for (const jwcount::TakeoffError& error : rules.Errors) Check(error.Line >= 0, "an error's line below 0");
  if (!rules.Errors.empty()) Check(rules.Rules.empty() && rules.Items.empty(), "rules beside errors");
  Check(rules.Rules.empty() == rules.Items.empty(), "rules without items or items without rules");
  for (const jwcount::TakeoffRule& rule : rules.Rules) {
    Check(rule.Item >= 0 && static_cast<std::size_t>(rule.Item) < rules.Items.size(),
          "a rule's item out of range");
    Check((rule.Columns & ~uint32_t{0x3FFE}) == 0, "a kind outside columns 1 to 13");
    Check(SortedOnceWithin(rule.Colours, 1, 356), "colours");
    Check(SortedOnceWithin(rule.Types, 1, 62), "types");
    Check(SortedOnceWithin(rule.Widths, 0, 30000), "widths");
    Check(std::isfinite(rule.Factor) && rule.Factor >= 0, "factor");
    Check(rule.BlockName.Empty() || rule.Text.Empty(), "a block name and a text in one rule");
  }
  for (const jwcount::TakeoffItemDef& item : rules.Items) {
    Check(!item.Name.empty() && !item.Unit.empty(), "an item without a name or unit");
    Check(std::isfinite(item.LossPercent) && item.LossPercent >= 0, "loss");
    Check(item.Digits >= 0 && item.Digits <= 3, "digits");
    Check(!item.UnitPriceMicros ||
              (*item.UnitPriceMicros >= 0 && *item.UnitPriceMicros < 1'000'000'000'000'000'000),
          "price");
  }
}

// The characters of Shift-JIS text: a lead byte with the byte after it, or one byte.
std::vector<std::string_view> Chars(std::string_view text) {
  std::vector<std::string_view> chars;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length =
        jwcount::IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    chars.push_back(text.substr(i, length));
    i += length;
  }
  return chars;
}

// match[i][j]: the first i characters of the pattern match the first j of the name.
bool ReferenceMatch(std::string_view pattern, std::string_view name) {
  const std::vector<std::string_view> p = Chars(pattern);
  const std::vector<std::string_view> n = Chars(name);
  std::vector<std::vector<bool>> match(p.size() + 1, std::vector<bool>(n.size() + 1, false));
  match[0][0] = true;
  for (std::size_t i = 1; i <= p.size(); ++i) {
    for (std::size_t j = 0; j <= n.size(); ++j) {
      if (p[i - 1] == "*") {
        match[i][j] = match[i - 1][j] || (j > 0 && match[i][j - 1]);
      } else if (j > 0) {
        match[i][j] = match[i - 1][j - 1] && (p[i - 1] == "?" || p[i - 1] == n[j - 1]);
      }
    }
  }
  return match[p.size()][n.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckRules(jwcount::ReadTakeoffRules(bytes));

  const std::size_t cut = bytes.find('\n');
  if (cut != std::string_view::npos && size <= 512) {
    const std::string_view pattern = bytes.substr(0, cut);
    const std::string_view name = bytes.substr(cut + 1);
    Check(jwcount::NamePattern(std::string(pattern)).Matches(name) == ReferenceMatch(pattern, name),
          "the pattern and the reference disagree");
  }
  return 0;
}
