// Prints the length of each arc read from standard input, one "r start end flatness" per line, with 17
// significant digits: the measure as the count takes it, for bench/arc-accuracy.py to hold against
// values worked out in many-digit arithmetic.
#include <cstdio>

#include "counting/Quantities.h"

int main() {
  double r = 0, start = 0, end = 0, flatness = 0;
  while (std::scanf("%lf %lf %lf %lf", &r, &start, &end, &flatness) == 4)
    std::printf("%.17g\n", jwcount::ArcLength(r, start, end, flatness));
  return 0;
}
