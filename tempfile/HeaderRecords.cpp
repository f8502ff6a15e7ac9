// Header and attribute records: the drawing values, the attributes in force and the numbered points.
#include <algorithm>
#include <cstring>

#include "tempfile/JwwGaibu.h"
#include "tempfile/Keywords.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

using std::string_view;

// The byte at a 0-based position as one hexadecimal digit; 0 for any other byte or none.
int32_t HexDigitAt(string_view s, std::size_t pos) {
  return pos < s.size() ? std::max(HexDigitValue(s[pos]), 0) : 0;
}

// The 0-based position of the first occurrence of the suffix that does not start on the second byte of a
// double-byte character; npos if there is none.
std::size_t FindSuffix(string_view s, string_view suffix) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s.compare(i, suffix.size(), suffix) == 0) return i;
    if (IsReaderLeadByte(static_cast<unsigned char>(s[i]))) ++i;  // skip the second byte
  }
  return string_view::npos;
}

template <std::size_t N>
void ReadReals(const LineTokens& t, int firstSlot, std::array<double, N>& values) {
  for (std::size_t i = 0; i < N; ++i) values[i] = TextToReal(t.Token(firstSlot + static_cast<int>(i)));
}

}  // namespace

bool JwwGaibu::ParseHeaderRecord(const LineTokens& t) {
  const string_view s = t.Token(0);
  const int32_t count = t.Count;
  auto& kinds = Drawing.TextKindTable;
  if (BeginsWithKeyword(s, "file=")) {
    Drawing.FileName.assign(s.substr(5));
  } else if (IsKeyword(s, "hk") && count >= 2) {
    Drawing.HkValue = TextToReal(t.Token(1));
  } else if (IsKeyword(s, "hs") && count >= 17) {
    ReadReals(t, 1, Drawing.HsValues);
  } else if (IsKeyword(s, "hzs") && count >= 3) {
    Drawing.SheetWidth = TextToReal(t.Token(1));
    Drawing.SheetHeight = TextToReal(t.Token(2));
  } else if (IsKeyword(s, "hcw") && count >= 11) {
    for (int k = 1; k <= kTextKindCount; ++k) kinds[k - 1].CharWidth = TextToReal(t.Token(k));
  } else if (IsKeyword(s, "hch") && count >= 11) {
    for (int k = 1; k <= kTextKindCount; ++k) kinds[k - 1].CharHeight = TextToReal(t.Token(k));
  } else if (IsKeyword(s, "hcd") && count >= 11) {
    for (int k = 1; k <= kTextKindCount; ++k) kinds[k - 1].CharSpacing = TextToReal(t.Token(k));
  } else if (IsKeyword(s, "hcc") && count >= 11) {
    for (int k = 1; k <= kTextKindCount; ++k) kinds[k - 1].CharColour = TextToInt(t.Token(k));
  } else if (IsKeyword(s, "bz")) {
    Drawing.BzFlag = true;
  } else if (IsKeyword(s, "hn") && count >= 5) {
    ReadReals(t, 1, Drawing.HnValues);
  } else if (BeginsWithKeyword(s, "hp") && count >= 3) {
    ReadHpPoint(t);
  } else if (BeginsWithKeyword(s, "hhp")) {
    ReadHhpNumber(t);
  } else {
    return false;
  }
  return true;
}

bool JwwGaibu::ParseAttributeRecord(const LineTokens& t) {
  const string_view s = t.Token(0);
  if (BeginsWithKeyword(s, "lgn")) {
    Drawing.GroupNames[Current.LayerGroup].assign(s.substr(3));
  } else if (BeginsWithKeyword(s, "lyn")) {
    Drawing.LayerNames[Current.LayerGroup * 16 + Current.Layer].assign(s.substr(3));
  } else if (BeginsWithKeyword(s, "lg")) {
    ReadLayerGroup(t);
  } else if (BeginsWithKeyword(s, "ly")) {
    ReadLayer(t);
  } else if (BeginsWithKeyword(s, "lc")) {
    ReadLineColour(t);
  } else if (BeginsWithKeyword(s, "lt")) {
    ReadLineType(t);
  } else if (BeginsWithKeyword(s, "lw")) {
    ReadLineWidth(t);
  } else if (BeginsWithKeyword(s, "cn$")) {
    ReadFontName(t);
  } else if (BeginsWithKeyword(s, "cn")) {
    ReadTextKind(t);
  } else if (BeginsWithKeyword(s, "cc")) {
    int32_t v = TextToInt(s.substr(2, 1));
    if (v < 0 || v > 8) v = 0;
    Current.CcCode = v;
    Current.InPolyline = false;
  } else if (s.size() == 2 && s[0] == 'z' && s[1] >= '1' && s[1] <= '5') {
    Current.AttributeFlags |= 1 << (s[1] - '1');
  } else if (BeginsWithKeyword(s, "pn")) {
    Current.PointColour = TextToInt(s.substr(2));
    Current.InPolyline = false;
  } else if (IsKeyword(s, "pl")) {
    ++Current.PolylineCount;
    Current.InPolyline = true;
    Current.DimensionPending = false;
  } else if (IsKeyword(s, "msg")) {
    Current.DimensionPending = true;
    Current.InPolyline = false;
  } else if (IsKeyword(s, "#")) {
    Current.InPolyline = false;
    Current.DimensionPending = false;
  } else {
    return false;
  }
  return true;
}

