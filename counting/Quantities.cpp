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

// Gauss–Kronrod 7–15: the Kronrod nodes on [0, 1) (the last is the middle) and their weights.
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

// Carlson's symmetric elliptic integrals R_F(x, y, z) and R_D(x, y, z) of the same arguments (not negative,
// at most one of x and y 0, z > 0), by duplication: each step brings the three arguments four times closer
// together, and once they agree to the tolerance a fifth-order series finishes each sum with a relative
// error below 1e-16. Both integrals take the same steps, so they are computed together. The arguments the
// arcs pass have a spread of at most 1e17, which takes about twenty steps; the cap only makes the bound
// plain.
struct Carlson {
  double F;
  double D;
};

Carlson CarlsonFD(double x, double y, double z) {
  constexpr int kMaxDuplications = 64;
  // The series leave errors of about 3·kTolerance^6 for R_D and less for R_F, whose deviations, taken from
  // a mean within the same spread, stay below 0.0025 (an error of 0.0025^6 / 4).
  constexpr double kTolerance = 0.0015;
  double sum = 0;  // R_D's terms of the steps taken
  double factor = 1;
  for (int step = 0; step < kMaxDuplications; ++step) {
    const double meanD = (x + y + 3 * z) / 5;
    const double spread = std::max({std::abs(meanD - x), std::abs(meanD - y), std::abs(meanD - z)});
    if (spread < kTolerance * meanD / 2) break;
    const double sx = std::sqrt(x), sy = std::sqrt(y), sz = std::sqrt(z);
    const double lambda = sx * (sy + sz) + sy * sz;
    sum += factor / (sz * (z + lambda));
    factor /= 4;
    x = (x + lambda) / 4;
    y = (y + lambda) / 4;
    z = (z + lambda) / 4;
  }
  const double meanF = (x + y + z) / 3;
  const double fx = (meanF - x) / meanF, fy = (meanF - y) / meanF, fz = (meanF - z) / meanF;
  const double e2 = fx * fy - fz * fz;
  const double e3 = fx * fy * fz;
  const double rf = (1 + (e2 / 24 - 0.1 - 3 * e3 / 44) * e2 + e3 / 14) / std::sqrt(meanF);

  const double meanD = (x + y + 3 * z) / 5;
  const double dx = (meanD - x) / meanD, dy = (meanD - y) / meanD, dz = (meanD - z) / meanD;
  const double ea = dx * dy;
  const double eb = dz * dz;
  const double ec = ea - eb;
  const double ed = ea - 6 * eb;
  const double ee = ed + 2 * ec;
  const double series = 1 + ed * (-3.0 / 14 + 9.0 / 88 * ed - 9.0 / 52 * dz * ee) +
                        dz * (ee / 6 + dz * (-9.0 / 22 * ec + dz * 3.0 / 26 * ea));
  return {rf, 3 * sum + factor * series / (meanD * std::sqrt(meanD))};
}

// The unit circle squeezed by a flatness g below 1, measured by u, the parameter's distance from a sharp
// end: an end of the long axis, where the speed sqrt(sin²u + g²cos²u) is least (g; for g = 0 the curve
// turns back there). Every quarter turn runs from a sharp end (u = 0) to a round end (u = π/2), and by
// symmetry every quarter measures alike.
struct SqueezedQuarter {
  double G;           // 0 <= G < 1
  double M;           // 1 − G², without cancellation
  double Whole = -1;  // the quarter's length, once computed

  explicit SqueezedQuarter(double g) : G(g), M((1 - g) * (1 + g)) {}

  // Written with the sine and cosine apart, so that near a sharp end the square keeps its precision.
  double Speed(double u) const {
    const double s = std::sin(u);
    const double gc = G * std::cos(u);
    return std::sqrt(s * s + gc * gc);
  }

  // The length from the sharp end to u (0 <= u <= π/2). With σ = sin u / g it is
  // g·sin u·(R_F(cos²u, 1 + Mσ², 1) + (M/3)·σ²·R_D(cos²u, 1 + Mσ², 1)), a sum of two positive terms,
  // so nothing cancels however flat the curve. Where σ passes 1e8 the flatness no longer shows:
  // the length differs from that of the flattened curve, √M·(1 − cos u), by a relative 1e-15 at most.
  double FromSharpEnd(double u) const {
    const double s = std::sin(u);
    const double c = std::cos(u);
    if (s >= 1e8 * G) return std::sqrt(M) * s * s / (1 + c);  // 1 − cos u, without cancellation
    const double sigma = s / G;
    const double y = 1 + M * sigma * sigma;
    const Carlson r = CarlsonFD(c * c, y, 1);
    return G * s * (r.F + M / 3 * sigma * sigma * r.D);
  }

  // The whole quarter: the complete elliptic integral of the second kind. By the arithmetic-geometric
  // mean, which converges quadratically to full precision, where its sum does not cancel; for a flatter
  // curve, from the sharp end's length at π/2.
  double Quarter() {
    if (Whole >= 0) return Whole;
    if (G < 1e-4) return Whole = FromSharpEnd(kPi / 2);
    double a = 1;
    double b = G;
    double sum = M / 2;  // 2^(n−1)·c_n² from n = 0
    double power = 0.5;
    for (int n = 0; n < 64 && a - b > 1e-16 * a; ++n) {
      const double c = (a - b) / 2;
      const double mean = (a + b) / 2;
      b = std::sqrt(a * b);
      a = mean;
      power *= 2;
      sum += power * c * c;
    }
    return Whole = kPi / (2 * a) * (1 - sum);
  }

