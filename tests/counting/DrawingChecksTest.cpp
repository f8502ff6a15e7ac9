// The drawing checks on small drawings: what counts as a duplicate, on which layers, and the three checks
// of what is empty.
#include "counting/DrawingChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
