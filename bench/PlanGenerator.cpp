// The plan generator: writes a realistic exchange file (JWC_TEMP.TXT as Jw_cad writes it: Shift-JIS,
// CR LF) of N elements: the header and layer records of a small apartment plan, then room after room of
// grid lines, walls as polylines, doors and windows, fittings, room names, dimensions, hatching solids,
// points and furniture, spread over four layer groups, ten layers and many colours, line types and widths.
#include "bench/PlanGenerator.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <string>
#include <string_view>

#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

// Shift-JIS texts of the drawing.
constexpr std::string_view kGroupNames[] = {
    "\x31\x8A\x4B\x95\xBD\x96\xCA\x90\x7D",  // 1階平面図
    "\x32\x8A\x4B\x95\xBD\x96\xCA\x90\x7D",  // 2階平面図
    "\x97\xA7\x96\xCA\x90\x7D",              // 立面図
    "\x94\x7A\x92\x75\x90\x7D",              // 配置図
};
constexpr std::string_view kLayerNames[] = {
    "\x92\xCA\x82\xE8\x90\x63",          // 通り芯
    "\x95\xC7",                          // 壁
    "\x8C\x9A\x8B\xEF",                  // 建具
    "\x90\xDD\x94\xF5",                  // 設備
    "\x95\xB6\x8E\x9A",                  // 文字
    "\x90\xA1\x96\x40",                  // 寸法
    "\x8E\x64\x8F\xE3",                  // 仕上
    "\x93\x5F",                          // 点
    "\x95\xE2\x8F\x95\x90\xFC",          // 補助線
    "\x89\xBA\x82\xAA\x82\xE8\x95\xC7",  // 下がり壁
};
constexpr std::string_view kRoomNames[] = {
    "\x97\x6D\x8E\xBA\x28\x31\x29",  // 洋室(1)
    "\x98\x61\x8E\xBA",              // 和室
    "\x91\xE4\x8F\x8A",              // 台所
    "\x97\x81\x8E\xBA",              // 浴室
    "\x95\xD6\x8F\x8A",              // 便所
    "\x8C\xBA\x8A\xD6",              // 玄関
    "\x98\x4C\x89\xBA",              // 廊下
    "\x8E\xFB\x94\x5B",              // 収納
};
constexpr std::string_view kBlockNames[] = {
    "\x95\xD6\x8A\xED",          // 便器
    "\x97\xAC\x82\xB5\x91\xE4",  // 流し台
    "\x97\x81\x91\x85",          // 浴槽
};
constexpr std::string_view kChair = "\x88\xD6\x8E\x71";          // 椅子
constexpr std::string_view kLight = "\x8F\xC6\x96\xBE\x87\x40";  // 照明① (① exists only in CP932)
constexpr std::string_view kGothic = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
constexpr std::string_view kMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";                  // ＭＳ 明朝
constexpr double kTurn = 2 * std::numbers::pi;                     // a full turn in radians
constexpr std::string_view kTatami = "\x92\x9F";                   // 帖
constexpr std::string_view kCeiling = "\x93\x56\x88\xE4\x8D\x82";  // 天井高
constexpr std::string_view kSash = "\xB1\xD9\xD0\xBB\xAF\xBC";     // ｱﾙﾐｻｯｼ (half-width kana)
constexpr std::string_view kCircled[] = {"\x87\x40", "\x87\x41", "\x87\x42", "\x87\x43", "\x87\x44"};  // ①-⑤
constexpr std::string_view kSquareMetre = "\x87\x75";  // ㎡ (CP932 only)
constexpr std::string_view kKanaNotes[] = {
    "\xBB\xAF\xBC",                  // ｻｯｼ
    "\xC4\xDE\xB1",                  // ﾄﾞｱ
    "\xCC\xDB\xB0\xD8\xDD\xB8\xDE",  // ﾌﾛｰﾘﾝｸﾞ
};
constexpr std::string_view kFileName =
    "file=C:\\jww\\\x8F\x57\x8D\x87\x8F\x5A\x91\xEE\\1F\x95\xBD\x96\xCA\x90\x7D.jww";  // 集合住宅\1F平面図

