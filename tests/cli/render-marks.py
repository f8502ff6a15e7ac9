#!/usr/bin/env python3
"""Draws an exchange file's elements and the marks of a reply into a PNG, to see where marks land without Jw_cad.

    jwcount-cli mark examples/JWC_TEMP.TXT --checks --block 椅子 \\
        | tests/cli/render-marks.py examples/JWC_TEMP.TXT - docs/marks.png

EXCHANGE is the exchange file the marks were made from (Shift-JIS). REPLY is the reply as `jwcount-cli mark`
prints it or as `mark --reply` leaves it (Shift-JIS), or "-" for standard input. Both are drawn in sheet
millimetres: each element's coordinates divided by the scale of its layer group (the `hs` record; 1 after
`bz`), as the marks are. Lines, polyline pieces and dimension lines are drawn as lines, circles, arcs and
ellipses as their curves, solids as grey outlines, texts and points as dots, block insertions as small
crosses, and every mark (`ci X Y R` after the reply's `bz`) as a red dashed circle; the reply's notice is
the caption. Needs ImageMagick's `convert` and the IPA Gothic font; a doc tool, run by hand only. The same
input gives the same PNG, byte for byte.
"""
import math
import os
import subprocess
import sys

PIXELS_PER_MM = 4
MARGIN_PX = 16
CAPTION_PX = 28
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
TEXT_KEYWORDS = ("ch", "cv", "cs", "cr", "co", "cp", "ct", "c2")


def read_text(path):
    data = sys.stdin.buffer.read() if path == "-" else open(path, "rb").read()
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp932", errors="replace")


def numbers(words):
    try:
        return [float(w) for w in words]
    except ValueError:
        return None


def curve(x, y, r, start=0.0, end=360.0, flatness=1.0, angle=0.0):
    """Points along a circle, arc, ellipse or elliptic arc as the exchange file gives it (angles in degrees)."""
    sweep = (end - start) % 360 or 360
    steps = max(8, int(sweep / 4))
    turn = math.radians(angle)
    points = []
    for i in range(steps + 1):
        t = math.radians(start + sweep * i / steps)
        u, v = r * math.cos(t), r * flatness * math.sin(t)
        points.append((x + u * math.cos(turn) - v * math.sin(turn), y + u * math.sin(turn) + v * math.cos(turn)))
    return points


def read_drawing(text):
    """The elements as sheet-millimetre shapes: (kind, points)."""
    scales, sheet_units, group, shapes = [1.0] * 16, False, 0, []
    for line in text.splitlines():
        words = line.split()
        if not words:
            continue
        head = words[0]
        if head == "hs":
            scales = [(v if v and v > 0 else 1.0) for v in (numbers(words[1:17]) or [])] + [1.0] * 16
        elif head == "bz":
            sheet_units = True
        elif head.startswith("lg") and not head.startswith("lgn") and len(head) == 3:
            group = int(head[2], 16)
        divisor = 1.0 if sheet_units else scales[group]

        def sheet(values):
            return [(values[i] / divisor, values[i + 1] / divisor) for i in range(0, len(values) - 1, 2)]

        values = numbers(words)
        if values is not None and len(values) == 4:
            shapes.append(("line", sheet(values)))
        elif head == "ci" and (values := numbers(words[1:8])) and len(values) in (3, 7):
            shapes.append(("curve", sheet([c for p in curve(*values) for c in p])))
        elif head == "sl" and (values := numbers(words[1:9])) and len(values) in (4, 6, 8):
            shapes.append(("solid", sheet(values)))
        elif head in ("sc", "se", "so", "sg") and (values := numbers(words[1:4])):
            shapes.append(("solid", sheet([c for p in curve(*values) for c in p])))
        elif head in TEXT_KEYWORDS + ("pt",) and (values := numbers(words[1:3])) and len(values) == 2:
            shapes.append(("dot", sheet(values)))
        elif head == "BL" and (values := numbers(words[1:3])) and len(values) == 2:
            shapes.append(("block", sheet(values)))
    return shapes


def read_marks(text):
    notice, marks, in_sheet = "", [], False
    for line in text.splitlines():
        words = line.split()
        if line.startswith("h#"):
            notice = line[2:]
        elif words[:1] == ["bz"]:
            in_sheet = True
        elif in_sheet and words[:1] == ["ci"] and (values := numbers(words[1:4])) and len(values) == 3:
            marks.append(values)
    return notice, marks


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    shapes = read_drawing(read_text(sys.argv[1]))
    notice, marks = read_marks(read_text(sys.argv[2]))
    xs = [p[0] for _, points in shapes for p in points] + [m[0] + s * m[2] for m in marks for s in (-1, 1)]
    ys = [p[1] for _, points in shapes for p in points] + [m[1] + s * m[2] for m in marks for s in (-1, 1)]
    left, top = min(xs), max(ys)
    width = int((max(xs) - left) * PIXELS_PER_MM) + 2 * MARGIN_PX
    height = int((top - min(ys)) * PIXELS_PER_MM) + 2 * MARGIN_PX + CAPTION_PX

    def px(x, y):
        return (f"{MARGIN_PX + (x - left) * PIXELS_PER_MM:.1f},"
                f"{MARGIN_PX + CAPTION_PX + (top - y) * PIXELS_PER_MM:.1f}")

    draw = ["stroke-linecap round fill none"]
    styles = {"solid": "stroke '#b8b8b8' stroke-width 1", "line": "stroke '#303030' stroke-width 1",
              "curve": "stroke '#303030' stroke-width 1"}
    for kind in ("solid", "line", "curve"):
        draw.append(styles[kind])
        for _, points in (s for s in shapes if s[0] == kind):
            draw.append(("line " if len(points) == 2 else "polyline ") + " ".join(px(*p) for p in points))
    draw.append("stroke none fill '#1060c0'")
    for _, ((x, y),) in (s for s in shapes if s[0] == "dot"):
        draw.append(f"circle {px(x, y)} {px(x + 0.35, y)}")
    draw.append("stroke '#008000' stroke-width 1 fill none")
    for _, ((x, y),) in (s for s in shapes if s[0] == "block"):
        draw.append(f"line {px(x - 1, y)} {px(x + 1, y)} line {px(x, y - 1)} {px(x, y + 1)}")
    draw.append("stroke '#e00000' stroke-width 2 stroke-dasharray 5 3 fill none")
    for x, y, r in marks:
        draw.append(f"circle {px(x, y)} {px(x + r, y)}")
    escaped = notice.replace("\\", "\\\\").replace("'", "\\'")
    draw.append(f"stroke none fill black font '{FONT}' font-size 16 text {MARGIN_PX},{MARGIN_PX + 8} '{escaped}'")

    out = sys.argv[3]
    os.makedirs(os.path.dirname(out) or ".", exist_ok=True)
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:white", "-draw", "\n".join(draw),
                    "-depth", "8", "+set", "date:create", "+set", "date:modify", "-define", "png:exclude-chunks=date,time",
                    out], check=True)


if __name__ == "__main__":
    main()