  // The length between u and u + width (radians, within the quarter). A piece short against its
  // distance from the nearest singularity of the speed (at ±i·atanh g beside the sharp end) is summed by
  // the 15-point Kronrod rule, which is then exact to far below 1e-15; a longer piece is the difference of
  // two lengths from the sharp end, which then loses at most a factor 2.5 of their precision. Either
  // way the work is fixed.
  double Piece(double u, double width) {
    const double half = width / 2;
    const double centre = u + half;
    if (width <= std::hypot(centre, G) / 2) {
      double sum = kKronrodWeights[7] * Speed(centre);
      for (std::size_t i = 0; i < 7; ++i)
        sum += kKronrodWeights[i] *
               (Speed(centre - half * kKronrodNodes[i]) + Speed(centre + half * kKronrodNodes[i]));
      return sum * half;
    }
    const double end = std::min(u + width, kPi / 2);
    return std::max(FromSharpEnd(end) - FromSharpEnd(u), 0.0);
  }
};

// An angle in degrees as the multiple of 90° nearest to it (as a quarter index 0 to 3) and its offset from
// that multiple (at most 45° either way). Both are exact for any finite angle, however large: the
// remainder of a division is exact, and so is the difference of two numbers within a factor 2 of each
// other. Lengths near an end of an axis depend on the offset alone, so an arc that ends a hair's breadth
// from an axis keeps that breadth.
struct QuarterAngle {
  int Index;
  double Offset;
};

QuarterAngle LocateQuarter(double degrees) {
  const double r = std::fmod(degrees, 360.0);
  const double k = std::nearbyint(r / 90);
  return {(static_cast<int>(k) % 4 + 4) % 4, r - 90 * k};
}

int Mod4(int k) {
  return (k % 4 + 4) % 4;
}

double ToRadians(double degrees) {
  return degrees * (kPi / 180);
}

// The length along the unit circle squeezed by f (0 <= f < 1 or f > 1, not 1) from start to end over
// sweep degrees (0 < sweep <= 360; 360 is a full turn). The arc is cut at the multiples of 90° it passes: the
// pieces at its ends are measured, each whole quarter between them is the quarter's length. A flatness above
// 1 is the curve of 1/f turned a quarter and stretched by f, so its sharp ends lie at the odd multiples of
// 90°.
double SqueezedArcLength(double startDegrees, double endDegrees, double sweep, double f) {
  const bool stretched = f > 1;
  SqueezedQuarter quarter(stretched ? 1 / f : f);
  const int sharpParity = stretched ? 1 : 0;
  auto isSharp = [&](int boundary) { return Mod4(boundary) % 2 == sharpParity; };
  // The distance of a point from the sharp end `sharp` of a quarter it lies in: exact where that sharp
  // end is the point's nearest multiple of 90°, otherwise 90° less its offset from the round end.
  auto fromSharp = [](const QuarterAngle& p, int sharp) {
    return Mod4(sharp) == p.Index ? std::abs(p.Offset) : 90 - std::abs(p.Offset);
  };
  // A piece of the quarter between the multiples `low` and `low + 1` of 90°, of the given width, from
  // the point `lower` to the point `upper` (null: the multiple of 90° itself). It is measured from its
  // end nearer the sharp end.
  auto piece = [&](int low, const QuarterAngle* lower, const QuarterAngle* upper, double width) {
    const int sharp = isSharp(low) ? low : low + 1;
    const QuarterAngle* near = isSharp(low) ? lower : upper;
    const double u = near != nullptr ? fromSharp(*near, sharp) : 0;
    if (u == 0 && width >= 90) return quarter.Quarter();
    return quarter.Piece(ToRadians(u), ToRadians(width));
  };
  if (sweep >= 360) return (stretched ? f : 1) * 4 * quarter.Quarter();

  const QuarterAngle start = LocateQuarter(startDegrees);
  const QuarterAngle end = LocateQuarter(endDegrees);
  // The first multiple of 90° after the start and the last before the end, and how far each lies.
  const int first = start.Offset < 0 ? start.Index : start.Index + 1;
  const double toFirst = start.Offset < 0 ? -start.Offset : 90 - start.Offset;
  const int last = end.Offset < 0 ? end.Index - 1 : end.Index;
  const double fromLast = end.Offset < 0 ? 90 + end.Offset : end.Offset;
  // Whole quarters between them: the count their places allow (−1 when the arc passes no multiple of
  // 90°) that fits the sweep best.
  const int between = Mod4(last - first);
  int wholes = between;
  for (const int candidate : {between - 4, between + 4}) {
    if (candidate >= -1 && std::abs(toFirst + 90 * candidate + fromLast - sweep) <
                               std::abs(toFirst + 90 * wholes + fromLast - sweep))
      wholes = candidate;
  }
  double length = 0;
  if (wholes < 0) {
    // Within one quarter: the width from the two places, each exact beside its multiple of 90°, rather
    // than from the sweep, whose difference of angles may have lost the last digits of a short arc.
    const double width =
        start.Index == end.Index ? end.Offset - start.Offset : (45 - start.Offset) + (45 + end.Offset);
    length = piece(first - 1, &start, &end, std::max(width, 0.0));
  } else {
    length = piece(first - 1, &start, nullptr, toFirst);
    if (wholes > 0) length += wholes * quarter.Quarter();
    if (fromLast > 0) length += piece(last, nullptr, &end, fromLast);
  }
  return stretched ? f * length : length;
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
  return Share(radius * SqueezedArcLength(startDegrees, endDegrees, sweep, f));
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
