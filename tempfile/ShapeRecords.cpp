// Lines (with polyline numbering and the held dimension line), circles and arcs, points, point markers
// and blocks.
#include "tempfile/JwwGaibu.h"
#include "tempfile/Keywords.h"
#include "tempfile/MyFunc.h"

namespace jwcount {

bool JwwGaibu::ParseShapeRecord(const LineTokens& t) {
  const std::string_view s = t.Token(0);
  const int32_t count = t.Count;
  auto real = [&t](int n) { return TextToReal(t.Token(n)); };
  if (IsKeyword(s, "ci") && count == 4) {
    TJwwEntCircle& circle = StoreEntity(kCircle, Stores.Circles);
    circle.Param1 = real(1);
    circle.Param2 = real(2);
    circle.Param3 = real(3);
  } else if (IsKeyword(s, "ci") && count >= 8) {
    TJwwEntArc& arc = StoreEntity(kArc, Stores.Arcs);
    arc.Param1 = real(1);
    arc.Param2 = real(2);
    arc.Param3 = real(3);
    arc.Param4 = real(4);
    arc.Param5 = real(5);
    arc.Param6 = real(6);
    arc.Param7 = real(7);
  } else if (IsKeyword(s, "ci")) {
    return false;
  } else if (IsKeyword(s, "pt") && count == 3) {
    TJwwEntPoint& point = StoreEntity(kPoint, Stores.Points);
    point.Attrs.LineColour = Current.PointColour;
    point.X = real(1);
    point.Y = real(2);
  } else if (IsKeyword(s, "pt") && count >= 6) {
    TJwwEntMarker& marker = StoreEntity(kMarker, Stores.Markers);
    marker.Attrs.LineColour = Current.PointColour;
    marker.X = real(1);
    marker.Y = real(2);
    marker.Param1 = real(3);
    marker.Param2 = real(4);
    marker.Param3 = TextToInt(t.Token(5));
  } else if (IsKeyword(s, "BL") && count >= 4) {
    // The block text goes into storage first, so that a failure leaves no half-stored block.
    const TextRef text = Texts.Store(t.Token(3));
    TJwwEntBlk& block = StoreEntity(kBlock, Stores.Blocks);
    block.X = real(1);
    block.Y = real(2);
    block.BlockText = text;
  } else {
    return false;
  }
  FinishEntity(false);
  return true;
}

void JwwGaibu::ParsePlainLine(const LineTokens& t) {
  const double values[4] = {TextToReal(t.Token(0)), TextToReal(t.Token(1)), TextToReal(t.Token(2)),
                            TextToReal(t.Token(3))};
  StorePlainLine(values);
}

void JwwGaibu::StorePlainLine(const double (&values)[4]) {
  auto fill = [&values](TJwwEntLine& line) {
    line.X1 = values[0];
    line.Y1 = values[1];
    line.X2 = values[2];
    line.Y2 = values[3];
  };
  if (Current.DimensionPending) {
    // The line of the coming dimension: held, not stored, not counted.
    TJwwEntLine& held = Current.PendingDimensionLine;
    CopyCurrentAttributes(held.Attrs);
    held.PolylineNo = 0;
    fill(held);
  } else {
    TJwwEntLine& line = StoreEntity(kLine, Stores.Lines);
    line.PolylineNo = Current.InPolyline ? Current.PolylineCount : 0;
    fill(line);
  }
  FinishEntity(true);
}

}  // namespace jwcount
