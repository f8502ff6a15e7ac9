// Lengths and areas of single elements.
#include "counting/Quantities.h"

#include <algorithm>
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

// The speed along the unit circle squeezed by f at parameter t: sqrt(sin²t + f²cos²t), written with one
// cosine as sqrt(1 − (1 − f²)cos²t).
struct EllipseSpeed {
  double OneMinusFlatnessSquared;
  double operator()(double t) const {
    const double c = std::cos(t);
    return std::sqrt(std::max(1 - OneMinusFlatnessSquared * c * c, 0.0));
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

// The integral of f over [a, b], halving an interval until its error is far below 1e-12 of its value. The
// error of the Kronrod sum is taken as (200·|K − G|)^1.5 relative to it, as the usual adaptive quadrature
// codes take it: for the smooth speed on a piece within a quarter turn it is far larger than the true
// error. A value that is not finite ends the halving at once, and the depth limit bounds the work for any
// other input.
double Integrate(const EllipseSpeed& f, double a, double b, int depth = 0) {
  const Estimate e = GaussKronrod(f, a, b);
  constexpr double kTolerance = 1e-14;
  constexpr int kMaxDepth = 40;
  if (!std::isfinite(e.Kronrod) || depth >= kMaxDepth) return e.Kronrod;
  const double relative = e.Kronrod != 0 ? std::abs(e.Kronrod - e.Gauss) / std::abs(e.Kronrod) : 0;
  if (std::pow(200 * relative, 1.5) <= kTolerance) return e.Kronrod;
  const double middle = (a + b) / 2;
  return Integrate(f, a, middle, depth + 1) + Integrate(f, middle, b, depth + 1);
}

// A quarter of the perimeter of the unit circle squeezed by f: the complete elliptic integral of the
// second kind, by the arithmetic-geometric mean, which converges quadratically to full precision. Where f
// is close to 0 (or very large) the mean's sum cancels; the quadrature takes those.
double QuarterPerimeter(const EllipseSpeed& speed, double f) {
  if (f < 1e-4 || f > 1e4) return Integrate(speed, 0, std::numbers::pi / 2);
  // For f > 1 the curve is the one of 1/f stretched by f.
  const double scale = f > 1 ? f : 1;
  double a = 1;
  double b = f > 1 ? 1 / f : f;
  double sum = (1 - b * b) / 2;  // 2^(n−1)·c_n² from n = 0
  double power = 0.5;
  for (int n = 0; n < 64 && a - b > 1e-16 * a; ++n) {
    const double c = (a - b) / 2;
    const double mean = (a + b) / 2;
    b = std::sqrt(a * b);
    a = mean;
    power *= 2;
    sum += power * c * c;
  }
  return scale * kPi / (2 * a) * (1 - sum);
}

// The length along the unit circle squeezed by f, from parameter t0 over sweep (radians, 0 to 2π). The
// speed has period π, so every half turn is half the perimeter; what is left is cut at the quarter turns,
// where the speed has its extremes (and, for f = 0, its kinks): a whole quarter is a quarter of the
// perimeter, the pieces at the ends are integrated.
double SqueezedArcLength(double t0, double sweep, double flatness) {
  const EllipseSpeed speed{1 - flatness * flatness};
  double quarter = -1;  // computed once, when needed
  auto quarterPerimeter = [&] {
    return quarter >= 0 ? quarter : (quarter = QuarterPerimeter(speed, flatness));
  };
  const double halfTurns = std::floor(sweep / kPi);
  double length = halfTurns > 0 ? halfTurns * 2 * quarterPerimeter() : 0;
  const double start = std::fmod(t0, kPi);
  const double end = start + (sweep - halfTurns * kPi);
  const double quarterTurn = kPi / 2;
  double from = start;
  bool fromCut = std::fmod(start, quarterTurn) == 0;
  for (double k = std::floor(start / quarterTurn) + 1; from < end; k += 1) {
    const double next = k * quarterTurn;
    const bool toCut = next <= end;
    const double to = toCut ? next : end;
    length += fromCut && toCut ? quarterPerimeter() : Integrate(speed, from, to);
    from = to;
    fromCut = true;
  }
  return length;
}

// An angle in degrees, brought into [0°, 360°) and turned into radians.
double NormalRadians(double degrees) {
  double reduced = std::fmod(degrees, 360.0);
  if (reduced < 0) reduced += 360.0;
  return reduced * kPi / 180;
}

}  // namespace

double FarLineLength(double dx, double dy) {
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

ElementQuantity ShapeQuantity(const EntityStores& stores, int32_t kind, int32_t position) {
  switch (kind) {
    case kLine:
      return QuantityOf(stores, kind, position);
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
