#!/usr/bin/env bash
# Builds the ZIP a Jw_cad user installs: the 64-bit jwcount.exe, the 32-bit one in x86\, the external-
# transformation BAT and the Japanese guide (both Shift-JIS with CR LF), and in example\ the sample take-off
# rules (takeoff.csv, as Excel saves it), which page 12 reads once copied beside jwcount.exe, and the picture
# of the quantity sheet they make of the sample in the workbook (workbook.png).
#   packaging/make-package.sh X64_EXE X86_EXE OUTPUT_FOLDER VERSION
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
X64=$(realpath "$1")
X86=$(realpath "$2")
OUT=$(mkdir -p "$3" && cd "$3" && pwd)
NAME="jwcount-$4"
STAGE="$OUT/$NAME"
rm -rf "$STAGE" "$OUT/$NAME.zip"
mkdir -p "$STAGE/x86" "$STAGE/example"
cp "$X64" "$STAGE/jwcount.exe"
cp "$X86" "$STAGE/x86/jwcount.exe"
cp "$HERE/jwcount.bat" "$HERE/jwcount.txt" "$STAGE/"
cp "$HERE/../examples/takeoff.csv" "$HERE/../docs/workbook.png" "$STAGE/example/"
(cd "$OUT" && cmake -E tar cf "$NAME.zip" --format=zip "$NAME")
echo "$OUT/$NAME.zip"