// A small deterministic generator, so that the same N always gives the same file. Two draws never share
// one call's arguments: their order is not fixed, and another compiler would take them the other way
// round and write other bytes.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  double Between(double low, double high) { return low + (high - low) * (Next() / 4294967296.0); }

 private:
  uint32_t state_;
};

class Output {
 public:
  Output(std::FILE* file, PlanStyle style) : file_(file), real_(style == PlanStyle::kReal) {
    buffer_.reserve(kFlushAt + 4096);
  }
  ~Output() { Flush(); }

  Output& Text(std::string_view text) {
    buffer_.append(text);
    return *this;
  }
  // A number: in the tidy style plain decimal with at most four places; in the real style as Jw_cad
  // writes it, up to 15 significant digits and small values with a three-digit exponent ("1e+06",
  // "-3.2783543701953e-005").
  Output& Number(double value) {
    if (!buffer_.empty() && buffer_.back() != '\n' && buffer_.back() != '"' &&
        (!real_ || buffer_.back() != ' ')) {
      buffer_ += ' ';
    }
    if (real_) return RealNumber(value);
    value = std::round(value * 10000.0) / 10000.0;
    if (value == 0.0) value = 0.0;  // no "-0"
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
    buffer_.append(digits, static_cast<std::size_t>(result.ptr - digits));
    return *this;
  }
  Output& RealNumber(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    char digits[40];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15);
    std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) {
      buffer_.append(text);
      return *this;
    }
    buffer_.append(text.substr(0, e + 2));  // mantissa, "e" and sign
    const std::string_view exponent = text.substr(e + 2);
    if (exponent.size() < 3) buffer_.append(3 - exponent.size(), '0');
    buffer_.append(exponent);
    return *this;
  }
  Output& Int(long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, static_cast<std::size_t>(result.ptr - digits));
    return *this;
  }
  void End() {
    buffer_.append("\r\n");
    if (buffer_.size() >= kFlushAt) Flush();
  }
  bool Flush() {
    const bool ok = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
    buffer_.clear();
    return ok && std::fflush(file_) == 0;
  }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 20;
  std::FILE* file_;
  bool real_;
  std::string buffer_;
};

// Writes records and counts the elements; every element writer does nothing once N are written.
class PlanWriter {
 public:
  PlanWriter(Output& out, long limit, PlanStyle style)
      : out_(out), limit_(limit), lineStart_(style == PlanStyle::kReal ? " " : "") {}

  bool Full() const { return written_ >= limit_; }
  long Written() const { return written_; }

