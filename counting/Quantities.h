// What an element measures: the length of a line, circle or arc and the area of a solid, in the drawing's
// own units (real-size millimetres, square millimetres). Users take these off a drawing by layer, colour,
// type or width, so they are tallied beside the counts.
#pragma once

#include <cmath>
#include <cstdint>

#include "tempfile/JwwGaibu.h"

namespace jwcount {

// One element's share of the quantities. Every value is finite and never negative: a value that comes out
// otherwise (a NaN or infinite coordinate, a sum beyond the range of a double) counts 0.
struct ElementQuantity {
  double LineLength = 0;   // kind 1
  double CurveLength = 0;  // kinds 2 and 3
  double Area = 0;         // solids
};

inline bool HasQuantity(const ElementQuantity& q) {
  return q.LineLength > 0 || q.CurveLength > 0 || q.Area > 0;
}

// A line's length: the distance between its ends. The plain root is exact enough and several times faster
// than hypot, which is left to lines whose squares would overflow or underflow. A line is the most common
// element by far, so this stays inline.
double FarLineLength(double dx, double dy);
inline double LineLength(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double squares = dx * dx + dy * dy;
  if (squares > 1e-290 && squares < 1e300) return std::sqrt(squares);
  return FarLineLength(dx, dy);
}
// A circle of radius r: 2π|r|.
double CircleLength(double r);
// An arc, ellipse or elliptic arc: radius r, start and end angles in degrees, parametric on the circle
// before it is squeezed by |flatness| along its own y axis. The sweep from start to end is brought into
// (0°, 360°]; equal angles make a full turn. A flatness of 0 leaves the arc flattened onto its axis.
double ArcLength(double r, double startDegrees, double endDegrees, double flatness);

// |shoelace| of the corners, in the order given.
double TriangleArea(double x1, double y1, double x2, double y2, double x3, double y3);
double QuadArea(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4);

// The ways a circle solid fills its arc (its last value).
inline constexpr int32_t kCircleSolidFull = 100;
inline constexpr int32_t kCircleSolidSector = 0;
inline constexpr int32_t kCircleSolidSegment = 5;
inline constexpr int32_t kCircleSolidOutside = -1;  // between the arc and the tangents at its ends

// A circle solid of radius r squeezed by flatness, over a sweep in radians (its absolute value is taken).
// Any flag other than the four above fills a sector.
double CircleSolidArea(double r, double flatness, double sweepRadians, int32_t flag);
// A ring solid: (|sweep|/2)·|flatness|·|r² − inner²|. Both ring kinds are taken this way.
double RingSolidArea(double r, double flatness, double sweepRadians, double inner);

// The quantity of the element at (kind, position) of the stores; none for a kind that has none.
ElementQuantity ShapeQuantity(const EntityStores& stores, int32_t kind, int32_t position);
inline ElementQuantity QuantityOf(const EntityStores& stores, int32_t kind, int32_t position) {
  if (kind == kLine) {
    const TJwwEntLine& l = stores.Lines[position];
    return {.LineLength = LineLength(l.X1, l.Y1, l.X2, l.Y2)};
  }
  return ShapeQuantity(stores, kind, position);
}

}  // namespace jwcount
