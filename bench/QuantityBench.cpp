// The cost of measuring one arc, in the cases that cost the most: every piece of the arc and its whole
// quarters measured through the elliptic integrals at the flatness where their duplication takes the
// most steps, short pieces summed by the quadrature rule, arcs that once never ended. The figure to hold
// is ns per arc for the worst set: a million such arcs must still count in about a second.
#include <benchmark/benchmark.h>

#include <array>

#include "counting/Quantities.h"

namespace jwcount {
namespace {

struct Arc {
  double R, Start, End, Flatness;
};

// Nearly flat arcs over most of a turn, cut where each piece is long and lies far from a sharp end; a
// stretched one; nearly full turns; short pieces beside the axes; the arcs that once never ended.
constexpr std::array<Arc, 8> kWorstArcs = {{
    {1, 50, 350, 1.0000001e-8},
    {1, 60, 350, 2e-8},
    {1, 30, 320, 1e-6},
    {1, 50, 350, 1.0000001e8},
    {1, 45.001, 45, 9e-5},
    {1, 80, 100, 0.5},
    {82, -465, 0.1, 0},
    {82, -465, 30, 9e-5},
}};

// Ellipses and elliptic arcs as drawings hold them.
constexpr std::array<Arc, 4> kCommonArcs = {{
    {500, 0, 360, 0.5},
    {500, 30, 120, 0.6},
    {250, 200, 10, 0.35},
    {1000, 0, 90, 1},
}};

template <std::size_t N>
void MeasureArcs(benchmark::State& state, const std::array<Arc, N>& arcs) {
  for (auto _ : state) {
    for (const Arc& a : arcs) {
      double length = ArcLength(a.R, a.Start, a.End, a.Flatness);
      benchmark::DoNotOptimize(length);
    }
  }
  state.counters["per_arc"] = benchmark::Counter(
      static_cast<double>(N), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void ArcLengthWorstCase(benchmark::State& state) {
  MeasureArcs(state, kWorstArcs);
}

void ArcLengthCommon(benchmark::State& state) {
  MeasureArcs(state, kCommonArcs);
}

BENCHMARK(ArcLengthWorstCase);
BENCHMARK(ArcLengthCommon);

}  // namespace
}  // namespace jwcount