  void Record(std::string_view text) {
    out_.Text(text);
    out_.End();
  }
  void Record(std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) out_.Text(piece);
    out_.End();
  }
  void Record(std::string_view keyword, long value) {
    out_.Text(keyword).Int(value);
    out_.End();
  }

  void Line(double x1, double y1, double x2, double y2) {
    if (!Take()) return;
    out_.Text(lineStart_).Number(x1).Number(y1).Number(x2).Number(y2);
    out_.End();
  }
  void Circle(double x, double y, double r) {
    if (!Take()) return;
    out_.Text("ci").Number(x).Number(y).Number(r);
    out_.End();
  }
  void Arc(double x, double y, double r, double start, double end, double flatness, double tilt) {
    if (!Take()) return;
    out_.Text("ci").Number(x).Number(y).Number(r).Number(start).Number(end).Number(flatness).Number(tilt);
    out_.End();
  }
  void Text(std::string_view keyword, double x, double y, double dx, double dy, std::string_view text,
            std::string_view more = {}) {
    if (!Take()) return;
    out_.Text(keyword).Number(x).Number(y).Number(dx).Number(dy).Text(" \"").Text(text).Text(more);
    out_.End();
  }
  void Point(double x, double y) {
    if (!Take()) return;
    out_.Text("pt").Number(x).Number(y);
    out_.End();
  }
  void Marker(double x, double y, double size, double angle, long code) {
    if (!Take()) return;
    out_.Text("pt").Number(x).Number(y).Number(size).Number(angle).Text(" ").Int(code);
    out_.End();
  }
  // A dimension: the "msg" record, its line and its "cs" text.
  void Dimension(double x1, double y1, double x2, double y2, long length) {
    if (!Take()) return;
    Record("msg");
    out_.Text(lineStart_).Number(x1).Number(y1).Number(x2).Number(y2);
    out_.End();
    out_.Text("cs")
        .Number((x1 + x2) / 2)
        .Number((y1 + y2) / 2 + 50)
        .Number(1)
        .Number(0)
        .Text(" \"")
        .Int(length);
    out_.End();
  }
  // A dimension as the real style writes it: the "msg" record is written by the caller, then the line and
  // the "cs" text at (tx, ty) with direction (dx, dy).
  void Dimension(double x1, double y1, double x2, double y2, double tx, double ty, double dx, double dy,
                 std::string_view text) {
    if (!Take()) return;
    out_.Text(lineStart_).Number(x1).Number(y1).Number(x2).Number(y2);
    out_.End();
    out_.Text("cs").Number(tx).Number(ty).Number(dx).Number(dy).Text(" \"").Text(text);
    out_.End();
  }
  void Block(double x, double y, std::string_view name) {
    if (!Take()) return;
    out_.Text("BL").Number(x).Number(y).Text(" \"").Text(name);
    out_.End();
  }
  // An "sl" record with 2, 3 or 4 corners.
  void Solid(std::initializer_list<double> corners) {
    if (!Take()) return;
    out_.Text("sl");
    for (const double c : corners) out_.Number(c);
    out_.End();
  }
  // A circular solid: centre, radius, flatness, tilt, start and sweep (radians), then the last value (a
  // circle solid's flag, a ring's inner radius).
  void RoundSolid(std::string_view keyword, double x, double y, double r, double flatness, double tilt,
                  double start, double sweep, double last, bool lastIsInt) {
    if (!Take()) return;
    out_.Text(keyword).Number(x).Number(y).Number(r).Number(flatness).Number(tilt).Number(start).Number(
        sweep);
    if (lastIsInt) {
      out_.Text(" ").Int(static_cast<long>(last));
    } else {
      out_.Number(last);
    }
    out_.End();
  }

 private:
  bool Take() {
    if (written_ >= limit_) return false;
    ++written_;
    return true;
  }

  Output& out_;
  long limit_;
  std::string_view lineStart_;  // a plain line begins with a blank in the real style
  long written_ = 0;
};

// A layer group or layer as its record writes it: one upper-case hexadecimal digit.
std::string HexDigitText(int value) {
  return std::string(1, HexDigitChar(static_cast<unsigned>(value)));
}

void WriteHeader(PlanWriter& plan) {
  plan.Record(kFileName);
  plan.Record("hq");
  plan.Record("hk 0");
  plan.Record("hs 100 100 50 50 100 100 100 100 100 100 100 100 100 100 100 100");
  plan.Record("hzs 420 297");
  plan.Record("hcw 2 2.5 3 3.5 4 5 6 7 8 10");
  plan.Record("hch 2 2.5 3 3.5 4 5 6 7 8 10");
  plan.Record("hcd 0 0 0.5 0.5 0.5 1 1 1 1 1");
  plan.Record("hcc 1 1 2 2 3 3 4 4 5 5");
  plan.Record("hn 0 0 0 0");
  plan.Record("hp1 0 0");
  plan.Record("hp2- 3640 0");
  plan.Record("hp3ln 0 3640");
  plan.Record("hp4ci 1820 1820");
  for (int g = 0; g < 4; ++g) {
    plan.Record({"lg", HexDigitText(g), " 2"});
    plan.Record({"lgn", kGroupNames[g]});
    for (int l = 0; l < 10; ++l) {
      plan.Record({"ly", HexDigitText(l), l == 9 ? " 1" : " 2"});
      plan.Record({"lyn", kLayerNames[l]});
    }
  }
}

