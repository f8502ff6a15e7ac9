#!/usr/bin/env python3
"""Draws one sheet of the sample's workbook into a PNG, as a spreadsheet prints it: the picture of the
workbook in the README and the guides (docs/workbook.png).

  render-workbook.py --cli JWCOUNT_CLI --drawing DRAWING --rules RULES --sheet 数量表 --out PNG

Needs LibreOffice (libreoffice-calc-nogui), which recalculates the formulas as it prints, and Ghostscript.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import openpyxl


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--drawing", required=True)
    parser.add_argument("--rules")
    parser.add_argument("--sheet", default="数量表")
    parser.add_argument("--out", required=True)
    parser.add_argument("--dpi", type=int, default=150)
    args = parser.parse_args()
    office = shutil.which("soffice")
    if office is None or shutil.which("gs") is None:
        print("needs LibreOffice (soffice) and Ghostscript (gs)")
        return 77
    with tempfile.TemporaryDirectory() as folder:
        book = os.path.join(folder, "book.xlsx")
        rules = ["--rules", args.rules] if args.rules else []
        subprocess.run([args.cli, "count", args.drawing, "--format", "xlsx", "--output", book] + rules, check=True)
        # The one sheet, printed with its grid and its row and column heads on one landscape page.
        workbook = openpyxl.load_workbook(book)
        for name in workbook.sheetnames:
            if name != args.sheet:
                del workbook[name]
        sheet = workbook[args.sheet]
        sheet.print_options.gridLines = True
        sheet.print_options.headings = True
        sheet.page_setup.orientation = "landscape"
        sheet.sheet_properties.pageSetUpPr.fitToPage = True
        sheet.page_setup.fitToWidth = 1
        sheet.page_setup.fitToHeight = 1
        printed = os.path.join(folder, "sheet.xlsx")
        workbook.save(printed)
        profile = "file://" + os.path.join(folder, "profile")
        subprocess.run([office, f"-env:UserInstallation={profile}", "--headless", "--convert-to", "pdf",
                        "--outdir", folder, printed], check=True, stdout=subprocess.DEVNULL)
        page = os.path.join(folder, "sheet.png")
        subprocess.run(["gs", "-q", "-sDEVICE=png16m", f"-r{args.dpi}", "-dFirstPage=1", "-dLastPage=1",
                        "-o", page, os.path.join(folder, "sheet.pdf")], check=True)
        subprocess.run(["convert", page, "-trim", "-bordercolor", "white", "-border", "12", args.out], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
