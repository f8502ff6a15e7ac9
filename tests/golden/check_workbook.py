#!/usr/bin/env python3
"""Holds the workbook of a count against its JSON report, sheet by sheet, and its formulas against a real
spreadsheet.

  check_workbook.py --cli JWCOUNT_CLI --drawing DRAWING [--rules RULES]
  check_workbook.py --cli JWCOUNT_CLI --generator JWCOUNT_GENERATE --generate real|tidy|names|texts
      writes `jwcount-cli count DRAWING --format xlsx` (with the rules, if given) and the JSON report of
      the same count, reads the workbook back with openpyxl and checks that every sheet holds the report's
      values: the summary, the rows of the five count tables that hold a count, the blocks and texts, the
      lengths and areas in m and m2, the checks, the quantity sheet (each figure's formula and the result
      it holds) and the drawing's file in 情報. `names` is a drawing of 60,000 block names, control bytes,
      broken Shift-JIS and names over a cell's 32,767 characters; `texts` one of more distinct texts than a
      sheet has rows, whose sheet 文字 must stop one row short of them and say how many were left out.
  check_workbook.py --cli JWCOUNT_CLI --drawing DRAWING --rules RULES --recalculate
      also opens the workbook in LibreOffice (headless, recalculating on load) and checks that every 数量,
      金額, 小計 and 合計 it computes is ours; then raises one unit price and checks that the amount, its
      小計 and 合計 follow.

Every difference is printed as "SHEET: ROW: what"; the exit code is 1 then, 77 (a skip for ctest) when
python3-openpyxl (or for --recalculate LibreOffice) is missing or the CLI was built without the workbook,
0 when the workbook holds.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

try:
    import openpyxl
except ImportError:
    print("python3-openpyxl is not installed: the workbook is not checked")
    sys.exit(77)

MAX_SHOWN = 30
ROW_LIMIT = 1048576


class Differences:
    def __init__(self):
        self.lines = []

    def add(self, sheet, row, what):
        self.lines.append(f"{sheet}: {row}: {what}")

    def same(self, sheet, row, what, ours, theirs):
        if ours != theirs and not (isinstance(ours, float) and isinstance(theirs, (int, float))
                                   and abs(ours - theirs) <= 1e-9 * max(1.0, abs(theirs))):
            self.add(sheet, row, f"{what}: {ours!r} in the workbook, {theirs!r} in the report")


def rows_of(book, name):
    return [list(r) for r in book[name].iter_rows(values_only=True)]


def cell_text(value):
    return "" if value is None else value


def count_cell(text):
    return None if text == "" else int(text)


def check_summary(book, report, diffs):
    rows = rows_of(book, "概要")
    for i, (label, count) in enumerate(zip(report["labels"], report["summary"])):
        kind, value = rows[i + 1][0], rows[i + 1][1]
        if not label.startswith(kind):
            diffs.add("概要", i + 2, f"{kind!r} is not the kind of {label!r}")
        if label.endswith("：" + str(count)):
            diffs.same("概要", i + 2, "count", value, count)


def shown_count_rows(table):
    """The rows of a count table the workbook keeps: those with a count, and the total (last) row."""
    return [row for i, row in enumerate(table[1:], 1)
            if any(c not in ("", "0") for c in row[1:]) or i == len(table) - 1]


def check_tables(book, report, diffs):
    names = [n for n in book.sheetnames]
    for index, table_id in enumerate(["SG1", "SG2", "SG3", "SG4", "SG5"]):
        sheet = names[1 + index]
        table = report["tables"][table_id]
        rows = rows_of(book, sheet)
        expected = shown_count_rows(table)
        if len(rows) - 1 != len(expected):
            diffs.add(sheet, "-", f"{len(rows) - 1} rows, the report has {len(expected)} with counts")
            continue
        for r, (got, want) in enumerate(zip(rows[1:], expected), 2):
            diffs.same(sheet, r, "head", cell_text(got[0]), want[0])
            for c in range(1, len(want)):
                diffs.same(sheet, r, table[0][c], got[c + 1], count_cell(want[c]))


def last_row_of(book_path, sheet):
    """The number and the XML of the last row of a sheet too long for openpyxl to walk in a test."""
    with zipfile.ZipFile(book_path) as z:
        names = re.findall(r'<sheet name="([^"]+)"', z.read("xl/workbook.xml").decode())
        tail = b""
        with z.open(f"xl/worksheets/sheet{names.index(sheet) + 1}.xml") as f:
            for piece in iter(lambda: f.read(1 << 20), b""):
                tail = (tail + piece)[-4096:]
    last = re.findall(r'<row r="(\d+)"[^>]*>(.*?)</row>', tail.decode(errors="replace"))[-1]
    return int(last[0]), last[1]


def check_names(book, report, diffs, sheet, member, key, book_path):
    entries = report[member]
    if not entries:
        if sheet in book.sheetnames:
            diffs.add(sheet, "-", "a sheet, but the report has none")
        return
    if len(entries) + 1 >= ROW_LIMIT:
        left_out = len(entries) - (ROW_LIMIT - 2)
        number, cells = last_row_of(book_path, sheet)
        if number != ROW_LIMIT or f"{left_out} 行は入りません" not in cells:
            diffs.add(sheet, number, f"the last row does not say that {left_out} rows were left out: {cells}")
        return
    rows = rows_of(book, sheet)
    last = len(rows) - 1
    if len(rows) - 1 != len(entries):
        diffs.add(sheet, "-", f"{len(rows) - 1} rows, the report has {len(entries)}")
        return
    for r in range(1, last + 1):
        name, count = rows[r][0], rows[r][1]
        want = entries[r - 1][key]
        if len(want) > 32767:
            want = want[:32766] + "…"
        diffs.same(sheet, r + 1, "name", cell_text(name), want)
        diffs.same(sheet, r + 1, "count", count, entries[r - 1]["count"])


def check_quantities(book, report, diffs):
    if "長さ・面積" not in book.sheetnames:
        if any(any(q["length"]) or any(q["area"]) for q in report["quantities"].values()):
            diffs.add("長さ・面積", "-", "no sheet, but the report has lengths or areas")
        return
    rows = rows_of(book, "長さ・面積")
    heads = {tid: report["tables"][tid] for tid in report["tables"]}
    groupings = {}
    for row in rows[1:]:
        groupings.setdefault(row[0], []).append(row)
    order = list(groupings)
    for tid, grouping in zip([t for t in ["SG1", "SG2", "SG3", "SG4", "SG5"]
                              if any(report["quantities"][t]["length"]) or any(report["quantities"][t]["area"])],
                             order):
        table = heads[tid]
        index = {table[i][0]: i for i in range(1, len(table)) if table[i][0] != ""}
        for row in groupings[grouping]:
            i = index.get(row[1])
            if i is None:
                diffs.add("長さ・面積", row[1], f"no row {row[1]!r} in {tid}")
                continue
            diffs.same("長さ・面積", row[1], "length (m)", row[5], report["quantities"][tid]["length"][i] / 1e3)
            diffs.same("長さ・面積", row[1], "area (m2)", row[6], report["quantities"][tid]["area"][i] / 1e6)


def check_checks(book, report, diffs):
    rows = rows_of(book, "チェック")
    checks = report["checks"]
    totals = [checks["duplicates"]["total"], checks["zero_length_lines"], checks["zero_radius"],
              checks["empty_texts"]]
    counted = [r[1] for r in rows[1:] if r[0] and not str(r[0]).startswith("\u3000")]
    if any(totals) and sorted(counted) != sorted(totals):
        diffs.add("チェック", "-", f"counts {counted}, the report has {totals}")


def check_takeoff(book, formulas, report, diffs):
    takeoff = report.get("takeoff")
    if takeoff is None:
        if "数量表" in book.sheetnames:
            diffs.add("数量表", "-", "a sheet, but the count had no rules")
        return
    rows = rows_of(book, "数量表")
    shown = rows_of(formulas, "数量表")
    heads = rows[0]
    col = {h: i for i, h in enumerate(heads)}
    items = iter(takeoff["items"])
    for r in range(1, len(rows)):
        row, raw = rows[r], shown[r]
        if row[col["品名"]] in ("小計", "合計") or row[col["工種"]] == "未割当":
            if row[col["品名"]] in ("小計", "合計") and raw[col["金額"]] is not None \
                    and not str(raw[col["金額"]]).startswith("=SUBTOTAL(9,"):
                diffs.add("数量表", r + 1, f"{row[col['品名']]} is no SUBTOTAL: {raw[col['金額']]!r}")
            continue
        item = next(items)
        diffs.same("数量表", r + 1, "品名", row[col["品名"]], item["name"])
        diffs.same("数量表", r + 1, "数量", row[col["数量"]], item["quantity"])
        diffs.same("数量表", r + 1, "金額", row[col["金額"]], item["amount"])
        diffs.same("数量表", r + 1, "単価", row[col["単価"]], item["unit_price"])
        diffs.same("数量表", r + 1, "要素数", row[col["要素数"]], item["elements"])
        diffs.same("数量表", r + 1, "図面数量", row[col["図面数量"]], item["measured"])
        diffs.same("数量表", r + 1, "換算数量", row[col["換算数量"]], item["factored"])
        if item["quantity"] is not None and not str(raw[col["数量"]]).startswith("="):
            diffs.add("数量表", r + 1, f"数量 is no formula: {raw[col['数量']]!r}")
    total = [row for row in rows[1:] if row[col["品名"]] == "合計"]
    if total:
        diffs.same("数量表", "合計", "金額", total[0][col["金額"]], takeoff.get("total_amount"))


def check_info(book, report, diffs):
    rows = {r[0]: r[1] for r in rows_of(book, "情報")[1:]}
    file_name = report.get("state", {}).get("drawing", {}).get("file") if "state" in report else None
    if "バージョン" not in rows:
        diffs.add("情報", "-", "no バージョン")
    if "takeoff" in report:
        diffs.same("情報", "ルールファイル", "file", rows.get("ルールファイル"), report["takeoff"]["rules_file"])
        diffs.same("情報", "SHA-256", "hash", rows.get("ルールファイルの SHA-256"), report["takeoff"]["rules_sha256"])
    if file_name is not None:
        diffs.same("情報", "図面ファイル", "file", rows.get("図面ファイル"), file_name)


def run(command):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def check_drawing(cli, drawing, rules, folder):
    extra = ["--rules", rules] if rules else []
    book_path = os.path.join(folder, "count.xlsx")
    made = run([cli, "count", drawing, "--format", "xlsx", "--output", book_path] + extra)
    if made.returncode != 0:
        message = made.stderr.decode(errors="replace")
        if "without libxlsxwriter" in message:
            print("this jwcount-cli writes no workbook: not checked")
            sys.exit(77)
        return [f"{drawing}: count --format xlsx exited with {made.returncode}: {message}"], None
    report = json.loads(run([cli, "count", drawing, "--format", "json"] + extra).stdout)
    values = openpyxl.load_workbook(book_path, data_only=True, read_only=True)
    formulas = openpyxl.load_workbook(book_path, read_only=True)
    diffs = Differences()
    check_summary(values, report, diffs)
    check_tables(values, report, diffs)
    check_names(values, report, diffs, "ブロック", "blocks", "name", book_path)
    check_names(values, report, diffs, "文字", "texts", "text", book_path)
    check_quantities(values, report, diffs)
    check_checks(values, report, diffs)
    check_takeoff(values, formulas, report, diffs)
    check_info(values, report, diffs)
    measured = any(any(q["length"]) or any(q["area"]) for q in report["quantities"].values())
    expected = ["概要"] + values.sheetnames[1:6] + ["ブロック"] * bool(report["blocks"]) + \
        ["長さ・面積"] * measured + ["文字"] * bool(report["texts"]) + ["チェック"]
    if "takeoff" in report:
        expected.append("数量表")
    expected.append("情報")
    if values.sheetnames != expected:
        diffs.add("-", "-", f"sheets {values.sheetnames}, expected {expected}")
    return diffs.lines, book_path


def names_drawing(path):
    """60,000 block names, control bytes, broken Shift-JIS, names longer than a cell holds."""
    lines = [b"hq", b"lg0 2", b"ly0 2"]
    for i in range(60000):
        lines.append(b'BL 0 0 "\x83u\x83\x8D\x83b\x83N' + str(i).encode())
    lines += [b'BL 0 0 "a\x01b\x1b[31m', b'BL 0 0 "=SUM(A1)', b'BL 0 0 "\x82\xa0\x82', b'BL 0 0 "\xfd\xfe\xff',
              b'BL 0 0 "' + b"\x82\xa0" * 40000, b'BL 0 0 "_x0041_', b'ch 0 0 1 0 "007', b'ch 0 0 1 0 "1-2']
    with open(path, "wb") as f:
        f.write(b"\r\n".join(lines) + b"\r\n")


def texts_drawing(path):
    """More distinct texts than a sheet has rows."""
    with open(path, "wb") as f:
        f.write(b"hq\r\nlg0 2\r\nly0 2\r\n")
        f.write(b"".join(b'ch 0 0 1 0 "T%d\r\n' % i for i in range(ROW_LIMIT + 100)))


def recalculated(book_path, folder):
    """The workbook as LibreOffice recalculates and saves it, or None when there is no LibreOffice."""
    office = shutil.which("soffice") or shutil.which("libreoffice")
    if office is None:
        return None
    profile = os.path.join(folder, "profile")
    settings = os.path.join(profile, "user")
    os.makedirs(settings, exist_ok=True)
    with open(os.path.join(settings, "registrymodifications.xcu"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<oor:items xmlns:oor="http://openoffice.org/2001/registry" '
                'xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">\n'
                '<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" '
                'oor:op="fuse"><value>0</value></prop></item>\n</oor:items>\n')
    out = os.path.join(folder, "recalculated")
    os.makedirs(out, exist_ok=True)
    done = subprocess.run([office, f"-env:UserInstallation=file://{profile}", "--headless", "--calc",
                           "--convert-to", "xlsx", "--outdir", out, book_path],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
    result = os.path.join(out, os.path.basename(book_path))
    if done.returncode != 0 or not os.path.exists(result):
        raise RuntimeError(f"LibreOffice could not convert {book_path}: {done.stderr.decode(errors='replace')}")
    return result


def sheet_figures(path):
    rows = rows_of(openpyxl.load_workbook(path, data_only=True), "数量表")
    col = {h: i for i, h in enumerate(rows[0])}
    return rows, col


def check_recalculation(book_path, folder):
    theirs_path = recalculated(book_path, folder)
    if theirs_path is None:
        print("LibreOffice is not installed: the formulas are not recalculated")
        sys.exit(77)
    ours, col = sheet_figures(book_path)
    theirs, _ = sheet_figures(theirs_path)
    diffs = Differences()
    for r in range(1, len(ours)):
        for head in ("数量", "金額"):
            diffs.same("数量表 (LibreOffice)", r + 1, head, theirs[r][col[head]], ours[r][col[head]])
    # One unit price raised by 1000 in the file: its amount, its trade's 小計 and 合計 must follow.
    book = openpyxl.load_workbook(book_path)
    sheet = book["数量表"]
    row = next(r for r in range(2, sheet.max_row + 1) if isinstance(sheet.cell(r, col["単価"] + 1).value, (int, float)))
    sheet.cell(row, col["単価"] + 1).value += 1000
    changed = os.path.join(folder, "changed.xlsx")
    book.save(changed)
    after, _ = sheet_figures(recalculated(changed, os.path.join(folder, "second")))
    quantity = ours[row - 1][col["数量"]]
    rise = int(round(quantity * 1000, 6))
    diffs.same("数量表 (changed price)", row, "金額", after[row - 1][col["金額"]], ours[row - 1][col["金額"]] + rise)
    subtotal = next(r for r in range(row, len(ours)) if ours[r][col["品名"]] == "小計")
    total = next(r for r in range(row, len(ours)) if ours[r][col["品名"]] == "合計")
    diffs.same("数量表 (changed price)", subtotal + 1, "小計", after[subtotal][col["金額"]], ours[subtotal][col["金額"]] + rise)
    diffs.same("数量表 (changed price)", total + 1, "合計", after[total][col["金額"]], ours[total][col["金額"]] + rise)
    return diffs.lines


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--drawing")
    parser.add_argument("--rules")
    parser.add_argument("--generator")
    parser.add_argument("--generate", choices=["real", "tidy", "names", "texts"])
    parser.add_argument("--recalculate", action="store_true")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        drawing = args.drawing
        if args.generate == "names":
            drawing = os.path.join(folder, "names.txt")
            names_drawing(drawing)
        elif args.generate == "texts":
            drawing = os.path.join(folder, "texts.txt")
            texts_drawing(drawing)
        elif args.generate:
            drawing = os.path.join(folder, f"{args.generate}.txt")
            subprocess.run([args.generator, f"--{args.generate}", "20000", drawing], check=True)
        lines, book_path = check_drawing(args.cli, drawing, args.rules, folder)
        if args.recalculate and book_path and not lines:
            lines = check_recalculation(book_path, folder)
    for line in lines[:MAX_SHOWN]:
        print(line)
    if len(lines) > MAX_SHOWN:
        print(f"and {len(lines) - MAX_SHOWN} more")
    if lines:
        return 1
    print(f"the workbook holds the report{' and LibreOffice computes our figures' if args.recalculate else ''}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