void Layer(PlanWriter& plan, int layer) {
  plan.Record({"ly", HexDigitText(layer)});
}

// One room of about a hundred elements with its lower left corner at (x, y).
void WriteRoom(PlanWriter& plan, Random& random, long room) {
  const double w = 910.0 * (3 + random.Below(3));
  const double d = 910.0 * (3 + random.Below(2));
  const double x = static_cast<double>(room % 20) * 6000.0;
  const double y = static_cast<double>(room / 20) * 5000.0;  // every room in a place of its own
  const int group = static_cast<int>(room % 4);
  plan.Record({"lg", HexDigitText(group)});

  // Grid lines: dot-dash, fine.
  Layer(plan, 0);
  plan.Record("lc6");
  plan.Record("lt5");
  plan.Record("lw0");
  plan.Line(x - 500, y, x + w + 500, y);
  plan.Line(x, y - 500, x, y + d + 500);

  // Walls: two closed polylines, outer and inner face.
  Layer(plan, 1);
  plan.Record("lc2");
  plan.Record("lt1");
  plan.Record("lw", random.Below(2) == 0 ? 3 : 5);
  for (const double t : {-60.0, 60.0}) {
    plan.Record("pl");
    plan.Line(x + t, y + t, x + w - t, y + t);
    plan.Line(x + w - t, y + t, x + w - t, y + d - t);
    plan.Line(x + w - t, y + d - t, x + t, y + d - t);
    plan.Line(x + t, y + d - t, x + t, y + t);
    plan.Record("#");
  }

  // Door (leaf and swing) and window (frame and glass).
  Layer(plan, 2);
  plan.Record("lc3");
  plan.Record("lw1");
  plan.Record("z1");
  plan.Line(x + 100, y + 60, x + 100, y + 860);
  plan.Arc(x + 100, y + 60, 800, 0, 90, 1, 0);
  plan.Line(x + w / 2 - 800, y + d - 60, x + w / 2 + 800, y + d - 60);
  plan.Line(x + w / 2 - 800, y + d, x + w / 2 + 800, y + d);
  plan.Line(x + w / 2 - 800, y + d + 60, x + w / 2 + 800, y + d + 60);

  // Fittings: columns, a sink, fixture, chair and light blocks and filled round parts.
  Layer(plan, 3);
  plan.Record("lc4");
  plan.Circle(x, y, 150);
  plan.Circle(x + w, y + d, 150);
  const double tilt = random.Between(0, 90);
  const double flatness = random.Between(0.5, 0.8);
  plan.Arc(x + w - 600, y + 600, 300, 0, 360, flatness, tilt);
  plan.Arc(x + 600, y + 600, 250, 30, 210, flatness, tilt);
  plan.Record("hhp1");
  plan.Block(x + w - 600, y + 400, kBlockNames[room % 3]);
  plan.Block(x + 600, y + d - 600, kChair);
  plan.Block(x + 1200, y + d - 600, kChair);
  plan.Block(x + w / 2, y + d / 2, kLight);
  plan.Record({"lc10 ", std::to_string(1 + random.Below(255))});
  plan.RoundSolid("sc", x, y, 120, 1, 0, 0, kTurn, 100, true);
  plan.RoundSolid("se", x + w, y + d, 120, 1, 0, 0, kTurn, 1, true);

  // Room name, floor area and window note.
  Layer(plan, 4);
  plan.Record("lc1");
  plan.Record({"cn$\"", room % 2 == 0 ? kGothic : kMincho});
  plan.Record("cn", 3 + random.Below(3));
  plan.Record("cc0");
  plan.Text("ch", x + w / 2 - 600, y + d / 2, 1, 0, kRoomNames[room % 8]);
  plan.Record("cn0 2.5 2.5 0.5 3");
  plan.Text("ch", x + w / 2 - 400, y + d / 2 - 500, 1, 0, std::to_string(static_cast<int>(w * d / 1620000.0)),
            kTatami);
  plan.Record("cc2");
  plan.Text("cv", x + w - 300, y + 300, 0, 1, kCeiling, " CH=2400");
  plan.Text("c2", x + w / 2, y + d + 200, 1, 0, kSash);
  // Window and door marks: the same mark on every window or door of a kind.
  plan.Text("ch", x + w / 2 - 200, y + d + 400, 1, 0, "WD1");
  plan.Text("ch", x + w / 2 + 200, y - 400, 1, 0, "WD1");
  plan.Text("ch", x + 300, y + 900, 1, 0, "AW-3");

  // Dimensions along two sides.
  Layer(plan, 5);
  plan.Record("lc1");
  plan.Record("lw0");
  plan.Dimension(x, y - 800, x + w, y - 800, static_cast<long>(w));
  plan.Dimension(x - 800, y, x - 800, y + d, static_cast<long>(d));

  // Floor finish: tiles, a triangle, a strip, corner cases that reduce, and round solids.
  Layer(plan, 6);
  plan.Record({"lc10 ", std::to_string(1 + random.Below(255))});
  plan.Solid({x + 200, y + 200, x + 1100, y + 200, x + 1100, y + 1100, x + 200, y + 1100});
  plan.Solid({x + 1200, y + 200, x + 2100, y + 200, x + 2100, y + 1100, x + 1200, y + 1100});
  plan.Solid({x + 200, y + 1200, x + 1100, y + 1200, x + 200, y + 2100});
  plan.Solid({x + 200, y + 2200, x + 2000, y + 2200});
  plan.Solid({x + 2200, y + 200, x + 2800, y + 200, x + 2800, y + 800, x + 2800, y + 800});
  plan.Record("lc7");
  plan.RoundSolid("so", x + w / 2, y + d / 2, 300, 1, 0, 0, kTurn, 150, false);
  plan.RoundSolid("sg", x + w / 2, y + d / 2, 200, 1, 0, 0, kTurn / 2, 100, false);
  // Round floor parts of every fill: a sector, a segment, the corner outside an arc, a flattened sector.
  plan.RoundSolid("sc", x + w - 300, y + 300, 250, 1, 0, kTurn / 4, kTurn / 4, 0, true);
  plan.RoundSolid("sc", x + w / 2, y + 300, 400, 1, 0, 0, kTurn / 2, 5, true);
  plan.RoundSolid("sc", x + 300, y + d - 300, 300, 1, 0, kTurn / 2, kTurn / 4, -1, true);
  plan.RoundSolid("sc", x + w / 2, y + d - 300, 500, 0.6, 0.5236, 0, kTurn / 2, 0, true);

  // Survey points and markers.
  Layer(plan, 7);
  plan.Record("pn2");
  plan.Point(x, y);
  plan.Point(x + w, y + d);
  plan.Record("pn5");
  plan.Marker(x + w, y, 3, 0, 1 + random.Below(4));
  plan.Marker(x, y + d, 3, 45, 1 + random.Below(4));

  // Auxiliary lines in SXF colours and types, then furniture in ordinary colours, types and widths.
  Layer(plan, 8);
  plan.Record("lc", 101 + random.Below(12));
  plan.Record("lt", 31 + random.Below(8));
  plan.Record("lw", 13 + 12 * random.Below(4));
  for (int i = 0; i < 20; ++i) {
    const double u = random.Between(0, w);
    plan.Line(x + u, y, x + u, y + d);
  }
  Layer(plan, room % 7 == 0 ? 9 : 8);
  for (int i = 0; i < 30; ++i) {
    if (i % 10 == 0) {
      plan.Record("lc", 1 + random.Below(9));
      plan.Record("lt", 1 + random.Below(9));
      plan.Record("lw", random.Below(4) == 0 ? 100 : random.Below(6));
    }
    const double u = random.Between(200, w - 200);
    const double v = random.Between(200, d - 200);
    const double dy = random.Between(-400, 400);
    const double dx = random.Between(-400, 400);
    plan.Line(x + u, y + v, x + u + dx, y + v + dy);
  }

  // What a drawing received from another firm often carries: a grid line drawn again on another layer, a
  // line of no length, a text of nothing and one of a full-width blank.
  Layer(plan, 9);
  plan.Line(x - 500, y, x + w + 500, y);
  plan.Line(x + 300, y + 300, x + 300, y + 300);
  plan.Text("ch", x + 300, y + 300, 1, 0, "");
  plan.Text("ch", x + 600, y + 300, 1, 0, "\x81\x40");
}

