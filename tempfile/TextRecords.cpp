// Text records and dimension records.
#include <algorithm>

#include "tempfile/JwwGaibu.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

constexpr int32_t kDimensionTextType = 2;  // "cs"

// The text type of a text keyword: "ch", "cv", "cs", "cr", "co", "cp", "ct", "ck", "cz", "c2" give 0 to 9;
// any other token gives -1.
int32_t TextTypeOf(std::string_view keyword) {
  static constexpr char kSecondBytes[] = "vsroptkz2";  // after "ch" (0), in type order
  if (keyword.size() != 2 || keyword[0] != 'c') return -1;
  if (keyword[1] == 'h') return 0;
  for (int32_t type = 1; type < 10; ++type) {
    if (keyword[1] == kSecondBytes[type - 1]) return type;
  }
  return -1;
}

std::string_view FirstBytes(std::string_view text) {
  return text.substr(0, kMaxRecordText);
}

}  // namespace

bool JwwGaibu::ParseTextRecord(const LineTokens& t) {
  const int32_t textType = TextTypeOf(t.Token(0));
  if (textType < 0 || t.Count < 6) return false;
  // Texts go into storage before the record is made, so that a failure leaves no half-stored element.
  const TextRef fontName = StoreFontName();
  const TextRef body = Texts.Store(FirstBytes(t.Token(5)));
  if (Current.DimensionPending && textType == kDimensionTextType) {
    TJwwEntDim& dimension = StoreEntity(kDimension, Stores.Dimensions);
    dimension.DimLine = Current.PendingDimensionLine;
    dimension.DimLine.PolylineNo = 0;
    FillText(dimension.DimText, kDimensionTextType, t, fontName, body);
  } else {
    TJwwEntText& text = StoreEntity(kText, Stores.Texts);
    FillText(text, textType, t, fontName, body);
  }
  FinishEntity(false);
  return true;
}

// The font name changes rarely, so consecutive texts share one stored copy of it.
TextRef JwwGaibu::StoreFontName() {
  const std::string_view name = FirstBytes(Current.FontName);
  if (lastFontName_.View() != name) {
    lastFontName_ = Texts.Store(name);
  }
  return lastFontName_;
}

void JwwGaibu::FillText(TJwwEntText& text, int32_t textType, const LineTokens& t, TextRef fontName,
                        TextRef body) {
  CopyCurrentAttributes(text.Attrs);
  text.TextType = textType;
  text.CcCode = Current.CcCode;
  text.TextKind = Current.TextKind;
  if (Current.TextKind >= 1 && Current.TextKind <= kTextKindCount) {
    const TextKindEntry& entry = Drawing.TextKindTable[Current.TextKind - 1];
    text.CharWidth = entry.CharWidth;
    text.CharHeight = entry.CharHeight;
    text.CharSpacing = entry.CharSpacing;
    text.Attrs.LineColour = entry.CharColour;
  } else {
    text.CharWidth = Current.FreeCharWidth;
    text.CharHeight = Current.FreeCharHeight;
    text.CharSpacing = Current.FreeCharSpacing;
    text.Attrs.LineColour = Current.FreeCharColour;
  }
  text.Param1 = TextToReal(t.Token(1));
  text.Param2 = TextToReal(t.Token(2));
  text.Param3 = TextToReal(t.Token(3));
  text.Param4 = TextToReal(t.Token(4));
  text.FontName = fontName;
  text.Text = body;
}

}  // namespace jwcount
