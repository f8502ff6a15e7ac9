// A generator of realistic exchange files of any size, for the benchmarks and the sample drawing.
#pragma once

#include <cstdio>

namespace jwcount {

// kTidy: short numbers of at most four decimals, every polyline closed, upper-case layers (the sample
// drawing is the tidy plan of 264 elements). kReal: as Jw_cad writes a drawing after years of editing:
// plain lines beginning with a blank, coordinates of 15 significant digits, float noise in exponent form,
// open polylines, lower-case hexadecimal layers, CP932-only characters in texts (about 70 bytes an element).
enum class PlanStyle { kTidy, kReal };

// Writes an apartment plan of exactly `elements` elements (rooms of about 90 to 100 elements each, the last
// one cut short) to the stream. The same count and style always give the same bytes. False when a write
// fails.
bool GeneratePlan(long elements, std::FILE* file, PlanStyle style = PlanStyle::kTidy);

}  // namespace jwcount
