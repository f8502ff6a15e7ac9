#!/usr/bin/env python3
"""Holds the arc lengths of the count against values worked out in many-digit arithmetic.

    bench/arc-accuracy.py [build/bench/bench/jwcount_arc_lengths]

Arcs of every flatness the measure treats apart (0 to 1e300, with an ulp either side of 1e-4 and 1e4),
starting and ending at, beside and one ulp off every quarter turn, with huge angles and sweeps next to 0
and to 360 degrees. The reference is r times the incomplete elliptic integral of the second kind between
the two angles (mpmath, Debian's python3-mpmath), with the end taken as the end angle itself plus the
whole turns that bring the sweep nearest to the program's `end - start`. Prints the worst relative errors
and exits 1 when one passes 1e-12.
"""
import math
import random
import subprocess
import sys

from mpmath import mp, mpf, ellipe, pi


def reference(r, start, end, flatness):
    big = max(abs(start), abs(end)) > 1e20
    f = abs(flatness)
    digits = int(2 * abs(math.log10(f))) if f not in (0.0, 1.0) else 0
    mp.dps = 50 + digits + (330 if big else 0)
    sweep = math.fmod(end - start, 360.0)
    if sweep <= 0:
        sweep += 360.0
    s, e = mpf(start), mpf(end)
    e += 360 * mp.nint((s + sweep - e) / 360)
    if sweep >= 360:
        e = s + 360
    m = 1 - mpf(f) ** 2
    return abs(mpf(r)) * (ellipe(e * pi / 180 - pi / 2, m) - ellipe(s * pi / 180 - pi / 2, m))


def cases():
    up = lambda x: math.nextafter(x, math.inf)
    down = lambda x: math.nextafter(x, -math.inf)
    flats = [0.0, 1e-300, 1e-200, 1e-160, 1e-9, 1e-4, up(1e-4), down(1e-4), 9e-5, 1e-6, 1e-8, 1.1e-8, 0.5,
             0.999999, 1.000001, 2.0, 1e4, up(1e4), down(1e4), 1e8, 1e300]
    angles = []
    for q in (-360.0, -270.0, -180.0, -90.0, 0.0, 90.0, 180.0, 270.0, 360.0, 450.0):
        angles += [q, up(q) if q else 5e-324, down(q) if q else -5e-324, q + 1e-10, q - 1e-10, q + 1e-5,
                   q - 1e-5, q + 45, q + 30]
    angles += [-465.0, 0.1, 1e15 + 0.5, -1e15, 1e300, -1e300, 12345.678]
    rng = random.Random(1)
    for f in flats:
        pairs = rng.sample([(s, e) for s in angles for e in angles], 60)
        for base in (0.0, 45.0, 90.0, 179.0, 180.0, -90.0, 270.0):
            for d in (1e-12, 1e-7, 1e-3):
                pairs += [(base, base + d), (base - d, base), (base + d, base)]
        for s, e in pairs:
            yield (1.0, s, e, f)


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build/bench/bench/jwcount_arc_lengths"
    arcs = list(cases())
    text = "".join(" ".join(repr(v) for v in arc) + "\n" for arc in arcs)
    got = subprocess.run([program], input=text, capture_output=True, text=True, check=True).stdout.split()
    errors = []
    for arc, value in zip(arcs, got):
        want = reference(*arc)
        error = abs(mpf(value) - want) / want if want != 0 else abs(mpf(value))
        errors.append((float(error), arc, value, mp.nstr(want, 20)))
    errors.sort(reverse=True)
    print(f"{len(arcs)} arcs, worst relative errors:")
    for error, arc, value, want in errors[:5]:
        print(f"  {error:.2e}  r {arc[0]!r} start {arc[1]!r} end {arc[2]!r} flatness {arc[3]!r}: {value} "
              f"against {want}")
    return 1 if errors[0][0] > 1e-12 else 0


if __name__ == "__main__":
    sys.exit(main())
