// Lengths and areas of single elements.
#include "counting/Quantities.h"

#include <array>
#include <cmath>
#include <numbers>

namespace jwcount {
namespace {

constexpr double kPi = std::numbers::pi;

// A share of a quantity: finite and not negative, else 0.
double Share(double value) {
  return std::isfinite(value) && value > 0 ? value : 0.0;
}

// Gauss–Kronrod 7–15: the Kronrod nodes on [0, 1) (the last is the middle), their weights, and the
// weights of the Gauss nodes among them (every second node, the middle last).
constexpr std::array<double, 8> kKronrodNodes = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr std::array<double, 8> kKronrodWeights = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> kGaussWeights = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

// The speed along the squeezed unit circle at parameter t: sqrt(sin²t + f²cos²t).
struct EllipseSpeed {
  double FlatnessSquared;
  double operator()(double t) const {
    const double s = std::sin(t);
    const double c = std::cos(t);
    return std::sqrt(s * s + FlatnessSquared * c * c);
  }
};

struct Estimate {
  double Kronrod;
  double Gauss;
};

Estimate GaussKronrod(const EllipseSpeed& f, double a, double b) {
  const double centre = (a + b) / 2;
  const double half = (b - a) / 2;
  const double middle = f(centre);
  double kronrod = kKronrodWeights[7] * middle;
  double gauss = kGaussWeights[3] * middle;
  for (std::size_t i = 0; i < 7; ++i) {
    const double sum = f(centre - half * kKronrodNodes[i]) + f(centre + half * kKronrodNodes[i]);
    kronrod += kKronrodWeights[i] * sum;
    if (i % 2 == 1) gauss += kGaussWeights[i / 2] * sum;
  }
  return {kronrod * half, gauss * half};
}

// The integral of f over [a, b], halving an interval until the Gauss and Kronrod estimates agree to far
// better than 1e-12 of its value. The speed is at least f > 0 everywhere or vanishes only at the ends of
// the quarter turns the caller splits at, so each piece is smooth and the halving ends quickly; a value
// that is not finite ends it at once, and the depth limit bounds the work for any other input.
double Integrate(const EllipseSpeed& f, double a, double b, int depth = 0) {
  const Estimate e = GaussKronrod(f, a, b);
  constexpr double kTolerance = 1e-14;
  constexpr int kMaxDepth = 40;
  if (!std::isfinite(e.Kronrod) || depth >= kMaxDepth) return e.Kronrod;
  if (std::abs(e.Kronrod - e.Gauss) <= kTolerance * std::abs(e.Kronrod)) return e.Kronrod;
  const double middle = (a + b) / 2;
  return Integrate(f, a, middle, depth + 1) + Integrate(f, middle, b, depth + 1);
}

// The length along the unit circle squeezed by f, from parameter t0 over sweep (radians, 0 to 2π). The
// sweep is cut at the quarter turns, where the speed has its extremes (and, for f = 0, its kinks), and
// every whole quarter turn is the same quarter of the perimeter, integrated once.
double SqueezedArcLength(double t0, double sweep, double flatness) {
  const EllipseSpeed f{flatness * flatness};
  const double quarter = kPi / 2;
  const double t1 = t0 + sweep;
  const double firstCut = std::ceil(t0 / quarter) * quarter;
  if (firstCut >= t1) return Integrate(f, t0, t1);
  const double lastCut = std::floor(t1 / quarter) * quarter;
  double length = Integrate(f, t0, firstCut);
  const double wholeQuarters = std::round((lastCut - firstCut) / quarter);
  if (wholeQuarters > 0) length += wholeQuarters * Integrate(f, 0, quarter);
  if (t1 > lastCut) length += Integrate(f, lastCut, t1);
  return length;
}

// An angle in degrees, brought into [0°, 360°) and turned into radians.
double NormalRadians(double degrees) {
  double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0) reduced += 360.0;
  return reduced * kPi / 180;
}

}  // namespace