// The real style: the header as Jw_cad writes it, with its padded and exponent values.
void WriteRealHeader(PlanWriter& plan) {
  plan.Record(kFileName);
  plan.Record("hq");
  plan.Record("hk 0");
  plan.Record("hs 100 1e+06 50 50 100 100 1e+06 100 100 100 100 100 100 100 100 100");
  plan.Record("hzs 420 297");
  plan.Record("hcw 2 2.5 3 3.5 4 5 6 7 8 10");
  plan.Record("hch 2 2.5 3 3.5 4 5 6 7 8 10");
  plan.Record("hcd 0 0 0.5 0.5 0.5 1 1 1 1 1");
  plan.Record("hcc      1      1      2      2      3      3      4      4      5      5");
  plan.Record("hn 0 0 0 0");
  plan.Record("hp1-  0 0");
  plan.Record("hp2   3640 0");
  plan.Record("hp3ln 0 3640");
  for (int g = 0; g < 4; ++g) {
    plan.Record({"lg", std::string(1, HexDigitChar(static_cast<unsigned>(g), true)), " 2"});
    plan.Record({"lgn", kGroupNames[g]});
    for (int l = 0; l < 16; ++l) {
      plan.Record({"ly", std::string(1, HexDigitChar(static_cast<unsigned>(l), true)), l == 9 ? " 1" : " 2"});
      if (l < 10) plan.Record({"lyn", kLayerNames[l]});
    }
  }
}

