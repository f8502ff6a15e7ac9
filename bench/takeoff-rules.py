#!/usr/bin/env python3
"""Writes a take-off rules file of N rows (code page 932, CR LF, as Excel saves CSV) for the generated
drawings: an office's price master, most of whose rows name fixtures and marks the drawing may not hold.

  bench/takeoff-rules.py N OUTPUT

A fifth of the rows select by layer (number or name), colour, type or width, two fifths by block name and
two fifths by text, a tenth of them with wildcards; every twentieth row hands its elements on (継続).
"""
import sys

HEADS = "工種,品名,規格,単位,数量元,種別,レイヤグループ,レイヤ,線色,線種,線幅,ブロック名,文字,係数,ロス率,丸め,桁,単価,継続,備考"
LAYERS = ["通り芯", "壁", "建具", "設備", "文字", "寸法", "仕上", "点", "補助線", "下がり壁"]
BLOCKS = ["便器", "流し台", "浴槽", "椅子", "照明①"]
TEXTS = ["WD1", "AW-3", "洋室(1)", "和室", "台所", "浴室", "便所", "玄関", "廊下", "収納", "ｻｯｼ", "ﾄﾞｱ"]


def row(i):
    kind = i % 5
    trade = ["内装", "建具", "電気", "設備", "外構"][i % 5]
    cells = {"工種": trade, "品名": f"品目{i:04d}", "規格": f"規格{i % 37}", "単価": str(100 + i * 7)}
    if kind == 0:
        choice = (i // 5) % 4
        if choice == 0:
            cells.update({"数量元": "長さ", "種別": "線", "レイヤ": LAYERS[(i // 20) % len(LAYERS)]})
        elif choice == 1:
            cells.update({"数量元": "長さ", "レイヤ": f"{(i // 20) % 4}-{(i // 7) % 16:X}"})
        elif choice == 2:
            cells.update({"数量元": "面積", "種別": "ソリッド", "線色": f"{1 + i % 9}/{101 + i % 50}"})
        else:
            cells.update({"数量元": "長さ", "線種": str(1 + i % 9), "線幅": f"{i % 5}/{10 + i % 20}",
                          "ロス率": "5%", "丸め": "切上げ", "桁": "1"})
    elif kind in (1, 2):
        name = BLOCKS[i % len(BLOCKS)] if i % 40 == 1 else f"器具{i:04d}"
        cells["ブロック名"] = name + ("*" if i % 10 == 1 else "")
    else:
        text = TEXTS[i % len(TEXTS)] if i % 30 == 3 else f"記号{i:04d}"
        cells["文字"] = (text[:-1] + "?") if i % 10 == 3 else text
    if i % 20 == 7:
        cells["継続"] = "1"
    heads = HEADS.split(",")
    return ",".join(cells.get(h, "") for h in heads)


def main():
    count, path = int(sys.argv[1]), sys.argv[2]
    lines = [HEADS] + [row(i) for i in range(count)]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


if __name__ == "__main__":
    main()
