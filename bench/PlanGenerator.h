// A generator of realistic exchange files of any size, for the benchmarks and the sample drawing.
#pragma once

#include <cstdio>

namespace jwcount {

// Writes an apartment plan of exactly `elements` elements (rooms of about 90 elements each, the last one
// cut short) to the stream. The same count always gives the same bytes. False when a write fails.
bool GeneratePlan(long elements, std::FILE* file);

}  // namespace jwcount
