#!/usr/bin/env bash
# End-to-end tests of the window program under Wine.
#   tests/e2e/wine-tests.sh EXE_FOLDER WORK_FOLDER
# EXE_FOLDER holds jwcount.exe and jwcount-probe.exe (the 64-bit build); WORK_FOLDER keeps the Wine prefix
# (made once, reused), one scratch folder per case and the screenshots. Without a display an Xvfb of our
# own is started and stopped again. Every case starts the real program in a folder with its own
# JWC_TEMP.TXT, reads the window back through the probe and sends keys with xdotool.
set -euo pipefail

EXE_DIR=$(cd "$1" && pwd)
WORK=$(mkdir -p "$2" && cd "$2" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)

source "$HERE/wine-env.sh"
FAILURES=0
PASSES=0
pass() { PASSES=$((PASSES + 1)); printf '  ok   %s\n' "$*"; }
fail() { FAILURES=$((FAILURES + 1)); printf '  FAIL %s\n' "$*"; }
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: expected [$2], got [$3]"; fi
}

# Grid text with a final "." so that the CR LF ends survive the command substitution.
cells() { probe cells "$@"; echo .; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# A scratch folder with the program and, unless the content is "-", a JWC_TEMP.TXT written in Shift-JIS.
new_case() {  # new_case NAME CONTENT
  CASE="$WORK/cases/$1"
  rm -rf "$CASE"
  mkdir -p "$CASE"
  cp "$EXE_DIR/jwcount.exe" "$CASE/"
  if [ "$2" != "-" ]; then printf '%s' "$2" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$CASE/JWC_TEMP.TXT"; fi
}

start_program() {  # start_program [WORKING_FOLDER]
  (cd "${1:-$CASE}" && exec wine "$CASE/jwcount.exe" >/dev/null 2>&1) &
  APP_PID=$!
  probe wait 30000 || { fail "window did not appear"; return 1; }
}

wait_counted() {
  probe wait-text 101 20000 "$(hex '要素数をカウントしました')" >/dev/null || fail "the count did not finish"
}

finish_program() {
  if ! probe wait-gone 10000; then
    fail "window still open"
    kill "$APP_PID" 2>/dev/null || true
  fi
  wait "$APP_PID" 2>/dev/null || true
}

desktop_window() { xdotool search --name 'Wine desktop' | head -1; }

# Clicks the centre of a control (screen coordinates of the virtual desktop equal those of the X screen).
click_control() {
  local x y w h
  read -r x y w h < <(probe rect "$1")
  xdotool mousemove $((x + ${2:-$((w / 2))})) $((y + ${3:-$((h / 2))})) click 1
  sleep 0.3
}

keys() {
  xdotool windowfocus --sync "$(desktop_window)" 2>/dev/null || true
  xdotool key --delay 80 "$@"
  sleep 0.3
}

placement_of() { tr -d '\r' <"$CASE/jwcount.dat" | paste -sd' '; }

SMALL_INPUT='0 0 100 0
0 0 0 100
100 0 100 100
ci 50 50 20
ci 50 50 20 0 1 1 0
pt 10 10'

REPLY_HEX=$(printf 'h#%s\r\n' "$(sjis '要素数をカウントしました')" | od -An -tx1 | tr -d ' \n')

test_count_and_escape() {
  log "count, reply, texts, Escape"
  new_case count "$SMALL_INPUT"
  start_program || return
  wait_counted
  check "reply is the 28 bytes" "$REPLY_HEX" "$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')"
  check "window" "0 0 475 475|要素数表示|wq47_要素数表示" "$(probe window | paste -sd'|')"
  check "Label1" "線データ数：3" "$(probe text 201)"
  check "Label2" "円・円弧・楕円・楕円弧データ数：2" "$(probe text 202)"
  check "Label4" "点データ数：1" "$(probe text 204)"
  check "Label13" "円環ソリッド図形データ数：0" "$(probe text 213)"
  check "tab captions" "Page(&1) Page(&2) Page(&3) Page(&4) Page(&5) Page(&6)" \
    "$(for i in 301 302 303 304 305 306; do probe text $i; done | paste -sd' ')"
  check "title of page 2" "レイヤグループ・レイヤ別 要素数" "$(probe text 403)"
  check "title of page 6" "線幅別 要素数" "$(probe text 407)"
  check "SG1 heads and first layer row" $'\t線\t円弧\t文字\t点\r\n0－0\t3\t2\t\t1\r\n.' "$(cells 1 0 0 4 1)"
  check "SG1 total row" $'合計\t3\t2\t0\t1\r\n.' "$(cells 1 0 289 4 289)"
  check "SG2 group 0" $'[0]\t3\t2\t0\t1\r\n.' "$(cells 2 0 1 4 1)"
  check "SG5 corner" $'線幅\r\n.' "$(cells 5 0 0 0 0)"
  check "copy puts the range on the clipboard" $'3\t2\r\n.' "$(probe copy 1 1 1 2 1; echo .)"
  click_control 101 300
  keys Escape
  finish_program
  check "placement after Escape" "0 0 475 475" "$(placement_of)"
}

test_enter_from_grid() {
  log "Enter with the grid of page 4 focused; Ctrl+C from the keyboard"
  new_case enter "$SMALL_INPUT"
  printf '10\r\n20\r\n600\r\n500\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  check "window at the stored place" "10 20 600 500" "$(probe window | head -1)"
  click_control 101 300
  keys alt+4
  check "page 4 shown by Alt+4" "1" "$(probe visible 304)"
  click_control 503 70 30  # cell (1, 1) of SG3
  keys ctrl+c
  check "Ctrl+C copies the selected cell" "3" "$(probe clipboard | tr -d '\r\n')"
  keys Return
  finish_program
  check "placement after Enter" "10 20 600 500" "$(placement_of)"
}

test_alt_c_and_minimums() {
  log "Alt+C, and a stored placement below the minimums"
  new_case altc "$SMALL_INPUT"
  printf '100\r\n50\r\n300\r\n100\r\n' >"$CASE/jwcount.dat"
  start_program || return
  check "opens at 100, 50 with 475 x 200" "100 50 475 200" "$(probe window | head -1)"
  wait_counted
  click_control 101 300
  keys alt+c
  finish_program
  check "placement after Alt+C" "100 50 475 200" "$(placement_of)"
}

test_close_before_count() {
  log "closing within the first 500 ms"
  new_case early "$SMALL_INPUT"
  local before
  before=$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')
  (cd "$CASE" && exec wine "$CASE/jwcount.exe" >/dev/null 2>&1) &
  APP_PID=$!
  check "texts before the count" "　|線データ数：|" "$(probe close-at-once 30000 | paste -sd'|')"
  finish_program
  check "JWC_TEMP.TXT untouched" "$before" "$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')"
  check "placement saved" "0 0 475 475" "$(placement_of)"
}

test_no_input() {
  log "no JWC_TEMP.TXT"
  new_case none -
  start_program || return
  wait_counted
  check "Label1 shows 0" "線データ数：0" "$(probe text 201)"
  check "SG1 total row" $'合計\t0\t0\r\n.' "$(cells 1 0 289 2 289)"
  check "new reply" "$REPLY_HEX" "$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')"
  probe close >/dev/null
  finish_program
}

test_other_working_folder() {
  log "started from another working folder"
  new_case cwd "$SMALL_INPUT"
  local elsewhere="$WORK/cases/cwd-elsewhere"
  rm -rf "$elsewhere" && mkdir -p "$elsewhere"
  sjis 'pt 1 1' >"$elsewhere/JWC_TEMP.TXT"
  start_program "$elsewhere" || return
  wait_counted
  check "reads its own folder" "線データ数：3" "$(probe text 201)"
  check "reply in its own folder" "$REPLY_HEX" "$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')"
  check "other folder untouched" "pt 1 1" "$(cat "$elsewhere/JWC_TEMP.TXT")"
  probe close >/dev/null
  finish_program
  [ -e "$elsewhere/jwcount.dat" ] && fail "placement written to the working folder" || pass "placement beside the program"
}

test_off_screen_placement() {
  log "a stored position on no monitor"
  new_case offscreen "$SMALL_INPUT"
  printf '%s\r\n' -5000 3000 500 300 >"$CASE/jwcount.dat"
  start_program || return
  local x y w h
  read -r x y w h < <(probe window | head -1)
  if [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ "$x" -lt 1024 ] && [ "$y" -lt 768 ]; then
    pass "shown on the screen at $x, $y"
  else
    fail "shown off screen at $x, $y"
  fi
  check "size kept" "500 300" "$w $h"
  probe close >/dev/null
  finish_program
}

test_screenshots() {
  log "screenshots of the six pages (sample file)"
  new_case sample -
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/"
  printf '0\r\n0\r\n560\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  click_control 101 300
  for page in 1 2 3 4 5 6; do
    keys "alt+$page"
    if [ "$page" -ge 2 ]; then click_control $((500 + page - 1)) 70 30; fi  # shows a selected cell
    import -window root -crop 560x480+0+0 "$SHOTS/page$page.png"
  done
  pass "screenshots in $SHOTS"
  keys Escape
  finish_program
}

main() {
  start_display
  prepare_prefix
  wineserver -p >/dev/null 2>&1 || true  # keep one server for all cases
  test_count_and_escape
  test_enter_from_grid
  test_alt_c_and_minimums
  test_close_before_count
  test_no_input
  test_other_working_folder
  test_off_screen_placement
  test_screenshots
  log "Wine end-to-end tests: $PASSES passed, $FAILURES failed"
  [ "$FAILURES" -eq 0 ]
}

main
