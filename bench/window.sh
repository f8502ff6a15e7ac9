#!/usr/bin/env bash
# Times the window program under Wine from its start to its reply (the moment JWC_TEMP.TXT holds the
# answer), on the realistic 1M-element file and on 10 million "0 0 1 1" lines: the first run in a fresh
# Wine session, with another Wine program already running as Jw_cad would be, then a second run in the
# same session. Prints one Markdown table row per file.
#
#   bench/window.sh [WINDOWS_BUILD]     (default build/windows-x64; `./dev bench window` builds it)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$(cd "${1:-build/windows-x64}" && pwd)
WORK=$ROOT/build/wine
mkdir -p "$WORK"
source tests/e2e/wine-env.sh

cmake --preset bench >/dev/null
cmake --build --preset bench --target jwcount-generate >/dev/null
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/jwcount-window.XXXXXX")
trap 'cleanup; rm -rf "$SCRATCH"' EXIT

# Milliseconds from the start of the program in FOLDER until its reply has replaced the input; then the
# window is closed and the program waited for.
time_to_reply() {  # time_to_reply FOLDER INPUT
  local folder=$1 input=$2 start now pid
  cp "$input" "$folder/JWC_TEMP.TXT"
  cat "$folder/JWC_TEMP.TXT" >/dev/null  # in the page cache, as the host has just written it
  start=$(date +%s%N)
  (cd "$folder" && exec "$WINE" "$folder/jwcount.exe" >/dev/null 2>&1) &
  pid=$!
  # The reply is a few dozen bytes; the input is megabytes.
  while [ "$(stat -c %s "$folder/JWC_TEMP.TXT")" -gt 4096 ]; do
    kill -0 "$pid" 2>/dev/null || { echo "the program ended without a reply" >&2; return 1; }
    sleep 0.005
  done
  now=$(date +%s%N)
  probe wait 30000 >/dev/null || true
  probe close >/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo $(((now - start) / 1000000))
}

start_display
prepare_prefix
use_build "$BUILD" x64
folder=$SCRATCH/run
mkdir -p "$folder"
cp "$EXE" "$folder/"

"$ROOT/build/bench/bench/jwcount-generate" --real 1000000 "$SCRATCH/real.txt"
awk 'BEGIN { for (i = 0; i < 10000000; i++) print "0 0 1 1" }' >"$SCRATCH/tiny.txt"

printf '| file | elements | first run to reply | second run to reply |\n|---|---:|---:|---:|\n'
for name in real tiny; do
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  # Another Wine program in the session, as the host would be.
  "$WINE" notepad >/dev/null 2>&1 &
  sleep 3
  first=$(time_to_reply "$folder" "$SCRATCH/$name.txt")
  second=$(time_to_reply "$folder" "$SCRATCH/$name.txt")
  elements=1000000
  [ "$name" = tiny ] && elements=10000000
  printf '| %s | %d | %d ms | %d ms |\n' "$name" "$elements" "$first" "$second"
done
