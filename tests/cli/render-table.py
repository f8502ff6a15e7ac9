#!/usr/bin/env python3
"""Draws the lines and texts of a table answer into a PNG, to look at the table without Jw_cad.

    jwcount-cli count examples/JWC_TEMP.TXT --table | tests/cli/render-table.py - build/table/table.png \\
        examples/JWC_TEMP.TXT

REPLY is the answer as `jwcount-cli count FILE --table` prints it (UTF-8) or as `run --table` leaves it
in JWC_TEMP.TXT (Shift-JIS), or "-" for standard input. EXCHANGE, when given, is the exchange file the
count read: its hcw and hch lines give the sizes of the text kinds 1 to 10 that a "cn<k>" record names
(without it, a text's height is taken as its width per character). Needs ImageMagick's `convert` and the
IPA Gothic font; a doc tool, run by hand only.
"""
import os
import subprocess
import sys

PIXELS_PER_MM = 8
MARGIN_PX = 24
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"


def read_text(path):
    data = sys.stdin.buffer.read() if path == "-" else open(path, "rb").read()
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp932")


def kind_heights(exchange):
    heights = {}
    if exchange:
        for line in read_text(exchange).splitlines():
            words = line.split()
            if words and words[0] == "hch" and len(words) >= 11:
                heights = {k: float(words[k]) for k in range(1, 11)}
    return heights


def parse(reply, heights):
    lines, texts, height = [], [], None
    for line in reply.splitlines():
        if line.startswith("ch "):
            head, _, text = line.partition('"')
            x, y, dx, _dy = (float(v) for v in head.split()[1:5])
            texts.append((x, y, dx, text, height))
        elif line.startswith("cn0"):
            height = float(line.split()[2])
        elif line.startswith("cn"):
            height = heights.get(int(line[2:] or 0))
        elif line.startswith(" ") and len(line.split()) == 4:
            lines.append(tuple(float(v) for v in line.split()))
    return lines, texts


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    lines, texts = parse(read_text(sys.argv[1]), kind_heights(sys.argv[3] if len(sys.argv) == 4 else None))
    xs = [v for l in lines for v in (l[0], l[2])] + [t[0] + t[2] for t in texts] + [0]
    ys = [v for l in lines for v in (l[1], l[3])] + [t[1] for t in texts] + [0]
    left, top = min(xs), max(ys)
    width = int((max(xs) - left) * PIXELS_PER_MM) + 2 * MARGIN_PX
    height = int((top - min(ys)) * PIXELS_PER_MM) + 2 * MARGIN_PX

    def px(x, y):
        return MARGIN_PX + (x - left) * PIXELS_PER_MM, MARGIN_PX + (top - y) * PIXELS_PER_MM

    draw = ["stroke black stroke-width 1 fill none"]
    for x1, y1, x2, y2 in lines:
        a, b = px(x1, y1)
        c, d = px(x2, y2)
        draw.append(f"line {a:.1f},{b:.1f} {c:.1f},{d:.1f}")
    draw.append(f"stroke none fill black font '{FONT}'")
    for x, y, dx, text, text_height in texts:
        units = len(text.encode("cp932")) / 2
        h = text_height if text_height else (dx / units if units else 3)
        a, b = px(x, y)
        escaped = text.replace("\\", "\\\\").replace("'", "\\'")
        draw.append(f"font-size {h * PIXELS_PER_MM:.1f} text {a:.1f},{b:.1f} '{escaped}'")
    # The corner the user picks: the origin of the answer.
    a, b = px(0, 0)
    draw.append(f"fill red circle {a:.1f},{b:.1f} {a + 3:.1f},{b:.1f}")

    out = sys.argv[2]
    os.makedirs(os.path.dirname(out) or ".", exist_ok=True)
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:white", "-draw", "\n".join(draw), out], check=True)


if __name__ == "__main__":
    main()
