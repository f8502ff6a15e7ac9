// The drawing checks on small drawings: what counts as a duplicate, on which layers, and the three checks
// of what is empty.
#include "counting/CheckKey.h"
#include "counting/DrawingChecks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/support/DuplicatesByMap.h"

namespace jwcount {
namespace {

DrawingChecks Checked(const std::vector<std::string>& lines) {
  JwwGaibu reader;
  reader.ResetReaderState();
  for (const std::string& line : lines) reader.ParseLine(line);
  return CheckDrawing(reader);
}

struct DuplicateCase {
  const char* What;
  std::vector<std::string> Lines;
  int32_t Duplicates;
  int32_t SameLayer;
};

TEST(DrawingChecks, DuplicatesCompareRoundedGeometryAndContent) {
  const DuplicateCase cases[] = {
      {"a line drawn twice", {"0 0 10 10", "0 0 10 10"}, 1, 1},
      {"a line drawn backwards", {"0 0 10 10", "10 10 0 0"}, 1, 1},
      {"ends that differ below the rounding", {"0 0 10 10", "0.0004 0 10 10.0004999"}, 1, 1},
      {"ends that differ above it", {"0 0 10 10", "0.0006 0 10 10"}, 0, 0},
      {"a half rounds away from zero",
       {"-0.0005 0 1 1", "-0.001 0 1 1", "0.0005 0 1 1", "0.001 0 1 1"},
       2,
       2},
      {"a line on another layer", {"ly1", "0 0 10 10", "ly2", "0 0 10 10"}, 1, 0},
      {"in another layer group", {"0 0 10 10", "lg1", "0 0 10 10", "lg0", "0 0 10 10"}, 2, 1},
      {"a circle and an arc of the same centre and radius", {"ci 0 0 5", "ci 0 0 5 0 360 1 0"}, 0, 0},
      {"arcs differing in one of seven values", {"ci 0 0 5 0 90 1 0", "ci 0 0 5 0 90 1 1"}, 0, 0},
      {"texts at one place with other words",
       {"ch 0 0 1 0 \"WD1", "ch 0 0 1 0 \"WD2", "ch 0 0 1 0 \"WD1"},
       1,
       1},
      {"markers of another code", {"pt 1 1 2 0 1", "pt 1 1 2 0 2"}, 0, 0},
      {"a block name", {"BL 0 0 \"a", "BL 0 0 \"b", "BL 0 0 \"a"}, 1, 1},
      {"solids of another colour", {"sl 0 0 1 0 1 1", "lc10 5", "sl 0 0 1 0 1 1"}, 1, 1},
      {"solid corners in another order", {"sl 0 0 1 0 1 1", "sl 1 0 0 0 1 1"}, 0, 0},
      {"huge values keep their exact value", {"1e300 0 1 1", "1e300 0 1 1", "1.0000000001e300 0 1 1"}, 1, 1},
  };
  for (const DuplicateCase& c : cases) {
    SCOPED_TRACE(c.What);
    const DrawingChecks checks = Checked(c.Lines);
    EXPECT_EQ(checks.Duplicates.Count, c.Duplicates);
    EXPECT_EQ(checks.SameLayer, c.SameLayer);
  }
}

TEST(DrawingChecks, EmptyThingsAndTheLayersTheyLieOn) {
  const DrawingChecks checks = Checked({
      "lg2", "lyA", "5 5 5 5", "5 5 5.0004 5", "5 5 5.001 5",  // two of no length (after rounding), one not
      "ci 1 1 0", "ci 1 1 0.0004 0 90 0.5 0", "ci 1 1 0.001",  // two of radius 0, one not
      "ly3", "ch 0 0 1 0 \"", "ch 0 0 1 0 \"  \x81\x40 ", "ch 0 0 1 0 \"\x81\x40x", "msg", "0 0 100 0",
      "cs 50 10 1 0 \"",  // a dimension's value is no text
  });
  EXPECT_EQ(checks.ZeroLengthLines.Count, 2);
  EXPECT_EQ(checks.ZeroRadius.Count, 2);
  EXPECT_EQ(checks.EmptyTexts.Count, 2);
  EXPECT_TRUE(checks.ZeroLengthLines.Layers.test(2 * 16 + 10));
  EXPECT_EQ(checks.EmptyTexts.Layers.count(), 1u);
  EXPECT_TRUE(checks.EmptyTexts.Layers.test(2 * 16 + 3));
  EXPECT_EQ(checks.Duplicates.Count, 1);  // the second point-like line on 2－A
  EXPECT_EQ(checks.DuplicatesByKind[kLine - 1].Count, 1);
  EXPECT_TRUE(checks.Found());
  EXPECT_FALSE(Checked({"0 0 1 1", "ch 0 0 1 0 \"x"}).Found());
}

// A drawing of near-twins: values a little either side of a rounding half and of each other, lines drawn
// either way, texts and names a byte apart, values too large to round, NaNs of several bit patterns, on a
// few layers. Half the elements repeat an earlier one, half of those with one value or the text changed.
// The checker's duplicates, found through hashes, must be those of a plain map of the keys.
TEST(DrawingChecks, DuplicatesAreThoseOfAnExactCountOfTheKeys) {
  std::mt19937 random(20261209);
  auto below = [&random](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  const std::vector<std::string> values = {"0",
                                           "0.0004",
                                           "-0.0004",
                                           "0.0006",
                                           "1.0005",
                                           "1.0009",
                                           "1.0001",
                                           "-1.0005",
                                           "-1.0011",
                                           "9.3e15",
                                           "9.3000000000001e15",
                                           "1e300",
                                           "-1e300"};
  const std::vector<std::string> texts = {"WD1", "WD2", "WD1 ", "wD1", "", "\x81\x40"};
  const std::vector<std::string> layers = {"ly1", "ly2", "lg3", "lg0"};
  // An element as its kind of line, eight values and a text; what each kind makes of them.
  struct Made {
    int Shape;
    std::string Value[8];
    std::string Text;
  };
  auto emit = [&](JwwGaibu& reader, const Made& m) {
    const auto& x = m.Value;
    auto join = [&x](int n) {
      std::string out;
      for (int i = 0; i < n; ++i) out += " " + x[i];
      return out;
    };
    switch (m.Shape) {
      case 0:  // a line, drawn either way
        reader.ParseLine(below(2) != 0 ? join(4) : x[2] + " " + x[3] + " " + x[0] + " " + x[1]);
        break;
      case 1:
        reader.ParseLine("ci" + join(3));
        break;
      case 2:
        reader.ParseLine("ci" + join(7));
        break;
      case 3:
        reader.ParseLine("ch" + join(2) + " 1 0 \"" + m.Text);
        break;
      case 4:
        reader.ParseLine("pt" + join(2));
        break;
      case 5:
        reader.ParseLine("pt" + join(4) + (x[4] == "0" ? " 1" : " 2"));
        break;
      case 6:
        reader.ParseLine("msg");
        reader.ParseLine(join(4).substr(1));
        reader.ParseLine("cs 0 0 1 0 \"" + m.Text);
        break;
      case 7:
        reader.ParseLine("BL" + join(2) + " \"" + m.Text);
        break;
      case 8:
        reader.ParseLine("sl" + join(4));
        break;
      case 9:
        reader.ParseLine("sl" + join(6));
        break;
      case 10:
        reader.ParseLine("sl" + join(8));
        break;
      default:
        reader.ParseLine(std::string(1, 's') + "ceog"[m.Shape - 11] + join(7) +
                         (x[7] == "0" ? " 100" : " 5"));
        break;
    }
  };
  JwwGaibu reader;
  reader.ResetReaderState();
  std::vector<Made> made;
  for (int i = 0; i < 8000; ++i) {
    if (i % 5 == 0) reader.ParseLine(layers[below(layers.size())]);
    Made m;
    if (!made.empty() && below(2) == 0) {
      m = made[below(made.size())];
      const std::size_t change = below(12);
      if (change < 8) m.Value[change] = values[below(values.size())];
      if (change == 8) m.Text = texts[below(texts.size())];
    } else {
      m.Shape = static_cast<int>(below(15));
      for (std::string& value : m.Value) value = values[below(values.size())];
      m.Text = texts[below(texts.size())];
    }
    emit(reader, m);
    made.push_back(m);
  }
  // NaNs no file can hold: quiet, negative and with a payload, each its own bits.
  const uint64_t nans[] = {0x7FF8000000000000ull, 0xFFF8000000000000ull, 0x7FF8000000000001ull};
  for (int32_t i = 0; i < reader.StoreCount(kLine); i += 3) {
    double nan;
    std::memcpy(&nan, &nans[below(3)], sizeof nan);
    (below(2) != 0 ? reader.Stores.Lines[i].X1 : reader.Stores.Lines[i].Y2) = nan;
  }
  const DrawingChecks expected = test::DuplicatesByMap(reader);
  const DrawingChecks checks = CheckDrawing(reader);
  EXPECT_EQ(checks.Duplicates.Count, expected.Duplicates.Count);
  EXPECT_EQ(checks.SameLayer, expected.SameLayer);
  EXPECT_TRUE(test::SameDuplicates(checks, expected));
  // Neither a drawing of nothing but twins nor one of none: every kind has some, and some stay apart.
  for (int32_t kind = kFirstEntityKind; kind <= kLastEntityKind; ++kind) {
    SCOPED_TRACE(kind);
    EXPECT_GT(expected.DuplicatesByKind[kind - 1].Count, 0);
    EXPECT_LT(expected.DuplicatesByKind[kind - 1].Count, reader.StoreCount(kind) - 1);
  }
  EXPECT_GT(expected.SameLayer, 0);
  EXPECT_LT(expected.SameLayer, expected.Duplicates.Count);
}

TEST(DrawingChecks, RoundingToThousandths) {
  bool exact = false;
  EXPECT_EQ(RoundedThousandths(1.2345, exact), 1235);  // 1234.5 in thousandths: away from zero
  EXPECT_FALSE(exact);
  EXPECT_EQ(RoundedThousandths(-1.2345, exact), -1235);
  EXPECT_EQ(RoundedThousandths(0.00049999, exact), 0);
  EXPECT_EQ(RoundedThousandths(-0.0, exact), 0);
  RoundedThousandths(1e300, exact);
  EXPECT_TRUE(exact);
}

}  // namespace
}  // namespace jwcount