// Drawing millimetres as Jw_cad keeps them after a change of scale: most digits are noise.
struct Sheet {
  double X(double x) const { return x / 1.05 - 3017.3917; }
  double Y(double y) const { return y / 1.05 - 3317.2606; }
};

// An angle or direction that should be a round value, with the float noise Jw_cad leaves in it.
double Noisy(Random& random, double value) {
  const double noise = random.Between(-4e-5, 4e-5);
  return value == 0.0 ? noise : value * (1 + noise * 1e-7);
}

void RealLine(PlanWriter& plan, const Sheet& s, double x1, double y1, double x2, double y2) {
  plan.Line(s.X(x1), s.Y(y1), s.X(x2), s.Y(y2));
}

// One room of about a hundred elements in the real style: mostly plain lines, then texts, arcs, points,
// dimensions, blocks and solids; polylines often left open; layers in lower-case hexadecimal.
void WriteRealRoom(PlanWriter& plan, Random& random, long room) {
  const Sheet s;
  const double w = 910.0 * (3 + random.Below(3));
  const double d = 910.0 * (3 + random.Below(2));
  const double x = static_cast<double>(room % 20) * 6000.0;
  const double y = static_cast<double>(room / 20) * 5000.0;  // every room in a place of its own
  auto layer = [&plan](int l) {
    plan.Record({"ly", std::string(1, HexDigitChar(static_cast<unsigned>(l), true))});
  };
  plan.Record({"lg", std::string(1, HexDigitChar(static_cast<unsigned>(room % 4), true))});

  layer(0);
  plan.Record("lc6");
  plan.Record("lt5");
  plan.Record("lw0");
  RealLine(plan, s, x - 500, y, x + w + 500, y);
  RealLine(plan, s, x, y - 500, x, y + d + 500);
  RealLine(plan, s, x - 500, y + d, x + w + 500, y + d);
  RealLine(plan, s, x + w, y - 500, x + w, y + d + 500);

  // Walls: three polylines, closed by "#", by the next "pl" and by a colour record.
  layer(1);
  plan.Record("lc2");
  plan.Record("lt1");
  for (const double t : {-60.0, 60.0, 0.0}) {
    plan.Record("pl");
    RealLine(plan, s, x + t, y + t, x + w - t, y + t);
    RealLine(plan, s, x + w - t, y + t, x + w - t, y + d - t);
    RealLine(plan, s, x + w - t, y + d - t, x + t, y + d - t);
    RealLine(plan, s, x + t, y + d - t, x + t, y + t);
    if (t < 0) plan.Record("#");
  }
  plan.Record("lc3");

  layer(2);
  plan.Record("lw1");
  for (const double u : {100.0, w - 900}) {
    RealLine(plan, s, x + u, y + 60, x + u, y + 860);
    const double angle = Noisy(random, 0);
    const double end = Noisy(random, 90);
    const double start = Noisy(random, 0);
    plan.Arc(s.X(x + u), s.Y(y + 60), 800 / 1.05, start, end, 1, angle);
  }
  for (const double v : {-60.0, 0.0, 60.0}) {
    RealLine(plan, s, x + w / 2 - 800, y + d + v, x + w / 2 + 800, y + d + v);
    RealLine(plan, s, x - v, y + d / 2 - 800, x - v, y + d / 2 + 800);
  }

  layer(3);
  plan.Record("lc4");
  plan.Circle(s.X(x), s.Y(y), 150 / 1.05);
  plan.Circle(s.X(x + w), s.Y(y + d), 150 / 1.05);
  const double tilt = random.Between(0, 90);
  const double flatness = random.Between(0.5, 0.8);
  plan.Arc(s.X(x + w - 600), s.Y(y + 600), 300 / 1.05, 0, 360, flatness, tilt);
  plan.Arc(s.X(x + 600), s.Y(y + 600), 250 / 1.05, 30, 210, flatness, tilt);
  plan.Block(s.X(x + w - 600), s.Y(y + 400), kBlockNames[room % 3]);
  plan.Block(s.X(x + 600), s.Y(y + d - 600), kChair);
  plan.Block(s.X(x + w / 2), s.Y(y + d / 2), kLight);

  // Texts: room names numbered with circled digits, areas in square metres, notes in half-width kana.
  layer(4);
  plan.Record("lc1");
  plan.Record({"cn$\"", room % 2 == 0 ? kGothic : kMincho});
  plan.Record("cn", 3 + random.Below(3));
  for (int i = 0; i < 10; ++i) {
    const double len = 250.0 * (2 + random.Below(4));
    const bool vertical = i % 4 == 3;
    const double dx = vertical ? Noisy(random, 0) : len - 1e-12;
    const double dy = vertical ? len - 1e-12 : Noisy(random, 0);
    const double tx = s.X(x + random.Between(200, w - 200));
    const double ty = s.Y(y + random.Between(200, d - 200));
    if (i % 3 == 0) {
      plan.Text("ch", tx, ty, dx, dy, kRoomNames[(room + i) % 8], kCircled[i % 5]);
    } else if (i % 3 == 1) {
      const std::string area = std::to_string(static_cast<int>(w * d / 100000.0) / 10.0).substr(0, 4);
      plan.Text("ch", tx, ty, dx, dy, area, kSquareMetre);
    } else {
      plan.Text("ch", tx, ty, dx, dy, kKanaNotes[(room + i) % 3], kCircled[(room + i) % 5]);
    }
  }

  // Dimensions: the value in the "cs" text with a thousands separator, its direction with float noise.
  layer(5);
  plan.Record("lw0");
  for (int i = 0; i < 4; ++i) {
    const bool vertical = i % 2 == 1;
    const double length = vertical ? d : w;
    const double x1 = vertical ? x - 800 - 100 * i : x;
    const double y1 = vertical ? y : y - 800 - 100 * i;
    const double x2 = vertical ? x1 : x + w;
    const double y2 = vertical ? y + d : y1;
    if (plan.Full()) break;
    plan.Record("msg");
    const long whole = static_cast<long>(length);
    const std::string text =
        std::to_string(whole / 1000) + "," + std::to_string(1000 + whole % 1000).substr(1);
    plan.Dimension(s.X(x1), s.Y(y1), s.X(x2), s.Y(y2), s.X((x1 + x2) / 2), s.Y((y1 + y2) / 2) + 50,
                   vertical ? Noisy(random, 0) : 750 - 1e-12, vertical ? 750 - 1e-12 : Noisy(random, 0),
                   text);
  }

  layer(6);
  plan.Record({"lc10 ", std::to_string(1 + random.Below(255))});
  plan.Solid({s.X(x + 200), s.Y(y + 200), s.X(x + 1100), s.Y(y + 200), s.X(x + 1100), s.Y(y + 1100),
              s.X(x + 200), s.Y(y + 1100)});
  plan.Solid({s.X(x + 200), s.Y(y + 1200), s.X(x + 1100), s.Y(y + 1200), s.X(x + 200), s.Y(y + 2100)});
  plan.RoundSolid("sc", s.X(x), s.Y(y), 120 / 1.05, 1, 0, 0, kTurn, 100, true);
  plan.RoundSolid("sc", s.X(x + w - 300), s.Y(y + 300), 250 / 1.05, 1, Noisy(random, 0), 0, kTurn / 4, 0,
                  true);
  plan.RoundSolid("so", s.X(x + w / 2), s.Y(y + d / 2), 300 / 1.05, 1, 0, 0, kTurn, 150 / 1.05, false);

  layer(7);
  plan.Record("pn2");
  plan.Point(s.X(x), s.Y(y));
  plan.Point(s.X(x + w), s.Y(y + d));
  plan.Point(s.X(x + w), s.Y(y));
  plan.Point(s.X(x), s.Y(y + d));
  const int code = 1 + random.Below(4);
  plan.Marker(s.X(x + w / 2), s.Y(y), 3, Noisy(random, 45), code);

  // Hatching and furniture: the bulk of a drawing.
  layer(8 + static_cast<int>(room % 8));
  for (int i = 0; i < 50; ++i) {
    if (i % 10 == 0) {
      plan.Record("lc", 1 + random.Below(9));
      plan.Record("lt", 1 + random.Below(9));
      plan.Record("lw", random.Below(4) == 0 ? 100 : random.Below(6));
    }
    const double u = random.Between(200, w - 200);
    const double v = random.Between(200, d - 200);
    if (i % 2 == 0) {
      RealLine(plan, s, x + u, y, x + u, y + d);
    } else {
      const double dy = random.Between(-400, 400);
      const double dx = random.Between(-400, 400);
      RealLine(plan, s, x + u, y + v, x + u + dx, y + v + dy);
    }
  }
}

}  // namespace

bool GeneratePlan(long elements, std::FILE* file, PlanStyle style) {
  Output out(file, style);
  PlanWriter plan(out, elements, style);
  Random random(12345);
  if (style == PlanStyle::kReal) {
    WriteRealHeader(plan);
    for (long room = 0; !plan.Full(); ++room) WriteRealRoom(plan, random, room);
  } else {
    WriteHeader(plan);
    for (long room = 0; !plan.Full(); ++room) WriteRoom(plan, random, room);
  }
  return out.Flush();
}

}  // namespace jwcount