// The first-seen step: the first value of an attribute after a reset is kept as its first-seen value.
void JwwGaibu::NoteFirstSeen(FirstSeen which, int32_t& firstValue, int32_t value) {
  if (!Drawing.FirstSeenFlags[which]) return;
  firstValue = value;
  Drawing.FirstSeenFlags[which] = false;
}

void JwwGaibu::ReadLayerGroup(const LineTokens& t) {
  const int32_t g = HexDigitAt(t.Token(0), 2);
  NoteFirstSeen(kFirstLayerGroup, Drawing.FirstLayerGroup, g);
  Current.LayerGroup = g;
  if (t.Count >= 2) Drawing.GroupValues[g] = TextToInt(t.Token(1));
  Current.InPolyline = false;
}

void JwwGaibu::ReadLayer(const LineTokens& t) {
  const int32_t l = HexDigitAt(t.Token(0), 2);
  NoteFirstSeen(kFirstLayer, Drawing.FirstLayer, l);
  Current.Layer = l;
  if (t.Count >= 2) Drawing.LayerValues[Current.LayerGroup * 16 + l] = TextToInt(t.Token(1));
  Current.InPolyline = false;
}

void JwwGaibu::ReadLineColour(const LineTokens& t) {
  const int32_t c = TextToInt(t.Token(0).substr(2));
  NoteFirstSeen(kFirstLineColour, Drawing.FirstLineColour, c);
  Current.LineColour = c;
  if (c == 10 && t.Count >= 2) Current.SolidColour = TextToInt(t.Token(1));
  Current.InPolyline = false;
}

void JwwGaibu::ReadLineType(const LineTokens& t) {
  const int32_t type = TextToInt(t.Token(0).substr(2));
  NoteFirstSeen(kFirstLineType, Drawing.FirstLineType, type);
  Current.LineType = type;
  Current.InPolyline = false;
}

void JwwGaibu::ReadLineWidth(const LineTokens& t) {
  const int32_t w = TextToInt(t.Token(0).substr(2));
  NoteFirstSeen(kFirstLineWidth, Drawing.FirstLineWidth, w);
  Current.LineWidth = w;
  Drawing.LineWidthSeen = true;
  Current.InPolyline = false;
}

void JwwGaibu::ReadFontName(const LineTokens& t) {
  const string_view name = t.Token(0).substr(3);
  if (Drawing.FirstFontName.empty()) Drawing.FirstFontName.assign(name);
  Current.FontName.assign(name);
  Current.InPolyline = false;
}

void JwwGaibu::ReadTextKind(const LineTokens& t) {
  const int32_t k = TextToInt(t.Token(0).substr(2));
  const bool freeValues = k == 0 && t.Count >= 5;
  if (Drawing.FirstSeenFlags[kFirstTextKind]) {
    Drawing.FirstTextKind = k;
    if (freeValues) {
      Drawing.FirstFreeCharWidth = TextToReal(t.Token(1));
      Drawing.FirstFreeCharHeight = TextToReal(t.Token(2));
      Drawing.FirstFreeCharSpacing = TextToReal(t.Token(3));
      Drawing.FirstFreeCharColour = TextToInt(t.Token(4));
    }
    Drawing.FirstSeenFlags[kFirstTextKind] = false;
  }
  Current.TextKind = k;
  if (freeValues) {
    Current.FreeCharWidth = TextToReal(t.Token(1));
    Current.FreeCharHeight = TextToReal(t.Token(2));
    Current.FreeCharSpacing = TextToReal(t.Token(3));
    Current.FreeCharColour = TextToInt(t.Token(4));
  }
  Current.InPolyline = false;
}

void JwwGaibu::ReadHpPoint(const LineTokens& t) {
  static constexpr string_view kSuffixes[] = {"-", "ln", "ci", "ch"};
  const string_view s = t.Token(0);
  string_view number = s.substr(2);
  int32_t kind = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t p = FindSuffix(s, kSuffixes[i]);
    if (p == string_view::npos) continue;
    number = p >= 2 ? s.substr(2, p - 2) : string_view{};
    kind = i + 1;
  }
  const int32_t n = TextToInt(number);
  if (n < 1 || n > 99) return;
  HpPoint& point = Drawing.HpPoints[n];
  point.Used = true;
  point.X = TextToReal(t.Token(1));
  point.Y = TextToReal(t.Token(2));
  point.Kind = kind;
  ++Drawing.HpCount;
}

void JwwGaibu::ReadHhpNumber(const LineTokens& t) {
  static constexpr string_view kSuffixes[] = {"ln", "ci", "ch"};
  const string_view s = t.Token(0);
  std::size_t length = s.size();
  for (string_view suffix : kSuffixes) {
    const std::size_t p = FindSuffix(s, suffix);  // 0-based; the 1-based position must exceed 4
    if (p != string_view::npos && p + 1 > 4) length = p + 1 - 4;
  }
  Current.HhpNumber = TextToInt(s.substr(3, length));
}

}  // namespace jwcount