double LineLength(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  // The plain root is exact enough and several times faster than hypot; hypot only where the squares
  // would overflow or underflow.
  const double squares = dx * dx + dy * dy;
  if (std::isfinite(squares) && squares > 1e-290) return Share(std::sqrt(squares));
  return Share(std::hypot(dx, dy));
}

double CircleLength(double r) {
  return Share(2 * kPi * std::abs(r));
}

double ArcLength(double r, double startDegrees, double endDegrees, double flatness) {
  double sweep = std::fmod(endDegrees - startDegrees, 360.0);
  if (!std::isfinite(sweep) || !std::isfinite(startDegrees)) return 0;
  if (sweep <= 0) sweep += 360.0;
  const double radius = std::abs(r);
  const double f = std::abs(flatness);
  if (f == 1) return Share(radius * sweep * kPi / 180);
  if (!std::isfinite(f) || !std::isfinite(radius)) return 0;
  return Share(radius * SqueezedArcLength(NormalRadians(startDegrees), sweep * kPi / 180, f));
}

double TriangleArea(double x1, double y1, double x2, double y2, double x3, double y3) {
  return Share(std::abs((x1 * y2 - x2 * y1) + (x2 * y3 - x3 * y2) + (x3 * y1 - x1 * y3)) / 2);
}

double QuadArea(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4) {
  return Share(
      std::abs((x1 * y2 - x2 * y1) + (x2 * y3 - x3 * y2) + (x3 * y4 - x4 * y3) + (x4 * y1 - x1 * y4)) / 2);
}

double CircleSolidArea(double r, double flatness, double sweepRadians, int32_t flag) {
  const double a = std::abs(r);
  const double ab = a * a * std::abs(flatness);
  const double sweep = std::abs(sweepRadians);
  switch (flag) {
    case kCircleSolidFull:
      return Share(kPi * ab);
    case kCircleSolidSegment:
      return Share(ab * (sweep - std::sin(sweep)) / 2);
    case kCircleSolidOutside:
      return Share(ab * (std::tan(sweep / 2) - sweep / 2));
    default:
      return Share(ab * sweep / 2);
  }
}

double RingSolidArea(double r, double flatness, double sweepRadians, double inner) {
  return Share(std::abs(sweepRadians) / 2 * std::abs(flatness) * std::abs(r * r - inner * inner));
}

ElementQuantity QuantityOf(const EntityStores& stores, int32_t kind, int32_t position) {
  switch (kind) {
    case kLine: {
      const TJwwEntLine& l = stores.Lines[position];
      return {.LineLength = LineLength(l.X1, l.Y1, l.X2, l.Y2)};
    }
    case kCircle:
      return {.CurveLength = CircleLength(stores.Circles[position].Param3)};
    case kArc: {
      const TJwwEntArc& a = stores.Arcs[position];
      return {.CurveLength = ArcLength(a.Param3, a.Param4, a.Param5, a.Param6)};
    }
    case kSolidTriangle: {
      const TJwwEntSolidTri& s = stores.SolidTriangles[position];
      return {.Area = TriangleArea(s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3)};
    }
    case kSolidQuad: {
      const TJwwEntSolidQuad& s = stores.SolidQuads[position];
      return {.Area = QuadArea(s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3, s.X4, s.Y4)};
    }
    case kSolidCircle: {
      const TJwwEntSolidCircle& s = stores.SolidCircles[position];
      return {.Area = CircleSolidArea(s.Param3, s.Param4, s.Param7, s.Param8)};
    }
    case kSolidRingO:
    case kSolidRingG: {
      const TJwwEntSolidRing& s =
          kind == kSolidRingO ? stores.SolidRingsO[position] : stores.SolidRingsG[position];
      return {.Area = RingSolidArea(s.Param3, s.Param4, s.Param7, s.Param8)};
    }
    default:
      return {};
  }
}

}  // namespace jwcount
