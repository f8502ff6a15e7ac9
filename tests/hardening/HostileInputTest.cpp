// Hostile exchange files: huge lines, NUL bytes, millions of elements, of names and of copies, lines of
// thousands of tokens, every byte value, broken Shift-JIS, numbers of thousands of digits, and solids of
// NaN and infinity. Each is read, counted and answered; the reply must be exactly the 28 bytes of the
// completion message every time.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "counting/Quantities.h"
#include "tempfile/MyFunc.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/support/DuplicatesByMap.h"

namespace jwcount::hardening {
namespace {

// Sizes: the full size in the normal build, a sixteenth under the sanitizers (still many read blocks).
constexpr std::size_t Scaled(std::size_t full) {
  return kUnderSanitizer ? full / 16 : full;
}

constexpr std::size_t kMiB = std::size_t{1} << 20;

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

void ExpectAnswered(const ToolRun& run) {
  ASSERT_NE(run.Reply(), nullptr);
  EXPECT_EQ(*run.Reply(), kReply);
  EXPECT_EQ(run.fs.files.size(), 1u);
  EXPECT_EQ(run.fs.filesOpenForRead + run.fs.filesOpenForWrite, 0);
}

TEST(HostileInput, OneLineOf100MegabytesIsOneBlockWithItsWholeName) {
  const std::size_t size = Scaled(100 * kMiB);
  const std::string name = Repeat("\x82\xA0", size / 2);  // one double-byte character over and over
  auto run = ReadAndCount("lc5\r\nBL 1.5 2.5 \"" + name + "\r\nci 1 2 3\r\n");
  EXPECT_TRUE(run->readOk);
  ASSERT_EQ(run->reader->StoreCount(kBlock), 1);
  const TJwwEntBlk& block = run->reader->Stores.Blocks[0];
  EXPECT_EQ(block.X, 1.5);
  EXPECT_EQ(block.Y, 2.5);
  EXPECT_TRUE(block.BlockText.View() == name);     // not EXPECT_EQ: a failure would print 100 MB
  ASSERT_EQ(run->reader->StoreCount(kCircle), 1);  // the line after the long one is read as usual
  EXPECT_EQ(run->reader->Stores.Circles[0].Attrs.LineColour, 5);
  EXPECT_EQ(run->Total(7), 1);
  ExpectAnswered(*run);
}

TEST(HostileInput, OneLineOf100MegabytesOfDigitsIsAPlainLineEndingAtZero) {
  const std::size_t size = Scaled(100 * kMiB);
  auto run = ReadAndCount("1 2 3 " + std::string(size, '7'));  // no line break at the end either
  EXPECT_TRUE(run->readOk);
  ASSERT_EQ(run->reader->StoreCount(kLine), 1);
  const TJwwEntLine& line = run->reader->Stores.Lines[0];
  EXPECT_EQ(line.X2, 3.0);
  EXPECT_EQ(line.Y2, 0.0);  // beyond the range of a double
  ExpectAnswered(*run);
}

TEST(HostileInput, NulBytesAreDroppedAndCountNothing) {
  const std::size_t size = Scaled(64 * kMiB);
  {
    auto run = ReadAndCount(std::string(size, '\0'));
    EXPECT_TRUE(run->readOk);
    EXPECT_EQ(run->reader->EntityCount(), 0);
    ExpectAnswered(*run);
  }
  {
    // NUL lines, and NUL bytes inside the record keyword and the numbers of a circle.
    std::string bytes = Repeat(std::string(999, '\0') + "\n", size / 1000);
    bytes += std::string("c\0i 1\0 2 3\0\r\n", 13);
    auto run = ReadAndCount(std::move(bytes));
    EXPECT_TRUE(run->readOk);
    ASSERT_EQ(run->reader->EntityCount(), 1);
    EXPECT_EQ(run->reader->Stores.Circles[0].Param3, 3.0);
    ExpectAnswered(*run);
  }
}

TEST(HostileInput, TenMillionTinyElementsAreAllCounted) {
  const int32_t count = static_cast<int32_t>(Scaled(10'000'000));
  auto run = ReadAndCount("lg3\nly4\nlc7\n" + Repeat("pt 1 2\n", static_cast<std::size_t>(count)));
  EXPECT_TRUE(run->readOk);
  EXPECT_EQ(run->reader->EntityCount(), count);
  EXPECT_EQ(run->reader->StoreCount(kPoint), count);
  EXPECT_EQ(run->reader->Entity(count - 1).Position, count - 1);
  EXPECT_EQ(run->Total(4), count);
  EXPECT_EQ(run->tables->SG1.Count(4, LayerRow(3, 4)), count);
  EXPECT_EQ(run->tables->SG3.Count(4, kSg3TotalRow), count);
  EXPECT_EQ(CountSummary(*run->reader)[3], count);
  ExpectAnswered(*run);
}

// `count` lines of `before`, a number of its own (0, 1, 2, ...), then CR LF.
std::string Numbered(std::string_view before, std::size_t count) {
  std::string out;
  out.reserve((before.size() + 10) * count);
  char digits[24];
  for (std::size_t i = 0; i < count; ++i) {
    out += before;
    out.append(digits, std::to_chars(digits, digits + sizeof digits, i).ptr);
    out += "\r\n";
  }
  return out;
}

// A table of names with one row for each of `count` names "0", "1", "2", ... in that order, each counted
// once.
void ExpectOneRowPerNumber(const NameCountTable& table, std::size_t count) {
  ASSERT_EQ(table.Rows().size(), count);
  EXPECT_EQ(table.Total(), static_cast<int32_t>(count));
  std::size_t wrong = 0;
  for (const NameCountRow& row : table.Rows()) wrong += row.Count != 1;
  EXPECT_EQ(wrong, 0u);
  EXPECT_EQ(table.Rows().back().Name, std::to_string(count - 1));
}

TEST(HostileInput, TenMillionTextsOfTheirOwnHaveARowEach) {
  const std::size_t count = Scaled(10'000'000);
  auto run = ReadAndCount(Numbered("ch 0 0 1 0 \"", count));
  EXPECT_TRUE(run->readOk);
  EXPECT_EQ(run->Total(3), static_cast<int32_t>(count));
  ExpectOneRowPerNumber(run->tables->Texts, count);
  EXPECT_FALSE(run->tables->Checks.Found());  // no two alike, none empty
  ExpectAnswered(*run);
}

TEST(HostileInput, AMillionBlockNamesHaveARowEach) {
  const std::size_t count = Scaled(1'000'000);
  auto run = ReadAndCount(Numbered("BL 0 0 \"", count));
  EXPECT_TRUE(run->readOk);
  EXPECT_EQ(run->Total(7), static_cast<int32_t>(count));
  ExpectOneRowPerNumber(run->tables->Blocks, count);
  EXPECT_FALSE(run->tables->Checks.Found());
  ExpectAnswered(*run);
}

// Every element a candidate for the duplicates, and every one a duplicate.
TEST(HostileInput, TenMillionCopiesOfOneLineAreAllDuplicates) {
  const std::size_t count = Scaled(10'000'000);
  auto run = ReadAndCount("lg2\r\nly5\r\n" + Repeat("0 0 1 1\r\n", count));
  EXPECT_TRUE(run->readOk);
  const auto copies = static_cast<int32_t>(count - 1);
  const DrawingChecks& checks = run->tables->Checks;
  EXPECT_EQ(checks.Duplicates.Count, copies);
  EXPECT_EQ(checks.SameLayer, copies);
  EXPECT_EQ(checks.DuplicatesByKind[kLine - 1].Count, copies);
  EXPECT_EQ(checks.Duplicates.Layers.count(), 1u);
  EXPECT_TRUE(checks.Duplicates.Layers.test(2 * 16 + 5));
  EXPECT_EQ(checks.ZeroLengthLines.Count, 0);
  EXPECT_EQ(run->Total(1), static_cast<int32_t>(count));
  const double length = run->tables->SG1.Quantities(kSg1TotalRow).LineLength;
  EXPECT_NEAR(length, std::sqrt(2.0) * static_cast<double>(count), 1e-9 * static_cast<double>(count));
  ExpectAnswered(*run);
}

// The arcs that cost the most to measure, flat, nearly flat and stretched, cut where every piece goes
// through the elliptic integrals, and the arc that once never ended: a million of them count in fixed
// work each, and their lengths add up to what each measures alone.
TEST(HostileInput, AMillionCostliestArcsCount) {
  struct Arc {
    const char* Line;
    double R, Start, End, Flatness;
  };
  const Arc arcs[] = {
      {"ci 0 0 82 -465 0.1 0 0\r\n", 82, -465, 0.1, 0},
      {"ci 0 0 1 50 350 1.0000001e-8 0\r\n", 1, 50, 350, 1.0000001e-8},
      {"ci 0 0 1 45.001 45 9e-005 0\r\n", 1, 45.001, 45, 9e-5},
      {"ci 0 0 1 30 320 1e-006 0\r\n", 1, 30, 320, 1e-6},
      {"ci 0 0 1 50 350 1.0000001e+08 0\r\n", 1, 50, 350, 1.0000001e8},
  };
  const std::size_t rounds = Scaled(1'000'000) / std::size(arcs);
  std::string cycle;
  double expected = 0;
  for (const Arc& a : arcs) {
    cycle += a.Line;
    expected += ArcLength(a.R, a.Start, a.End, a.Flatness);
  }
  auto run = ReadAndCount(Repeat(cycle, rounds));
  EXPECT_TRUE(run->readOk);
  EXPECT_EQ(run->Total(2), static_cast<int32_t>(rounds * std::size(arcs)));
  expected *= static_cast<double>(rounds);
  EXPECT_NEAR(run->tables->SG1.Quantities(kSg1TotalRow).CurveLength, expected, 1e-9 * expected);
  ExpectAnswered(*run);
}

// The values of a solid that its record holds as doubles, in the order its line gives them.
std::vector<double*> SolidValues(TJwwEntSolidLine& r) {
  return {&r.X1, &r.Y1, &r.X2, &r.Y2};
}
std::vector<double*> SolidValues(TJwwEntSolidTri& r) {
  return {&r.X1, &r.Y1, &r.X2, &r.Y2, &r.X3, &r.Y3};
}
std::vector<double*> SolidValues(TJwwEntSolidQuad& r) {
  return {&r.X1, &r.Y1, &r.X2, &r.Y2, &r.X3, &r.Y3, &r.X4, &r.Y4};
}
std::vector<double*> SolidValues(TJwwEntSolidCircle& r) {
  return {&r.Param1, &r.Param2, &r.Param3, &r.Param4, &r.Param5, &r.Param6, &r.Param7};
}
std::vector<double*> SolidValues(TJwwEntSolidRing& r) {
  return {&r.Param1, &r.Param2, &r.Param3, &r.Param4, &r.Param5, &r.Param6, &r.Param7, &r.Param8};
}

// A file cannot hold a NaN or an infinity (such words read as 0); a drawing made otherwise could. Every
// solid kind with each of its values in turn a NaN of either sign or an infinity of either sign, each solid
// drawn twice: read, then given those values, and counted. Every length and area stays finite and not
// negative, every solid is counted, and each twin is a duplicate of the other, NaN or not.
TEST(HostileInput, NaNAndInfinityInEverySolidValue) {
  struct Shape {
    int32_t Kind;
    const char* Keyword;
    std::vector<std::string> Values;
    const char* After = "";
  };
  const Shape shapes[] = {
      {kSolidLine, "sl", {"1", "2", "3", "5"}},
      {kSolidTriangle, "sl", {"1", "2", "3", "5", "7", "11"}},
      {kSolidQuad, "sl", {"1", "2", "3", "5", "7", "11", "13", "17"}},
      {kSolidCircle, "sc", {"1", "2", "3", "4", "0", "90", "0.5"}, " 100"},
      {kSolidCircumference, "se", {"1", "2", "3", "4", "0", "90", "0.5"}, " 5"},
      {kSolidRingO, "so", {"1", "2", "3", "4", "0", "90", "0.5", "1"}},
      {kSolidRingG, "sg", {"1", "2", "3", "4", "0", "90", "0.5", "1"}},
  };
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* Word;
    double Value;
  } hostile[] = {{"nan", nan}, {"-nan", -nan}, {"inf", kInf}, {"-inf", -kInf}};
  std::string bytes;
  int32_t lines = 0;
  for (const Shape& shape : shapes) {
    for (std::size_t v = 0; v < shape.Values.size(); ++v) {
      for (const auto& h : hostile) {
        std::string line = shape.Keyword;
        for (std::size_t i = 0; i < shape.Values.size(); ++i)
          line += " " + (i == v ? h.Word : shape.Values[i]);
        line += std::string(shape.After) + "\r\n";
        bytes += line + line;
        ++lines;
      }
    }
  }
  auto run = ReadOnly(std::move(bytes));
  EXPECT_TRUE(run->readOk);
  JwwGaibu& reader = *run->reader;
  ASSERT_EQ(reader.EntityCount(), 2 * lines);
  std::vector<int32_t> next(16, 0);
  for (const Shape& shape : shapes) {
    for (std::size_t v = 0; v < shape.Values.size(); ++v) {
      for (const auto& h : hostile) {
        for (int twin = 0; twin < 2; ++twin) {
          SCOPED_TRACE(std::string(shape.Keyword) + " value " + std::to_string(v) + " " + h.Word);
          ASSERT_LT(next[shape.Kind], reader.StoreCount(shape.Kind));
          VisitStore(reader.Stores, shape.Kind, [&](auto& store) {
            if constexpr (requires { store[0].SolidColour; }) {
              double* const value = SolidValues(store[next[shape.Kind]])[v];
              EXPECT_EQ(*value, 0.0);  // as the file gives it
              *value = h.Value;
            }
          });
          ++next[shape.Kind];
        }
      }
    }
  }
  run->Count();
  for (int32_t j = 0; j < reader.EntityCount(); ++j) {
    const EntityIndexEntry& e = reader.Entity(j);
    const ElementQuantity q = QuantityOf(reader.Stores, e.Kind, e.Position);
    for (const double share : {q.LineLength, q.CurveLength, q.Area})
      EXPECT_TRUE(std::isfinite(share) && share >= 0) << "element " << j << ": " << share;
  }
  const CountTable* const tables[] = {&run->tables->SG1, &run->tables->SG2, &run->tables->SG3,
                                      &run->tables->SG4, &run->tables->SG5};
  const int totalRows[] = {kSg1TotalRow, kSg2TotalRow, kSg3TotalRow, kSg4TotalRow, kSg5TotalRow};
  for (int t = 0; t < 5; ++t) {
    const RowQuantities sums = tables[t]->Quantities(totalRows[t]);
    for (const double sum : {sums.LineLength, sums.CurveLength, sums.Length, sums.Area})
      EXPECT_TRUE(std::isfinite(sum) && sum >= 0) << "table " << t + 1 << ": " << sum;
  }
  for (int column = 8; column <= 13; ++column) {
    EXPECT_EQ(run->Total(column), CountSummary(reader)[column - 1]) << column;
  }
  EXPECT_EQ(run->Total(8) + run->Total(9) + run->Total(10) + run->Total(11) + run->Total(12) + run->Total(13),
            2 * lines);
  const DrawingChecks& checks = run->tables->Checks;
  EXPECT_EQ(checks.Duplicates.Count, lines);
  EXPECT_EQ(checks.SameLayer, lines);
  EXPECT_TRUE(test::SameDuplicates(checks, test::DuplicatesByMap(reader)));
  ExpectAnswered(*run);
}

TEST(HostileInput, LinesOfTenThousandTokensKeepTheirFirstTokens) {
  const std::string many = Repeat(" 9", 10'000);
  auto run = ReadAndCount("ci 1 2 3 4 5 6 7" + many + "\n" +    // an arc: "ci" with 8 or more tokens
                          "sl 1 2 3 4 5 6 7 8" + many + "\n" +  // a quadrilateral solid
                          "1 2 3" + many + "\n" +               // far more than four tokens: no plain line
                          "lg1" + many + "\n" +                 // the group is still read
                          "ch 0 0 1 1 \"" + Repeat("word ", 10'000) + "\n" + "1 2 3 4\n");
  EXPECT_TRUE(run->readOk);
  EXPECT_EQ(run->reader->StoreCount(kArc), 1);
  EXPECT_EQ(run->reader->Stores.Arcs[0].Param7, 7.0);
  EXPECT_EQ(run->reader->StoreCount(kSolidQuad), 1);
  EXPECT_EQ(run->reader->Stores.SolidQuads[0].Y4, 8.0);
  ASSERT_EQ(run->reader->StoreCount(kText), 1);
  const std::string_view text = run->reader->Stores.Texts[0].Text.View();
  EXPECT_EQ(text.size(), kMaxRecordText);
  EXPECT_EQ(text.substr(0, 10), "word word ");
  ASSERT_EQ(run->reader->StoreCount(kLine), 1);
  EXPECT_EQ(run->reader->Stores.Lines[0].Attrs.LayerGroup, 1);
  ExpectAnswered(*run);
}

// What the line "c", b, "i 1 2 3" makes for each byte b.
enum class Makes { kCircle, kPlainLine, kNothing };

Makes ExpectedFor(int b) {
  switch (b) {
    case 0x09:  // a separator: five tokens
    case 0x20:
    case 0x1A:  // Ctrl-Z ends the line after "c"
    case 0x22:  // a quote or equals sign turns the separators off: one token
    case 0x3D:
    case 'c':  // "cci" and "cni" are attribute records
    case 'n':
      return Makes::kNothing;
    case 0x0A:  // the line breaks: "i 1 2 3" is a plain line
      return Makes::kPlainLine;
    default:
      break;
  }
  // Dropped bytes leave "ci 1 2 3"; any other byte joins the keyword, and four tokens no rule takes
  // make a plain line.
  return (b < 0x20 || b >= 0xFE) ? Makes::kCircle : Makes::kPlainLine;
}

TEST(HostileInput, EveryByteValueInsideAKeyword) {
  std::string all;
  int circles = 0;
  int lines = 0;
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string line = "c" + std::string(1, static_cast<char>(b)) + "i 1 2 3\r\n";
    auto run = ReadOnly(line);
    EXPECT_TRUE(run->readOk);
    const Makes makes = ExpectedFor(b);
    circles += makes == Makes::kCircle;
    lines += makes == Makes::kPlainLine;
    EXPECT_EQ(run->reader->StoreCount(kCircle), makes == Makes::kCircle ? 1 : 0);
    EXPECT_EQ(run->reader->StoreCount(kLine), makes == Makes::kPlainLine ? 1 : 0);
    EXPECT_EQ(run->reader->EntityCount(), makes == Makes::kNothing ? 0 : 1);
    all += line;
  }
  // All 256 lines in one file, counted and answered.
  auto run = ReadAndCount(std::move(all));
  EXPECT_TRUE(run->readOk);
  EXPECT_EQ(run->Total(1), lines);
  EXPECT_EQ(run->Total(2), circles);
  ExpectAnswered(*run);
}

TEST(HostileInput, EveryByteValueInEveryPositionThenARecord) {
  // All 256 rotations of the 256 byte values (no Ctrl-Z ever starts a line: every LF is followed by 0x0B),
  // then one circle that must still be read.
  std::string bytes;
  for (int start = 0; start < 256; ++start) {
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>((start + i) & 0xFF));
  }
  bytes += "\nci 7 8 9\r\n";
  auto run = ReadAndCount(std::move(bytes));
  EXPECT_TRUE(run->readOk);
  const int32_t circles = run->reader->StoreCount(kCircle);
  ASSERT_GE(circles, 1);
  EXPECT_EQ(run->reader->Stores.Circles[circles - 1].Param3, 9.0);
  ExpectAnswered(*run);
}

TEST(HostileInput, RandomBytesReadAndAnswer) {
  std::mt19937 random(20261208);
  std::string bytes(Scaled(16 * kMiB), '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  auto run = ReadAndCount(std::move(bytes));
  EXPECT_TRUE(run->readOk);
  ExpectAnswered(*run);
}

TEST(HostileInput, BrokenShiftJis) {
  struct Case {
    const char* what;
    std::string bytes;
    int circles;
    int texts;
  };
  const Case cases[] = {
      {"lead byte last on a line", "ci 1 2 3\x81\r\nci 4 5 6\r\n", 2, 0},
      {"lead byte before the line break after a blank", "ci 1 2 3 \x81\nci 4 5 6\n", 1, 0},
      {"lead byte swallows the blank after it", "ci 1 2\x81 3\r\n", 0, 0},
      {"lead byte swallows a quote", "ch 0 0 1 1 a\x81\"b c\r\n", 0, 1},
      {"0x80 and 0xFD as lead bytes, halfwidth kana", "lyn\xA0\xDF\x80\x41\xFD\x42\r\nci 1 2 3\r\n", 1, 0},
      {"lone trail bytes", "\x40\x7E\xFC ci 1 2\r\nci 1 2 3\r\n", 1, 0},
      {"lead byte then a lone CR", "ci 1 2 3\x81\r\r\n", 1, 0},
      {"lead byte then Ctrl-Z", "ci 1 2 3\x81\x1A\nci 4 5 6\n", 2, 0},
      {"a file ending in a lead byte", "ci 1 2 3\x81", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto run = ReadAndCount(c.bytes);
    EXPECT_TRUE(run->readOk);
    EXPECT_EQ(run->reader->StoreCount(kCircle), c.circles);
    EXPECT_EQ(run->reader->StoreCount(kText), c.texts);
    ExpectAnswered(*run);
  }
}

TEST(HostileInput, NumbersOfThousandsOfDigits) {
  struct Case {
    const char* what;
    std::string number;
    double value;
  };
  const Case cases[] = {
      {"5000 digits: beyond a double", "1" + std::string(4999, '0'), 0.0},
      {"2000 nines", std::string(2000, '9'), 0.0},
      {"1e300 written out", "1" + std::string(300, '0') + "." + std::string(3000, '0'), 1e300},
      {"4000 zeros after the point, then a large exponent", "0." + std::string(4000, '0') + "25e4002", 25.0},
      {"5000 leading zeros", "-" + std::string(5000, '0') + "1.5", -1.5},
      {"underflow", "0." + std::string(3000, '0') + "1", 0.0},
      {"3000-digit exponent", "1e" + std::string(3000, '9'), 0.0},
      {"3000-digit negative exponent", "1e-" + std::string(3000, '9'), 0.0},
      {"3000-digit exponent of zeros", "1.25e" + std::string(3000, '0'), 1.25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TextToReal(c.number), c.value);
    auto run = ReadAndCount("0 0 0 " + c.number + "\r\n");
    EXPECT_TRUE(run->readOk);
    ASSERT_EQ(run->reader->StoreCount(kLine), 1);
    EXPECT_EQ(run->reader->Stores.Lines[0].Y2, c.value);
    ExpectAnswered(*run);
  }
  EXPECT_EQ(TextToInt(std::string(5000, '0') + "7"), 7);
  EXPECT_EQ(TextToInt("-" + std::string(5000, '0') + "2147483648"), -2147483647 - 1);
  EXPECT_EQ(TextToInt(std::string(3000, '9')), 0);
  EXPECT_EQ(TextToInt("$" + std::string(3000, '0') + "FFFFFFFF"), -1);
  EXPECT_EQ(TextToInt("$1" + std::string(3000, '0')), 0);
  auto run = ReadAndCount("lw" + std::string(5000, '0') + "7\r\n1 2 3 4\r\nlw" + std::string(3000, '9') +
                          "\r\n1 2 3 4\r\n");
  ASSERT_EQ(run->reader->StoreCount(kLine), 2);
  EXPECT_EQ(run->reader->Stores.Lines[0].Attrs.LineWidth, 7);
  EXPECT_EQ(run->reader->Stores.Lines[1].Attrs.LineWidth, 0);
  ExpectAnswered(*run);
}

}  // namespace
}  // namespace jwcount::hardening
