// The quantity sheet of a count: the figures of an item, exact to the yen, and what the rules do with the
// elements of a real drawing.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/PlanGenerator.h"
#include "counting/RunSequence.h"
#include "takeoff/Takeoff.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// A drawing read and counted, with the tables of its count.
struct Counted {
  test::FakeFileSystem files;
  JwwGaibu reader{files};
  std::unique_ptr<CountTables> tables = std::make_unique<CountTables>();

  explicit Counted(const std::string& drawing) {
    files.files["JWC_TEMP.TXT"] = drawing;
    EXPECT_TRUE(ReadForCount(reader, "JWC_TEMP.TXT"));
    test::QuietHost host;
    CountElements(reader, *tables, ".", host);
  }
};

TakeoffRules Rules(const std::string& utf8Csv) {
  TakeoffRules rules = ReadTakeoffRules(utf8Csv);
  for (const TakeoffError& e : rules.Errors)
    ADD_FAILURE() << "line " << e.Line << " " << ShiftJisToUtf8(e.Column) << ": "
                  << ShiftJisToUtf8(e.Message);
  return rules;
}

constexpr const char* kHeads = "品名,数量元,種別,係数,ロス率,丸め,桁,単価\n";

// One item's 数量 and 金額 from lines of given lengths: the decimal steps work on the exact decimal of the
// value after loss, so no figure is a yen off for a binary fraction.
TEST(TakeoffFigures, QuantityAndAmountAreExactDecimals) {
  struct Case {
    const char* name;
    std::string lines;  // line records "x1 y1 x2 y2", mm
    const char* rule;   // the columns after 品名 and 数量元
    std::optional<int64_t> quantityMicros;
    std::optional<int64_t> amount;
  };
  const Case cases[] = {
      // 1.005 m, which is 1.00499999... as a double, rounds half up to 1.01 at two places.
      {"half up of 1.005", "0 0 1005 0\n", "線,,,四捨五入,2,100", 1010000, 101},
      // 0.29 m at 100 円 is 29 円, never 28.
      {"0.29 at 100", "0 0 290 0\n", "線,,,,,100", 290000, 29},
      // 3 m measured as 3.0000000000004 is 3.
      {"a hair over 3", "0 0 3000.0000000004 0\n", "線,,,切上げ,0,1", 3000000, 3},
      {"up at one place", "0 0 1201 0\n", "線,,,切上げ,1,", 1300000, std::nullopt},
      {"down at one place", "0 0 1299 0\n", "線,,,切捨て,1,", 1200000, std::nullopt},
      // Loss and factor: 2 lines × 2 m × 1.5 × 1.05 = 6.3 m at ¥1,234.5 = 7777.35 → 7777 円.
      {"factor, loss, price", "0 0 2000 0\n0 0 0 2000\n", "線,1.5,5%,,,\"1,234.5\"", 6300000, 7777},
      // Above 1e12 after loss: no quantity and no amount.
      {"too large", "0 0 2000000000000000 0\n", "線,,,,,1", std::nullopt, std::nullopt},
      // An amount above 1e13 円 is none, the quantity stays.
      {"amount too large", "0 0 1000000000000000 0\n", "線,,,,,\"2,000,000\"", 1000000000000000000,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Counted counted(c.lines);
    const TakeoffRules rules = Rules(std::string(kHeads) + "x,長さ," + c.rule + "\n");
    const TakeoffSheet sheet = ApplyTakeoff(rules, counted.reader);
    ASSERT_EQ(sheet.Items.size(), 1u);
    EXPECT_EQ(sheet.Items[0].QuantityMicros, c.quantityMicros);
    EXPECT_EQ(sheet.Items[0].Amount, c.amount);
    EXPECT_EQ(sheet.TotalAmount,
              rules.Items[0].UnitPriceMicros ? c.amount.value_or(0) : std::optional<int64_t>());
  }
}

// A generated drawing as Jw_cad writes a much-edited one.
std::string RealDrawing(long elements) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  EXPECT_TRUE(GeneratePlan(elements, out, PlanStyle::kReal));
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

int64_t Assigned(const TakeoffSheet& sheet) {
  int64_t sum = 0;
  for (const TakeoffItem& item : sheet.Items) sum += item.Elements;
  return sum;
}

// What the rules do with every element of a real drawing: none is lost or counted twice, a rule for a
// whole layer measures what page 8 measures of it, and a rule that hands its elements on changes nothing
// for the rules around it, wherever it stands.
TEST(TakeoffSheet, EveryElementIsTakenOnceOrLeftUnassigned) {
  const Counted counted(RealDrawing(40000));  // large enough to be tallied in two parts
  const CountTable& sg1 = counted.tables->SG1;
  int64_t elements = 0;
  for (int k = 1; k < CountTable::kColumns; ++k) elements += sg1.Count(k, kSg1TotalRow);

  // One length rule for each of three layers, then every text and block by name, then all the rest by
  // colour.
  const std::vector<std::string> rows = {
      "長さ,,0-1,,,,,,", "長さ,,0-2,,,,,,", "長さ,線/円弧,1-*,,,,,,",
      "個数,,,,,*,,,",   "個数,,,,,,*,,",   "個数,,,,1/2/3,,,,",
  };
  const auto sheetOf = [&](const std::vector<std::string>& ruleRows) {
    std::string csv = "品名,数量元,種別,レイヤ,レイヤグループ,線色,ブロック名,文字,係数,継続\n";
    for (std::size_t i = 0; i < ruleRows.size(); ++i)
      csv += "item" + std::to_string(i) + "," + ruleRows[i] + "\n";
    return ApplyTakeoff(Rules(csv), counted.reader);
  };
  const TakeoffSheet plain = sheetOf(rows);
  EXPECT_EQ(Assigned(plain) + plain.Unassigned.Elements, elements);
  EXPECT_GT(plain.Unassigned.Elements, 0);
  // The layer rows' lengths, summed in the same order page 8 sums them.
  EXPECT_EQ(plain.Items[0].Measured, sg1.Quantities(LayerRow(0, 1)).Length / 1e3);
  EXPECT_EQ(plain.Items[1].Measured, sg1.Quantities(LayerRow(0, 2)).Length / 1e3);
  EXPECT_EQ(plain.Items[0].Elements, [&] {
    int64_t n = 0;
    for (int k = 1; k < CountTable::kColumns; ++k) n += sg1.Count(k, LayerRow(0, 1));
    return n;
  }());

  // A rule that takes everything and hands it on, put at every place in turn.
  for (std::size_t place = 0; place <= rows.size(); ++place) {
    SCOPED_TRACE(place);
    std::vector<std::string> withAll = rows;
    withAll.insert(withAll.begin() + static_cast<std::ptrdiff_t>(place), "個数,,,,,,,,1");
    const TakeoffSheet sheet = sheetOf(withAll);
    // It takes what the rules above it leave, and hands all of it on.
    int64_t above = 0;
    for (std::size_t i = 0; i < place; ++i) above += plain.Items[i].Elements;
    EXPECT_EQ(sheet.Items[place].Elements, elements - above);
    EXPECT_EQ(sheet.Unassigned.Elements, 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const TakeoffItem& item = sheet.Items[i < place ? i : i + 1];
      EXPECT_EQ(item.Elements, plain.Items[i].Elements);
      EXPECT_EQ(item.Measured, plain.Items[i].Measured);
    }
  }
}

}  // namespace
}  // namespace jwcount
