// Solid records: "sl" with two, three or four corners reduced by coinciding corners, and the circular
// solids "sc", "se", "so" and "sg".
#include <cmath>

#include "tempfile/JwwGaibu.h"
#include "tempfile/Keywords.h"
#include "tempfile/MyFunc.h"

namespace jwcount {
namespace {

constexpr double kPointTolerance = 1e-10;

struct Corner {
  double X = 0.0;
  double Y = 0.0;
};

bool Coincide(const Corner& a, const Corner& b) {
  return std::fabs(a.X - b.X) <= kPointTolerance && std::fabs(a.Y - b.Y) <= kPointTolerance;
}

// Corner k (1-based) of an "sl" line is the point (token 2k-1, token 2k).
Corner CornerOf(const LineTokens& t, int k) {
  return {TextToReal(t.Token(2 * k - 1)), TextToReal(t.Token(2 * k))};
}

// What an "sl" line reduces to: 2, 3 or 4 corners, as indexes (0-based) into its own corners.
struct Reduction {
  int Corners = 0;
  int Pick[4] = {0, 0, 0, 0};
};

Reduction ReduceThree(const Corner (&c)[4]) {
  if (Coincide(c[0], c[1])) return {2, {0, 2}};
  if (Coincide(c[1], c[2])) return {2, {0, 1}};
  return {3, {0, 1, 2}};
}

Reduction ReduceFour(const Corner (&c)[4]) {
  if (Coincide(c[0], c[1]) && Coincide(c[0], c[2])) return {2, {0, 3}};
  if (Coincide(c[1], c[2]) && Coincide(c[1], c[3])) return {2, {0, 1}};
  if (Coincide(c[0], c[1]) && Coincide(c[2], c[3])) return {2, {0, 2}};
  if (Coincide(c[3], c[0]) || Coincide(c[3], c[1]) || Coincide(c[3], c[2])) return {3, {0, 1, 2}};
  if (Coincide(c[2], c[0]) || Coincide(c[2], c[1])) return {3, {0, 1, 3}};
  if (Coincide(c[1], c[0])) return {3, {0, 2, 3}};
  return {4, {0, 1, 2, 3}};
}

template <class Record>
void ReadParams(const LineTokens& t, Record& r) {
  r.Param1 = TextToReal(t.Token(1));
  r.Param2 = TextToReal(t.Token(2));
  r.Param3 = TextToReal(t.Token(3));
  r.Param4 = TextToReal(t.Token(4));
  r.Param5 = TextToReal(t.Token(5));
  r.Param6 = TextToReal(t.Token(6));
  r.Param7 = TextToReal(t.Token(7));
}

}  // namespace

bool JwwGaibu::ParseSolidRecord(const LineTokens& t) {
  const std::string_view s = t.Token(0);
  const int32_t count = t.Count;
  if (IsKeyword(s, "sl") && count == 5) {
    ReadCornerSolid(t, 2);
  } else if (IsKeyword(s, "sl") && count == 7) {
    ReadCornerSolid(t, 3);
  } else if (IsKeyword(s, "sl") && count >= 9) {
    ReadCornerSolid(t, 4);
  } else if ((IsKeyword(s, "sc") || IsKeyword(s, "se")) && count >= 9) {
    TJwwEntSolidCircle& solid = IsKeyword(s, "sc")
                                    ? StoreEntity(kSolidCircle, Stores.SolidCircles)
                                    : StoreEntity(kSolidCircumference, Stores.SolidCircumferences);
    solid.SolidColour = Current.SolidColour;
    ReadParams(t, solid);
    solid.Param8 = TextToInt(t.Token(8));
  } else if ((IsKeyword(s, "so") || IsKeyword(s, "sg")) && count >= 9) {
    TJwwEntSolidRing& solid = IsKeyword(s, "so") ? StoreEntity(kSolidRingO, Stores.SolidRingsO)
                                                 : StoreEntity(kSolidRingG, Stores.SolidRingsG);
    solid.SolidColour = Current.SolidColour;
    ReadParams(t, solid);
    solid.Param8 = TextToReal(t.Token(8));
  } else {
    return false;
  }
  FinishEntity(false);
  return true;
}

void JwwGaibu::ReadCornerSolid(const LineTokens& t, int corners) {
  Corner c[4];
  for (int k = 0; k < corners; ++k) c[k] = CornerOf(t, k + 1);
  // Two corners are never tested; three and four reduce when corners coincide.
  const Reduction r = corners == 2 ? Reduction{2, {0, 1}} : corners == 3 ? ReduceThree(c) : ReduceFour(c);
  const Corner& a = c[r.Pick[0]];
  const Corner& b = c[r.Pick[1]];
  const Corner& d = c[r.Pick[2]];
  if (r.Corners == 2) {
    TJwwEntSolidLine& solid = StoreEntity(kSolidLine, Stores.SolidLines);
    solid.SolidColour = Current.SolidColour;
    solid.X1 = a.X, solid.Y1 = a.Y, solid.X2 = b.X, solid.Y2 = b.Y;
  } else if (r.Corners == 3) {
    TJwwEntSolidTri& solid = StoreEntity(kSolidTriangle, Stores.SolidTriangles);
    solid.SolidColour = Current.SolidColour;
    solid.X1 = a.X, solid.Y1 = a.Y, solid.X2 = b.X, solid.Y2 = b.Y, solid.X3 = d.X, solid.Y3 = d.Y;
  } else {
    TJwwEntSolidQuad& solid = StoreEntity(kSolidQuad, Stores.SolidQuads);
    solid.SolidColour = Current.SolidColour;
    solid.X1 = c[0].X, solid.Y1 = c[0].Y, solid.X2 = c[1].X, solid.Y2 = c[1].Y;
    solid.X3 = c[2].X, solid.Y3 = c[2].Y, solid.X4 = c[3].X, solid.Y4 = c[3].Y;
  }
}

}  // namespace jwcount
