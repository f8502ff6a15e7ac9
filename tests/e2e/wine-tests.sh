#!/usr/bin/env bash
# End-to-end tests of the window program under Wine.
#   tests/e2e/wine-tests.sh WORK_FOLDER BUILD_FOLDER...
# Each BUILD_FOLDER is the build folder of a Windows preset (build/windows-x64, build/windows-x86) with
# app/win32/jwcount.exe and tests/e2e/jwcount-probe.exe. WORK_FOLDER keeps the Wine prefix (made once,
# reused) and, per build, WORK_FOLDER/x64 or /x86 with one scratch folder per case and the screenshots.
# Without a display an Xvfb of our own is started and stopped again. Every case starts the real program
# in a folder with its own JWC_TEMP.TXT, reads the window back through the probe (of the same build) and
# sends keys with xdotool.
set -euo pipefail

WORK=$(mkdir -p "$1" && cd "$1" && pwd)
shift
HERE=$(cd "$(dirname "$0")" && pwd)

source "$HERE/wine-env.sh"
FAILURES=0
PASSES=0
SKIPPED=0
UNTESTED_32BIT=""
# Why Wine runs no 32-bit program here: the reason ./dev gave when it could not install wine32
# (JWCOUNT_WINE32_MISSING), or else what is known without it.
why_no_32bit() {
  if [ -n "${JWCOUNT_WINE32_MISSING:-}" ]; then
    echo "$JWCOUNT_WINE32_MISSING"
  else
    echo "Wine runs no 32-bit programs here (wine32 missing, or i386 programs run neither natively nor under qemu-i386; ./dev test sets up both)"
  fi
}
pass() { PASSES=$((PASSES + 1)); printf '  ok   %s\n' "$*"; }
# A failure also shows what the probe said on stderr since the last one.
fail() {
  FAILURES=$((FAILURES + 1))
  printf '  FAIL %s\n' "$*"
  if [ -s "${OUT:-}/probe-errors.log" ]; then
    tail -n 5 "$OUT/probe-errors.log" | sed 's/^/       probe: /'
    : >"$OUT/probe-errors.log"
  fi
}
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: expected [$2], got [$3]"; fi
}

# Grid text with a final "." so that the CR LF ends survive the command substitution.
cells() { probe cells "$@"; echo .; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# A scratch folder with the program and, unless the content is "-", a JWC_TEMP.TXT written in Shift-JIS.
new_case() {  # new_case NAME CONTENT
  CASE="$OUT/cases/$1"
  rm -rf "$CASE"
  mkdir -p "$CASE"
  cp "$EXE" "$CASE/"
  if [ "$2" != "-" ]; then printf '%s' "$2" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$CASE/JWC_TEMP.TXT"; fi
}

start_program() {  # start_program [WORKING_FOLDER]
  (cd "${1:-$CASE}" && exec "$WINE" "$CASE/jwcount.exe" >/dev/null 2>&1) &
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

# Clicks a control, at its centre or at X, Y inside it, with BUTTON (1 left, 3 right) (screen coordinates
# of the virtual desktop equal those of the X screen).
click_control() {  # click_control ID [X Y [BUTTON]]
  local x y w h
  read -r x y w h < <(probe rect "$1")
  xdotool mousemove $((x + ${2:-$((w / 2))})) $((y + ${3:-$((h / 2))})) click "${4:-1}"
  sleep 0.3
}

# Clicks the status line right of its buttons, at any width and DPI: the window takes the click, no
# control the focus.
click_status_line() {
  click_control 101 "$(($(probe rect 101 | cut -d' ' -f3) - 10))"
}

# Rests the mouse at X, Y inside a control.
hover_control() {  # hover_control ID X Y
  local x y w h
  read -r x y w h < <(probe rect "$1")
  xdotool mousemove $((x + $2)) $((y + $3))
  sleep 0.1
  xdotool mousemove $((x + $2 + 1)) $((y + $3))
}

keys() {
  xdotool windowfocus --sync "$(desktop_window)" 2>/dev/null || true
  xdotool key --delay 80 "$@"
  sleep 0.3
}

placement_of() { tr -d '\r' <"$CASE/jwcount.dat" | paste -sd' '; }
bytes_of() { od -An -tx1 "$1" | tr -d ' \n'; }
# A Windows path of a file of this machine (Wine's Z: drive is the root folder).
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# Waits up to 10 s for a file to appear.
wait_file() {
  local _
  for _ in $(seq 100); do [ -e "$1" ] && { sleep 0.3; return 0; }; sleep 0.1; done
  return 1
}

# True when the program's Save dialog can be tested: not for the 32-bit program under qemu-i386. There,
# about one dialog in six never opens: as the dialog starts Wine's RPC server thread, that thread and the
# program's own both wait for good (a race in Wine that the emulation's timing brings out; the 64-bit
# program, the same code, has not hung once).
save_dialog_testable() {
  ! emulated
}
# True for the 32-bit program run under qemu-i386, on a machine whose kernel cannot run it itself.
emulated() {
  [ "$LABEL" = x86 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null
}
# Counts a check left out for the 32-bit program under qemu-i386 and says why; SEE is the function whose
# comment explains it.
skip_emulated() {  # skip_emulated NAME WHY SEE
  SKIPPED=$((SKIPPED + 1))
  printf '  SKIP %s: %s under qemu-i386\n' "$1" "$2"
  printf '       (see %s); the 64-bit program covers it\n' "$3"
}
skip_save() {
  skip_emulated "$1" "the Save dialog of the 32-bit program hangs now and then" save_dialog_testable
}

# Checks the rows of tabs and that every tab shows whole. The probe reads the tabs' rectangles out of
# the program's memory; that of the 32-bit program under qemu-i386 cannot be read from outside (Wine
# reads it through the host kernel, which does not see the emulated program's addresses: every rectangle
# comes back as zeros), so there only the rows are checked, and the 64-bit program covers the rest.
check_tabs() {  # check_tabs NAME ROWS
  if emulated; then
    check "$1 (rows only)" "$2" "$(probe tab-rows)"
    skip_emulated "$1" "the tabs of the 32-bit program cannot be measured" check_tabs
  else
    check "$1" "$2 1" "$(probe tab-rows) $(probe tabs-fit)"
  fi
}

# The Save dialog: waits for it and checks the name it offers, then accepts it (Enter) or types another
# name first.
save_dialog() {  # save_dialog OFFERED_NAME [TYPED_NAME]
  local dialog
  dialog=$(probe dialog 20000) || { fail "the Save dialog did not open"; return 1; }
  if grep -q "^1148 Edit $1\$" <<<"$dialog"; then pass "Save dialog offers $1"; else fail "Save dialog: [$dialog]"; fi
  if [ -n "${2:-}" ]; then
    xdotool type --delay 60 "$2"
    sleep 0.3
  fi
  keys Return
}

SMALL_INPUT='0 0 100 0
0 0 0 100
100 0 100 100
ci 50 50 20
ci 50 50 20 0 1 1 0
pt 10 10'

REPLY_HEX=$(printf 'h#%s\r\n' "$(sjis '要素数をカウントしました')" | od -An -tx1 | tr -d ' \n')
WARNING='JWC_TEMP.TXT を最後まで読めませんでした。表示は読めた分の数です。'
FFFD=$(printf '\xef\xbf\xbd')
BOM=$(printf '\xef\xbb\xbf')

test_count_and_escape() {
  log "count, reply, texts, Escape"
  new_case count "$SMALL_INPUT"
  start_program || return
  wait_counted
  check "reply is the 28 bytes" "$REPLY_HEX" "$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')"
  check "window" "0 0 475 475|要素数表示|要素数表示 (jwcount)" "$(probe window | paste -sd'|')"
  check "Label1" "線データ数：3" "$(probe text 201)"
  check "Label2" "円・円弧・楕円・楕円弧データ数：2" "$(probe text 202)"
  check "Label4" "点データ数：1" "$(probe text 204)"
  check "Label13" "円環ソリッド図形データ数：0" "$(probe text 213)"
  check "tab captions" "Page(&1) Page(&2) Page(&3) Page(&4) Page(&5) Page(&6) Page(&7)" \
    "$(for i in 301 302 303 304 305 306 307; do probe text $i; done | paste -sd' ')"
  check "no short-read warning" "0 0" "$(probe visible 102) $(probe visible 214)"
  check "Button1" "閉じる(&C)" "$(probe text 1)"
  check "titles of pages 2 to 6" "レイヤグループ・レイヤ別 要素数|レイヤグループ別 要素数|線色別 要素数|線種別 要素数|線幅別 要素数" \
    "$(for i in 403 404 405 406 407; do probe text $i; done | paste -sd'|')"
  check "Memo1" "◆ブロック図形内のものは|　処理出来ませんので|　御注意下さい。|　ブロック編集内で行う|\
　場合には、本ソフトを|　Jw_cadのインストール・|　フォルダに配置して|　実行を行う必要がある|　場合があります。" \
    "$(probe text 220 | tr -d '\r' | paste -sd'|')"
  check "SG1 heads and first layer row" $'\t線\t円弧\t文字\t点\r\n0－0\t3\t2\t\t1\r\n.' "$(cells 1 0 0 4 1)"
  check "SG1 total row" $'合計\t3\t2\t0\t1\r\n.' "$(cells 1 0 289 4 289)"
  check "SG2 group 0" $'[0]\t3\t2\t0\t1\r\n.' "$(cells 2 0 1 4 1)"
  check "SG5 corner" $'線幅\r\n.' "$(cells 5 0 0 0 0)"
  check "copy puts the range on the clipboard" $'3\t2\r\n.' "$(probe copy 1 1 1 2 1; echo .)"
  check "no rules file: page 1's line, page 12's notice says where one goes, ルールを開く greyed" \
    "数量表: ルールファイルがありません|ルールファイルがありません: $(windows_path "$CASE/takeoff.csv")|jwcount.exe と同じフォルダ（$(windows_path "$CASE")）に takeoff.csv を置くか、「ルールを選ぶ…」でファイルを選んでください。例はプログラムの ZIP の example フォルダにあります。|0" \
    "$(probe text 219)|$(probe text 812 | tr -d '\r' | paste -sd'|')|$(probe enabled 901)"
  click_status_line
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
  click_status_line
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
  click_status_line
  keys alt+c
  finish_program
  check "placement after Alt+C" "100 50 475 200" "$(placement_of)"
}

test_close_before_count() {
  log "closing within the first 500 ms"
  new_case early "$SMALL_INPUT"
  local before
  before=$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')
  (cd "$CASE" && exec "$WINE" "$CASE/jwcount.exe" >/dev/null 2>&1) &
  APP_PID=$!
  check "texts before the count" "　|線データ数：" "$(probe close-at-once 30000 | paste -sd'|')"
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
  check "a missing file is no short read" "0" "$(probe visible 102)"
  probe close >/dev/null
  finish_program
}

# The BAT's second item starts the program with "/table": the window behaves as always, and its answer
# is byte for byte what jwcount-cli run --table writes on the same input (the notice, then the table).
test_table_answer() {
  log "the table answer (/table)"
  new_case table -
  mkdir -p "$CASE/cli"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/cli/"
  (cd "$CASE" && exec "$WINE" "$CASE/jwcount.exe" /table >/dev/null 2>&1) &
  APP_PID=$!
  probe wait 30000 || { fail "window did not appear"; return; }
  wait_counted
  probe close >/dev/null
  finish_program
  (cd "$CASE" && "$WINE" "$CLI_EXE" run cli --table >/dev/null 2>&1) || fail "jwcount-cli run --table failed"
  check "the window's answer is jwcount-cli's" "$(od -An -tx1 "$CASE/cli/JWC_TEMP.TXT" | tr -d ' \n')" \
    "$(od -An -tx1 "$CASE/JWC_TEMP.TXT" | tr -d ' \n')"
  check "the notice, then the table's 44 texts" "44" "$(grep -c '^ch ' "$CASE/JWC_TEMP.TXT")"
}

test_other_working_folder() {
  log "started from another working folder"
  new_case cwd "$SMALL_INPUT"
  local elsewhere="$OUT/cases/cwd-elsewhere"
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

# The prefix's DPI (the scale a user sets in Windows' display settings), taken up by the programs started
# after it; 96 is 100 %.
set_dpi() {  # set_dpi DPI
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  local key
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
  wineserver -w
  wineserver -p >/dev/null 2>&1 || true
}

# Page 1 in the smallest window the program opens at the DPI (475 x 200 pixels at 96 DPI, scaled): each
# label, the line of the checks, its link and the note shows whole, the labels scrolled line by line by
# their scroll bar where they are taller than the page (and back by the mouse wheel), and every line of
# the note can be read.
PAGE1_LINES="201 202 203 204 205 206 207 208 209 210 211 212 213 215 216 219 220"
page1_at_minimum() {  # page1_at_minimum DPI WIDTH
  local x y w h seen top last sw sh _
  keys alt+1
  probe resize "$2" $(((200 * $1 + 48) / 96)) && sleep 0.3
  read -r x y w h < <(probe rect 0)
  import -window root -crop "${w}x${h}+${x}+${y}" "$SHOTS/dpi$1-page1-min.png"
  seen=$(probe whole $PAGE1_LINES)
  last=$(probe rect 201)
  for _ in $(seq 40); do
    [ "$(probe visible 218)" = 1 ] || break
    read -r _ _ sw sh < <(probe rect 218)
    click_control 218 $((sw / 2)) $((sh - 3))  # the arrow down
    top=$(probe rect 201)
    [ "$top" = "$last" ] && break
    last=$top
    seen="$seen $(probe whole $PAGE1_LINES)"
  done
  import -window root -crop "${w}x${h}+${x}+${y}" "$SHOTS/dpi$1-page1-min-end.png"  # scrolled to the end
  check "$1 DPI, smallest window: every line of page 1 shows whole, scrolled to" "$PAGE1_LINES" \
    "$(tr ' ' '\n' <<<"$seen" | sort -un | paste -sd' ')"
  check "$1 DPI, smallest window: every line of the note can be read" 1 "$(probe lines-readable 220)"
  if [ "$(probe visible 218)" = 1 ]; then
    read -r x y _ _ < <(probe rect 201)
    xdotool mousemove $((x + 2)) $((y + 2)) click 4
    sleep 0.3
    check "$1 DPI, smallest window: the mouse wheel scrolls the labels back" 1 \
      "$(($(probe rect 201 | cut -d' ' -f2) > y))"
  fi
}

# At 96, 144 and 192 DPI (100, 150 and 200 %): the font, the controls, the grid's rows and the minimum
# window size grow with the DPI, every tab (in two rows, or one in a wide window) and every caption fits,
# and screenshots of pages 1, 2, 7, 8, 9, 10, 11 and 12 (the sample's take-off rules beside the program).
test_dpi() {
  log "high DPI: 96, 144 and 192 DPI (sample file)"
  local dpi previous=0 height label button memo shot width tall
  for dpi in 96 144 192; do
    set_dpi "$dpi"
    new_case "dpi$dpi" -
    cp "$HERE/../../examples/JWC_TEMP.TXT" "$HERE/../../examples/takeoff.csv" "$CASE/"
    printf '0\r\n0\r\n475\r\n475\r\n' >"$CASE/jwcount.dat"
    start_program || continue
    wait_counted
    click_status_line
    local scale=$((dpi * 100 / 96))
    read -r _ _ width tall < <(probe rect 0)
    check "$dpi DPI: the window at least 475 pixels wide at $scale %" 1 $((width >= 475 * dpi / 96))
    check_tabs "$dpi DPI: every tab whole, in two rows at the minimum width" 2
    if [ "$dpi" -le 96 ]; then  # from 144 DPI on the eleven tabs need more than the 1024 pixels of the desktop
      probe resize 1000 "$tall" && sleep 0.3
      check_tabs "$dpi DPI: in one row, whole, when widened to 1000 pixels" 1
      probe resize "$width" "$tall" && sleep 0.3
      check_tabs "$dpi DPI: in two rows again when narrowed" 2
    fi
    height=$(probe row-height 1)
    check "$dpi DPI: grid rows of 18 pixels at $scale %" $(((18 * dpi + 48) / 96)) "$height"
    check "$dpi DPI: grid rows grow with the DPI" 1 $((height > previous))
    previous=$height
    read -r _ _ _ label < <(probe rect 201)
    check "$dpi DPI: a grid row holds a line of the font" 1 $((height >= label))
    read -r _ _ _ button < <(probe rect 1)
    check "$dpi DPI: Button1 of 25 pixels at $scale %" $(((25 * dpi + 48) / 96)) "$button"
    # The longest summary caption ends before the note begins.
    read -r x _ w _ < <(probe rect 202)
    read -r memo _ _ _ < <(probe rect 220)
    check "$dpi DPI: the longest caption ends left of the note" 1 $((x + w <= memo))
    read -r x _ w _ < <(probe rect 215)
    check "$dpi DPI: the line of the checks ends left of the note" 1 $((x + w <= memo))
    local lx lw
    read -r lx _ lw _ < <(probe rect 216)
    check "$dpi DPI: the link to mark what the checks found ends left of the note" 1 $((lx + lw <= memo))
    read -r x _ w _ < <(probe rect 219)
    check "$dpi DPI: the line of the quantity sheet ends left of the note" 1 $((x + w <= memo))
    read -r x _ w button2 < <(probe rect 2)
    read -r lx _ lw _ < <(probe rect 1)
    check "$dpi DPI: the mark button right of Button1, of its height" "1 $button" "$((x >= lx + lw)) $button2"
    local bar_x bar_y bar_w bar_h xlsx_h
    read -r lx _ lw xlsx_h < <(probe rect 4)
    read -r bar_x bar_y bar_w bar_h < <(probe rect 100)
    check "$dpi DPI: the workbook's button right of the mark button, of its height, inside the bar" "1 $button 1" \
      "$((lx >= x + w)) $xlsx_h $((lx + lw <= bar_x + bar_w))"
    import -window root -crop "${bar_w}x${bar_h}+${bar_x}+${bar_y}" "$SHOTS/dpi$dpi-panel.png"
    local by bh my mh py
    read -r _ by _ bh < <(probe rect 3)
    read -r _ my _ mh < <(probe rect 220)
    read -r _ py _ _ < <(probe rect 100)
    check "$dpi DPI: the keep-baseline button under the note, as high as Button1, above the status bar" "1 $button 1" \
      "$((by >= my + mh)) $bh $((by + bh <= py))"
    read -r x y w h < <(probe rect 0)
    for page in 1 2 7 8 9 10 11 12; do
      if [ "$page" -ge 11 ]; then keys ctrl+Tab; else keys "alt+$((page % 10))"; fi  # pages 11, 12 have no Alt key
      check "$dpi DPI: page $page shown for its screenshot" 1 "$(probe visible $((300 + page)))"
      import -window root -crop "${w}x${h}+${x}+${y}" "$SHOTS/dpi$dpi-page$page.png"
    done
    check "$dpi DPI: page 12's title, links, notice and grid each show whole" "413 511 812 901 902 903" \
      "$(probe whole 413 511 812 901 902 903)"
    page1_at_minimum "$dpi" "$w"
    keys Escape
    finish_program
  done
  set_dpi 96
  pass "DPI screenshots in $SHOTS"
}

# At the window's design width of 521 pixels, where the twelve tabs take two rows.
test_screenshots() {
  log "screenshots of the twelve pages, of page 8's groupings and of the context menu (sample file)"
  new_case sample -
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$HERE/../../examples/takeoff.csv" "$CASE/"
  printf '0\r\n0\r\n521\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  click_status_line
  check_tabs "two rows of tabs, every tab whole" 2
  for page in 1 2 3 4 5 6 7 8 9 10 11 12; do
    if [ "$page" -ge 11 ]; then keys ctrl+Tab; else keys "alt+$((page % 10))"; fi
    if [ "$page" -eq 7 ]; then
      click_control 506 225 10 && click_control 506 225 10  # sorted by count, the most used first
    fi
    if [ "$page" -ge 2 ]; then click_control $((500 + page - 1)) 70 30; fi  # shows a selected cell
    import -window root -crop 521x480+0+0 "$SHOTS/page$page.png"
  done
  local grouping
  keys alt+8
  for grouping in 1 2 3 4 5; do
    click_control $((1800 + grouping))
    check "page 8 shown for its grouping $grouping" 1 "$(probe visible 308)"
    import -window root -crop 521x480+0+0 "$SHOTS/page8-grouping$grouping.png"
  done
  keys alt+7
  click_control 506 70 50 3
  probe menu 5000 || fail "no context menu for the screenshot"
  import -window root -crop 521x480+0+0 "$SHOTS/menu.png"
  keys Escape  # closes the menu
  pass "screenshots in $SHOTS"
  keys Escape
  finish_program
}

# Page 7: the block names in order of first appearance, names of any bytes, the total last; sorting by a
# click on a head and back by a second click.
test_block_page() {
  log "page 7: block names, odd bytes, sorting"
  new_case blocks -
  local long
  long=$(printf '\x8a\xbf%.0s' $(seq 15000))  # 漢 15,000 times: 30,000 bytes
  {
    printf 'BL 0 0 "%s\r\n' "$(sjis 便器)" "$(sjis 椅子)" "$(sjis 椅子)" "$(sjis 照明①)" "$(sjis 椅子)" \
      "$(sjis 照明①)" ""
    # A lead byte before a blank, a lead byte with no second byte of its code, one before DEL, half-width
    # katakana, then a name of 30,000 bytes.
    printf 'BL 0 0 "ab\x81 cd\r\nBL 0 0 "\x85\x40z\r\nBL 0 0 "x\x81\x7f\r\nBL 0 0 "\xb2\xbd\r\n'
    printf 'BL 0 0 "%s\r\n' "$long"
  } >"$CASE/JWC_TEMP.TXT"
  start_program || return
  wait_counted
  click_status_line
  keys alt+7
  check "page 7 shown by Alt+7" "1" "$(probe visible 307)"
  check "title of page 7" "ブロック名別 要素数" "$(probe text 408)"
  check "names in order of first appearance, every byte shown" \
    $'ブロック名\t数\r\n便器\t1\r\n椅子\t3\r\n照明①\t2\r\n\t1\r\n'"ab${FFFD} cd"$'\t1\r\n'"${FFFD}@z"$'\t1\r\n'"x${FFFD}"$'\x7f\t1\r\nｲｽ\t1\r\n.' \
    "$(cells 6 0 0 1 8)"
  check "the name of 30,000 bytes whole" "$(printf '漢%.0s' $(seq 15000))"$'\t1\r\n合計\t12\r\n.' "$(cells 6 0 9 1 -1)"
  import -window root -crop 475x475+0+0 "$SHOTS/page7-odd-names.png"
  click_control 506 225 10  # the head 数
  check "by count, ties in their first order" $'便器\r\n\r\n'"ab${FFFD} cd"$'\r\n'"${FFFD}@z"$'\r\n.' "$(cells 6 0 1 0 4)"
  check "largest counts last, total after them" $'照明①\t2\r\n椅子\t3\r\n合計\t12\r\n.' "$(cells 6 0 8 1 -1)"
  click_control 506 225 10
  check "a second click turns the order round" $'椅子\t3\r\n照明①\t2\r\n便器\t1\r\n.' "$(cells 6 0 1 1 3)"
  click_control 506 50 10  # the head ブロック名
  check "by name in JIS order (half-width katakana as full-width)" \
    $'\r\nab'"${FFFD}"$' cd\r\nx'"${FFFD}"$'\x7f\r\nｲｽ\r\n'"${FFFD}"$'@z\r\n椅子\r\n.' "$(cells 6 0 1 0 6)"
  check "kanji by reading, total last" $'照明①\r\n便器\r\n合計\r\n.' "$(cells 6 0 8 0 -1)"
  keys ctrl+Tab
  check "Ctrl+Tab from page 7 to page 8" "1" "$(probe visible 308)"
  keys ctrl+shift+Tab
  check "Ctrl+Shift+Tab back to page 7" "1" "$(probe visible 307)"
  keys Escape
  finish_program
}

# The rows of a "<table> 長さ・面積" section of jwcount-cli's report (in CLI_TEXT): with heads their row heads
# under the grouping's caption, "|"-separated; with most the row of the longest length (合計 left out), with
# total the 合計 row, its cells tab-separated as the grid shows them.
cli_quantities() {  # cli_quantities TABLE heads|most|total
  awk -v title="$1 長さ・面積" -v what="$2" '
    function cells() { return $1 "\t" (NF == 6 ? $2 : "") "\t" $(NF - 3) "\t" $(NF - 2) "\t" $(NF - 1) "\t" $NF }
    { sub(/\r$/, "") }
    $0 == title { on = 1; getline; sub(/\r$/, ""); if (what == "heads") print $1; next }
    on && NF == 0 { exit }
    on && what == "heads" { print $1 }
    on && what == "total" && $1 == "合計" { print cells() }
    on && what == "most" && $1 != "合計" && (best == "" || $(NF - 1) + 0 > most) { most = $(NF - 1) + 0; best = cells() }
    END { if (what == "most") print best }' "$CLI_TEXT" | paste -sd'|'
}

# Page 8 on the sample: under each of the five groupings the rows jwcount-cli reports, chosen by a click
# and by the arrow keys; the choices in the Tab key's order; a selection kept within the rows when they
# shrink; a sort by a head; and the CSV save with its figures in full.
test_quantity_page() {
  log "page 8: lengths and areas by five groupings, sorting, CSV save (sample file)"
  new_case quantities -
  mkdir -p "$CASE/drawings"
  {
    printf 'file=%s\r\n' "$(windows_path "$CASE/drawings/plan.jww")"
    tail -n +2 "$HERE/../../examples/JWC_TEMP.TXT"
  } >"$CASE/JWC_TEMP.TXT"
  CLI_TEXT="$CASE/cli.txt"
  (cd "$CASE" && "$WINE" "$CLI_EXE" count JWC_TEMP.TXT >"$CLI_TEXT" 2>/dev/null) || fail "jwcount-cli count failed"
  local total
  total=$(cd "$CASE" && "$WINE" "$CLI_EXE" count JWC_TEMP.TXT --format csv 2>/dev/null |
    awk -F, '$1 == "線種別 要素数" && $2 == "合計" && $4 == "長さ(mm)" { print $5 }')
  printf '0\r\n0\r\n560\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  click_status_line
  keys alt+8
  check "page 8 shown by Alt+8" "1" "$(probe visible 308)"
  check "title of page 8" "長さ・面積" "$(probe text 409)"
  check "five choices, by layer checked" "レイヤ:1 レイヤグループ:0 線色:0 線種:0 線幅:0" \
    "$(for id in 1801 1802 1803 1804 1805; do printf '%s:%s\n' "$(probe text $id)" "$(probe checked $id)"; done | paste -sd' ')"
  local tables=(レイヤグループ・レイヤ別 レイヤグループ別 線色別 線種別 線幅別)
  check "by layer: jwcount-cli's rows" "$(cli_quantities "${tables[0]}" heads)|." "$(cells 7 0 0 0 -1 | tr -d '\r' | paste -sd'|')"
  # The head 長さ計, after columns of 64, 88, 80 and 100 pixels, twice.
  click_control 507 380 10 && click_control 507 380 10
  check "by 長さ計, longest first" "$(cli_quantities "${tables[0]}" most)"$'\r\n.' "$(cells 7 0 1 5 1)"
  check "合計 stays last" $'合計\r\n.' "$(cells 7 0 -1 0 -1)"
  cells 7 0 -1 5 -1 >/dev/null  # the 合計 row of 24 layers and subtotals selected
  click_control 1802
  check "the selection held within the five rows left" "$(cli_quantities "${tables[1]}" total)"$'\r\n.' \
    "$(probe text 507 | head -c -1; echo .)"
  local grouping
  for grouping in 2 3 4 5; do
    click_control $((1800 + grouping))
    check "grouping $grouping: jwcount-cli's rows of ${tables[grouping - 1]}, unsorted" \
      "$(cli_quantities "${tables[grouping - 1]}" heads)|." "$(cells 7 0 0 0 -1 | tr -d '\r' | paste -sd'|')"
  done
  keys Right
  check "Right from the last choice: the first, chosen" "1801 1 レイヤ" \
    "$(probe focus) $(probe checked 1801) $(cells 7 0 0 0 0 | head -1 | tr -d '\r')"
  keys Left Left
  check "Left twice: the fourth, chosen" "1804 0 1 線種" \
    "$(probe focus) $(probe checked 1801) $(probe checked 1804) $(cells 7 0 0 0 0 | head -1 | tr -d '\r')"
  local order="" key
  for key in Tab shift+Tab shift+Tab Tab; do
    keys "$key"
    order+="$(probe focus) "
  done
  check "Tab order: page control, the chosen choice, grid" "507 1804 300 1804 " "$order"
  if ! save_dialog_testable; then
    skip_save "the CSV save of page 8"
    keys Escape
    finish_program
    return
  fi
  keys ctrl+s
  save_dialog "plan_長さ・面積.csv" || { probe close; finish_program; return; }
  local file="$CASE/drawings/plan_長さ・面積.csv"
  wait_file "$file" || fail "no CSV file of page 8 written"
  check "page 8's CSV: the heads of the grouping shown" "${BOM}線種,名前,線 (m),円・円弧 (m),長さ計 (m),ソリッド面積 (㎡)" \
    "$(head -1 "$file" | tr -d '\r')"
  check "one line per row of jwcount-cli's" "$(cli_quantities "${tables[3]}" heads | tr '|' '\n' | wc -l)" "$(grep -c $'\r$' "$file")"
  local saved
  saved=$(awk -F, '$1 == "合計" { print $5 }' "$file" | tr -d '\r')
  if [[ $saved =~ \.[0-9]{6,}$ ]] && awk -v m="$saved" -v mm="$total" 'BEGIN { d = m * 1000 - mm; exit !(d < 1e-6 && d > -1e-6) }'; then
    pass "the total length in full: $saved m (jwcount-cli: $total mm)"
  else
    fail "total length in the CSV: [$saved], jwcount-cli: [$total] mm"
  fi
  keys Escape
  finish_program
}

# The rows of jwcount-cli's 点検 section (in its text report FILE) as page 10's grid shows them,
# "|"-separated: the heads, then for each row the check (a kind under 重複 indented by a full-width blank),
# the count, the duplicates on their own layer and on another, and the layers, tab-separated.
cli_checks() {  # cli_checks FILE
  awk '
    { sub(/\r$/, "") }
    $0 == "点検" { on = 1; getline; sub(/\r$/, ""); gsub(/  +/, "\t"); print; next }
    !on { next }
    NF == 0 { exit }
    {
      indent = /^ /
      sub(/^ +/, "")
      label = $0; numbers = ""; layers = ""
      if (match($0, / +[0-9]+( +[0-9]+ +[0-9]+)?( +[0-9A-F]－[0-9A-F].*)?$/)) {
        label = substr($0, 1, RSTART - 1)
        numbers = substr($0, RSTART)
        if (match(numbers, /[0-9A-F]－/)) {
          layers = substr(numbers, RSTART)
          numbers = substr(numbers, 1, RSTART - 1)
        }
      }
      n = split(numbers, number, " ")
      print (indent ? "　" : "") label "\t" number[1] "\t" (n == 3 ? number[2] "\t" number[3] : "\t") "\t" layers
    }' "$1" | paste -sd'|'
}

# Tab-separated rows as the CSV save writes them, lines ending in LF: a field holding a comma or a double
# quote in double quotes.
tsv_to_csv() {
  awk -F'\t' -v OFS=, '{ $1 = $1; for (i = 1; i <= NF; ++i) if ($i ~ /[,"]/) { gsub(/"/, "\"\"", $i); $i = "\"" $i "\"" } print }'
}

# Page 1's line of the checks and pages 9 and 10 on the sample, which has repeated marks (WD1, AW-3), a
# line drawn again on another layer, lines of no length and empty texts: the line says what jwcount-cli
# reports and opens page 10 by a click and from the keyboard; page 9 holds jwcount-cli's texts, sorts by
# a head and saves them; page 10 holds jwcount-cli's checks and saves them. Then a drawing in which
# nothing is found, with a text that would start a formula.
test_check_pages() {
  log "page 1's line of the checks, pages 9 and 10 (sample file)"
  new_case checks -
  mkdir -p "$CASE/drawings"
  {
    printf 'file=%s\r\n' "$(windows_path "$CASE/drawings/plan.jww")"
    tail -n +2 "$HERE/../../examples/JWC_TEMP.TXT"
  } >"$CASE/JWC_TEMP.TXT"
  local text="$CASE/cli.txt" csv="$CASE/cli.csv" json line
  (cd "$CASE" && "$WINE" "$CLI_EXE" count JWC_TEMP.TXT >"$text" 2>/dev/null) || fail "jwcount-cli count failed"
  (cd "$CASE" && "$WINE" "$CLI_EXE" count JWC_TEMP.TXT --format csv >"$csv" 2>/dev/null) ||
    fail "jwcount-cli count --format csv failed"
  json=$(cd "$CASE" && "$WINE" "$CLI_EXE" count JWC_TEMP.TXT --format json 2>/dev/null | tr -d ' \r\n') ||
    fail "jwcount-cli count --format json failed"
  # The checks that found something, in the order of jwcount-cli's JSON.
  line=$(sed -n 's/.*"checks":{"duplicates":{"total":\([0-9]*\),.*"zero_length_lines":\([0-9]*\),"zero_radius":\([0-9]*\),"empty_texts":\([0-9]*\)}.*/\1 \2 \3 \4/p' <<<"$json" |
    awk '{ split("重複|長さ 0 の線|半径 0 の円・円弧|空の文字", label, "|")
           for (i = 1; i <= 4; ++i) if ($i > 0) s = s (s == "" ? "" : ", ") label[i] " " $i
           if (s != "") print "点検: " s }')
  [ -n "$line" ] || fail "jwcount-cli's JSON reports no check that found something: [${json: -300}]"
  printf '0\r\n0\r\n560\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  if probe wait-text 215 5000 "$(hex "$line")" >/dev/null; then
    pass "page 1's line of the checks: $line"
  else
    fail "page 1's line of the checks: [$(probe text 215)], jwcount-cli: [$line]"
  fi
  local y13 h13 y
  read -r _ y13 _ h13 < <(probe rect 213)
  read -r _ y _ _ < <(probe rect 215)
  check "the line shows, under the thirteen counts" "1 1" "$(probe visible 215) $((y >= y13 + h13))"
  click_control 215
  check "a click on it shows page 10 as Alt+0 does, the focus on the tabs" "1 0 300" \
    "$(probe visible 310) $(probe visible 301) $(probe focus)"
  keys alt+1 Tab
  check "Tab from the tabs reaches the line" "215" "$(probe focus)"
  import -window root -crop 560x480+0+0 "$SHOTS/page1-check-line-focused.png"
  keys space
  check "Space on it shows page 10 (Enter still closes the window)" "1 300" "$(probe visible 310) $(probe focus)"

  keys alt+9
  check "page 9 shown by Alt+9, its title" "1 文字列別 要素数" "$(probe visible 309) $(probe text 410)"
  local texts
  texts=$(awk -F, '$1 == "文字列別 要素数" { print ($2 == "合計" ? "合計" : $3) "\t" $5 }' "$csv" | tr -d '\r')
  check "page 9: jwcount-cli's texts in their first order, 合計 last" "文字列	数|$(paste -sd'|' <<<"$texts")|." \
    "$(cells 8 0 0 1 -1 | tr -d '\r' | paste -sd'|')"
  click_control 508 225 10  # the head 数
  check "a click on 数 sorts by count, ties in their first order, 合計 last" \
    "$(grep -v '^合計' <<<"$texts" | sort -t$'\t' -k2,2n -s | paste -sd'|')|$(grep '^合計' <<<"$texts")|." \
    "$(cells 8 0 1 1 -1 | tr -d '\r' | paste -sd'|')"
  if save_dialog_testable; then
    keys ctrl+s
    if save_dialog "plan_文字列.csv"; then
      wait_file "$CASE/drawings/plan_文字列.csv" || fail "no CSV file of page 9 written"
      check "page 9's CSV: the texts as sorted" "${BOM}$(cells 8 0 0 1 -1 | sed 's/\r$//; $d' | tsv_to_csv | paste -sd'|')" \
        "$(sed 's/\r$//' "$CASE/drawings/plan_文字列.csv" | paste -sd'|')"
    fi
  else
    skip_save "the CSV saves of pages 9 and 10"
  fi

  keys alt+0
  check "page 10 shown by Alt+0, its title" "1 点検" "$(probe visible 310) $(probe text 411)"
  check "page 10: jwcount-cli's checks" "$(cli_checks "$text")|." "$(cells 9 0 0 4 -1 | tr -d '\r' | paste -sd'|')"
  if save_dialog_testable; then
    keys ctrl+s
    if save_dialog "plan_点検.csv"; then
      wait_file "$CASE/drawings/plan_点検.csv" || fail "no CSV file of page 10 written"
      check "page 10's CSV: the checks with their layers" "${BOM}$(cells 9 0 0 4 -1 | sed 's/\r$//; $d' | tsv_to_csv | paste -sd'|')" \
        "$(sed 's/\r$//' "$CASE/drawings/plan_点検.csv" | paste -sd'|')"
    fi
  fi
  keys Escape
  finish_program

  new_case checks-none $'0 0 100 0\nch 0 0 1 0 "=SUM(1)'
  start_program || return
  wait_counted
  check "no line of the checks when nothing was found" "0" "$(probe visible 215)"
  click_status_line
  keys alt+0
  check "page 10 says nothing was found" "問題は見つかりませんでした" "$(probe cells 9 0 1 0 1 | tr -d '\r\n')"
  keys alt+9
  click_control 508 50 30  # the text
  keys ctrl+c
  check "Ctrl+C puts ' before a text that starts a formula" "'=SUM(1)" "$(probe clipboard | tr -d '\r\n')"
  keys Escape
  finish_program
}

# The centre of row ROW of a grid, in the grid's window: inside its edge, one row of 18 pixels and its line
# per row.
row_y() { echo $((2 + 19 * $1 + 9)); }

# Marks in the drawing (sample file): with nothing selected the command says so and the window stays;
# then rows selected on pages 10, 7 and 9 (重複, 椅子, WD1) and 印を付けて閉じる: the window closes as
# always (the placement saved) and its reply is byte for byte what jwcount-cli mark writes for the same
# rows on an untouched copy of the input. Page 1's link, reached by Tab and clicked, marks what the checks
# found, as jwcount-cli mark --checks does.
test_mark() {
  log "marks in the drawing: rows of pages 10, 7 and 9, then 印を付けて閉じる (sample file)"
  new_case mark -
  mkdir -p "$CASE/cli"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/cli/"
  (cd "$CASE/cli" && "$WINE" "$CLI_EXE" mark JWC_TEMP.TXT --block 椅子 --text WD1 --checks=duplicates \
    >"$CASE/cli-reply.txt" 2>/dev/null) || fail "jwcount-cli mark failed"
  printf '0\r\n0\r\n521\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  check "the mark button shown and usable after the count" "1 1 印を付けて閉じる(&M)" \
    "$(probe visible 2) $(probe enabled 2) $(probe text 2)"
  click_status_line
  click_control 2
  check "nothing selected: the status line says so, the window stays" "選んだ行に要素がありません 1" \
    "$(probe text 101) $(probe visible 0)"
  keys shift+Tab
  check "the mark button comes after Button1 for the Tab key" "1" "$(probe focus)"
  keys alt+0
  click_control 509 50 "$(row_y 1)"
  keys alt+7
  click_control 506 50 "$(row_y 2)"
  keys alt+9
  click_control 508 50 "$(row_y 5)"
  check "the rows selected: 重複, 椅子, WD1" "重複|椅子|WD1" \
    "$(for grid in 509 506 508; do probe text $grid | tr -d '\r\n'; echo; done | paste -sd'|')"
  import -window root -crop 521x480+0+0 "$SHOTS/mark-button.png"
  click_control 2
  finish_program
  check "the reply is jwcount-cli mark's" "$(bytes_of "$CASE/cli-reply.txt")" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  check "its notice, the rows in the pages' order" "h#印を付けました: 椅子 6, WD1 6, 重複 2" "$(head -1 "$CASE/JWC_TEMP.TXT" | iconv -f CP932 -t UTF-8 | tr -d '\r')"
  check "placement saved as on any close" "0 0 521 480" "$(placement_of)"

  new_case mark-checks -
  mkdir -p "$CASE/cli"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/cli/"
  (cd "$CASE/cli" && "$WINE" "$CLI_EXE" mark JWC_TEMP.TXT --checks >"$CASE/cli-reply.txt" 2>/dev/null) ||
    fail "jwcount-cli mark --checks failed"
  start_program || return
  wait_counted
  check "page 1's link to mark what the checks found" "1 印を付けて閉じる" "$(probe visible 216) $(probe text 216)"
  keys alt+1 Tab Tab
  check "Tab reaches it after the line of the checks" "216" "$(probe focus)"
  import -window root -crop 475x475+0+0 "$SHOTS/mark-link.png"
  click_control 216  # beside the last line of the line of the checks, which leaves the link its clicks
  finish_program
  check "the reply is jwcount-cli mark --checks's" "$(bytes_of "$CASE/cli-reply.txt")" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
}

# The drawing's baseline (sample file, then its next revision): Alt+K keeps the count in 基準 beside the
# program, the same file jwcount-cli count --baseline-out writes but for the time, and leaves the reply as
# it was; page 1's line and page 11 then say 基準と同じ. The revision's count is compared with it: page 11
# holds jwcount-cli diff's rows, its CSV save is that command's CSV byte for byte, and keeping again asks
# first. A baseline cut in half is said so on page 11 and left as it is, the count itself as before. A
# drawing never saved keeps nothing.
# Page 11's grid with no rows, as cells prints it: the heads, and the blank row a grid always keeps.
DIFF_HEADS=$'表\t行\t項目\t基準\t今回\t増減\r\n\t\t\t\t\t\r\n.'
test_baseline() {
  log "the drawing's baseline: kept by Alt+K, compared on page 11 (sample file and its revision)"
  new_case baseline -
  local revised="$HERE/../../examples/revised/JWC_TEMP.TXT"
  mkdir -p "$CASE/cli" "$CASE/cli-revised"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/" && cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/cli/"
  cp "$revised" "$CASE/cli-revised/"
  (cd "$CASE/cli" && "$WINE" "$CLI_EXE" count JWC_TEMP.TXT --baseline-out cli-baseline.json >/dev/null 2>&1) ||
    fail "jwcount-cli count --baseline-out failed"
  printf '0\r\n0\r\n521\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  check "before keeping: no line on page 1, the keep-baseline button usable" "0 1 基準として保存(&K)" \
    "$(probe visible 217) $(probe enabled 3) $(probe text 3)"
  check "page 11 says there is no baseline yet, above a grid of its heads alone" \
    "この図面の基準はまだありません。「基準として保存」で今回の拾い出しを基準にできます。|$DIFF_HEADS" \
    "$(probe text 811)|$(cells 10 0 0 5 -1)"
  click_status_line
  keys alt+k
  local kept
  for _ in $(seq 100); do
    kept=$(find "$CASE/基準" -name '1F平面図.jww_*.json' 2>/dev/null | head -1)
    [ -n "$kept" ] && break
    sleep 0.1
  done
  [ -n "$kept" ] || { fail "Alt+K kept no baseline in 基準"; probe close; finish_program; return; }
  check "kept as 基準/1F平面図.jww_<hash>.json, nothing else there" "1" "$(ls -A "$CASE/基準" | wc -l)"
  check "the kept file is jwcount-cli count --baseline-out's but for the time" \
    "$(grep -v '"time"' "$CASE/cli/cli-baseline.json" | md5sum)" "$(grep -v '"time"' "$kept" | md5sum)"
  if grep -Eq '"time":"[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}"' "$kept"; then
    pass "the time kept in ISO 8601 with its offset"
  else
    fail "time: [$(grep -o '"time":[^,]*' "$kept")]"
  fi
  check "keeping leaves the 28-byte reply" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  check "the status line, page 1's line and page 11 say 基準と同じ" "基準として保存しました|1 基準と同じ|基準と同じです。" \
    "$(probe text 101)|$(probe visible 217) $(probe text 217)|$(probe text 811 | tail -1)"
  check "page 11's notice: whose baseline; its grid the heads alone" "基準: |$DIFF_HEADS" \
    "$(probe text 811 | head -c 8)|$(cells 10 0 0 5 -1)"
  keys Escape
  finish_program

  # The revision, counted by the same program: the comparison with the baseline kept above.
  cp "$revised" "$CASE/JWC_TEMP.TXT"
  local expected="$CASE/cli-diff.csv" status=0
  (cd "$CASE" && "$WINE" "$CLI_EXE" diff "$(windows_path "$kept")" cli-revised/JWC_TEMP.TXT --format csv \
    >"$expected" 2>/dev/null) || status=$?
  check "jwcount-cli diff finds the revision differs (exit 7)" 7 "$status"
  local rows
  rows=$(($(grep -c $'\r$' "$expected") - 1))
  start_program || return
  wait_counted
  check "page 1's line: the rows that differ" "1 基準との差: $rows 行" "$(probe visible 217) $(probe text 217)"
  click_control 217
  check "a click on it shows page 11, the focus on the tabs" "1 0 300" \
    "$(probe visible 311) $(probe visible 301) $(probe focus)"
  check "page 11's title and notice" "基準との差|基準: " "$(probe text 412)|$(probe text 811 | head -c 8)"
  import -window root -crop 521x480+0+0 "$SHOTS/baseline-page11.png"
  # A copy guards a figure that starts with + or - with an apostrophe, as the CSV does.
  check "page 11: jwcount-cli diff's rows" "$(sed "1s/^$BOM//; s/\r\$//" "$expected" | paste -sd'|')" \
    "$(cells 10 0 0 5 -1 | sed 's/\r$//; $d' | tsv_to_csv | paste -sd'|')"
  keys alt+1
  import -window root -crop 521x480+0+0 "$SHOTS/baseline-page1.png"
  keys Tab Tab Tab Tab
  check "Tab reaches the line after the links of the checks and the line of the sheet; Space on it shows page 11" "217 1" \
    "$(probe focus) $(keys space; probe visible 311)"
  local before
  before=$(bytes_of "$kept")
  keys alt+k
  local question
  question=$(probe dialog 10000) || fail "no question before replacing the baseline"
  check "asks before replacing the kept baseline" "今回の集計で置き換えますか？" \
    "$(grep -o '今回の集計で置き換えますか？' <<<"$question")"
  keys n
  check "No keeps the old baseline" "$before" "$(bytes_of "$kept")"
  if save_dialog_testable; then
    keys ctrl+s
    if save_dialog "1F平面図_基準との差.csv"; then
      wait_file "$CASE/1F平面図_基準との差.csv" || fail "no CSV file of page 11 written"
      check "page 11's CSV is jwcount-cli diff --format csv's, byte for byte" "$(bytes_of "$expected")" \
        "$(bytes_of "$CASE/1F平面図_基準との差.csv")"
    fi
  else
    skip_save "the CSV save of page 11"
  fi
  local labels
  labels=$(for id in $(seq 201 213); do probe text "$id"; done | paste -sd'|')
  keys Escape
  finish_program
  check "the reply after the comparison" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"

  # The kept file cut in half: page 11 says so, the file stays as it is, the count is the same.
  head -c $(($(stat -c %s "$kept") / 2)) "$kept" >"$CASE/cut" && mv "$CASE/cut" "$kept"
  before=$(bytes_of "$kept")
  cp "$revised" "$CASE/JWC_TEMP.TXT"
  start_program || return
  wait_counted
  check "page 1's line: the baseline cannot be read" "1 基準を読めません" "$(probe visible 217) $(probe text 217)"
  check "page 11 says the file is cut, above a grid of its heads alone" \
    "基準のファイルが途中で切れています。もう一度「基準として保存」すると作り直せます。|$DIFF_HEADS" \
    "$(probe text 811)|$(cells 10 0 0 5 -1)"
  check "the count as before" "$labels" "$(for id in $(seq 201 213); do probe text "$id"; done | paste -sd'|')"
  click_status_line
  keys Escape
  finish_program
  check "the cut file left as it is" "$before" "$(bytes_of "$kept")"
  check "the reply as always" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"

  new_case baseline-unsaved "$SMALL_INPUT"
  start_program || return
  wait_counted
  click_status_line
  keys alt+k
  local message
  message=$(probe dialog 10000) || fail "no message for a drawing never saved"
  check "a drawing never saved: the message says so" "この図面はまだ保存されていないため、基準として保存できません。" \
    "$(grep -o 'この図面はまだ保存されていないため、基準として保存できません。' <<<"$message")"
  keys Return
  check "nothing kept" "0" "$(find "$CASE" -name '*.json' | wc -l)"
  keys Escape
  finish_program
}

# Page 1's line of the quantity sheet as jwcount-cli takeoff's CSV (FILE) gives it: the items, the total
# with thousands separators where an item is priced, and the elements no rule took.
cli_takeoff_line() {  # cli_takeoff_line FILE
  awk -F, '
    function grouped(n, s) { while (length(n) > 3) { s = "," substr(n, length(n) - 2) s; n = substr(n, 1, length(n) - 3) } return n s }
    { sub(/\r$/, "") }
    NR == 1 { next }
    $1 == "未割当" { unassigned += $9; next }
    $2 == "合計" { total = $7; next }
    $2 != "小計" { ++items }
    END { print "数量表: " items " 品目" (total == "" ? "" : ", 合計 ￥" grouped(total)) ", 未割当 " unassigned + 0 }' "$1"
}

# 工種, 品名, 数量 and 金額 of the rows of items, trades and the total, "|"-separated: from jwcount-cli
# takeoff's CSV (cli FILE), or as page 12's grid shows them (grid), with the separators of 金額 taken out.
sheet_figures() {  # sheet_figures cli FILE | sheet_figures grid
  if [ "$1" = cli ]; then sed "1s/^$BOM//" "$2" | tr ',' '\t'; else cells 11 0 0 11 -1 | sed '$d'; fi |
    awk -F'\t' '{ sub(/\r$/, ""); a = $7; gsub(/,/, "", a) } $1 != "未割当" { print $1 "/" $2 "/" $4 "/" a }' |
    paste -sd'|'
}

# jwcount-cli takeoff's CSV of the case's copy of the drawing (cli/JWC_TEMP.TXT) with the rules RULES (a
# path in the case folder), into cli/sheet.csv.
cli_sheet() {  # cli_sheet RULES
  (cd "$CASE" && "$WINE" "$CLI_EXE" takeoff cli/JWC_TEMP.TXT --rules "$1" --format csv >cli/sheet.csv 2>/dev/null) ||
    fail "jwcount-cli takeoff --rules $1 failed"
}

# The take-off (sample file, examples/takeoff.csv beside the program), after the reply: page 1's line and
# page 12 hold what jwcount-cli takeoff makes of the rules, page 12's CSV save is that command's CSV; a
# price changed in the file and F5 (the focus in the grid) make the sheet anew; a rules file chosen by
# ルールを選ぶ… is read and remembered beside the program, and a row of its sheet marks the elements
# jwcount-cli mark --item marks. A remembered file that has gone leaves takeoff.csv read, said so.
test_takeoff() {
  log "page 12: the quantity sheet of takeoff.csv, F5, ルールを選ぶ…, CSV save and marks (sample file)"
  new_case takeoff -
  mkdir -p "$CASE/cli" "$CASE/drawings" "$CASE/other"
  {
    printf 'file=%s\r\n' "$(windows_path "$CASE/drawings/plan.jww")"
    tail -n +2 "$HERE/../../examples/JWC_TEMP.TXT"
  } >"$CASE/JWC_TEMP.TXT"
  cp "$CASE/JWC_TEMP.TXT" "$CASE/cli/"
  cp "$HERE/../../examples/takeoff.csv" "$CASE/"
  local sheet="$CASE/cli/sheet.csv" rules
  cli_sheet takeoff.csv
  printf '0\r\n0\r\n640\r\n560\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  local line
  line=$(cli_takeoff_line "$sheet")
  if probe wait-text 219 10000 "$(hex "$line")" >/dev/null; then
    pass "page 1's line of the sheet: $line"
  else
    fail "page 1's line of the sheet: [$(probe text 219)], jwcount-cli: [$line]"
  fi
  check "the reply as always" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  import -window root -crop 640x560+0+0 "$SHOTS/takeoff-page1.png"
  click_control 219
  check "a click on the line shows page 12: its title and links" "1|数量表|ルールを開く 1|ルールを選ぶ…|読み直す (F5)" \
    "$(probe visible 312)|$(probe text 413)|$(probe text 901) $(probe enabled 901)|$(probe text 902)|$(probe text 903)"
  check "page 12's notice: the file read, the sheet in a line" "ルール: $(windows_path "$CASE/takeoff.csv")|${line#数量表: }" \
    "$(probe text 812 | tr -d '\r' | paste -sd'|')"
  import -window root -crop 640x560+0+0 "$SHOTS/takeoff-page12.png"
  local order="" _
  for _ in 1 2 3 4; do
    keys Tab
    order+="$(probe focus) "
  done
  check "Tab from the tabs: the three links, then the grid" "901 902 903 511 " "$order"
  check "page 12: jwcount-cli takeoff's 数量 and 金額" "$(sheet_figures cli "$sheet")" "$(sheet_figures grid)"
  if save_dialog_testable; then
    keys ctrl+s
    if save_dialog "plan_数量表.csv"; then
      wait_file "$CASE/drawings/plan_数量表.csv" || fail "no CSV file of page 12 written"
      check "page 12's CSV is jwcount-cli takeoff --format csv's, byte for byte" "$(bytes_of "$sheet")" \
        "$(bytes_of "$CASE/drawings/plan_数量表.csv")"
    fi
  else
    skip_save "the CSV save of page 12"
  fi

  # 椅子 at 13,000 instead of 12,500, saved as Excel saves it; F5 with the focus in the grid.
  sed -i 's/"12,500"/"13,000"/' "$CASE/takeoff.csv"
  cli_sheet takeoff.csv
  click_control 511 50 "$(row_y 1)"
  keys F5
  check "F5 reads the rules again: the status line, page 12's figures" "ルールを読み直しました|$(sheet_figures cli "$sheet")" \
    "$(probe text 101)|$(sheet_figures grid)"
  check "the 椅子 row follows the price" "家具/椅子/6/78000" "$(sheet_figures grid | tr '|' '\n' | grep /椅子/)"
  check "page 1's line follows" "$(cli_takeoff_line "$sheet")" "$(probe text 219)"

  if ! save_dialog_testable; then
    skip_emulated "ルールを選ぶ…" "the Open dialog of the 32-bit program hangs now and then" save_dialog_testable
    keys Escape
    finish_program
    return
  fi
  rules="$CASE/other/chairs.csv"
  printf '工種,品名,単位,種別,ブロック名,単価\r\n家具,椅子,脚,BLOCK,椅子,"9,800"\r\n' | iconv -f UTF-8 -t CP932 >"$rules"
  cli_sheet other/chairs.csv
  click_control 902
  probe dialog 20000 >/dev/null || { fail "the Open dialog did not open"; probe close; finish_program; return; }
  xdotool type --delay 60 "$(windows_path "$rules")"
  sleep 0.3
  keys Return
  wait_file "$CASE/takeoff-rules.txt" || fail "the choice was not remembered"
  check "the choice remembered beside the program: its path in UTF-8" "$(windows_path "$rules")" "$(tr -d '\r\n' <"$CASE/takeoff-rules.txt")"
  probe wait-text 219 10000 "$(hex "$(cli_takeoff_line "$sheet")")" >/dev/null || true
  check "the chosen file read: page 1's line, page 12's notice and figures" \
    "$(cli_takeoff_line "$sheet")|ルール: $(windows_path "$rules")|$(sheet_figures cli "$sheet")" \
    "$(probe text 219)|$(probe text 812 | head -1 | tr -d '\r')|$(sheet_figures grid)"
  (cd "$CASE" && "$WINE" "$CLI_EXE" mark cli/JWC_TEMP.TXT --rules other/chairs.csv --item 椅子 \
    >"$CASE/cli-reply.txt" 2>/dev/null) || fail "jwcount-cli mark --item failed"
  click_control 511 50 "$(row_y 1)"  # 椅子
  click_control 2
  finish_program
  check "a row of page 12 marks what jwcount-cli mark --item marks" "$(bytes_of "$CASE/cli-reply.txt")" \
    "$(bytes_of "$CASE/JWC_TEMP.TXT")"

  rm "$rules"
  cp "$CASE/cli/JWC_TEMP.TXT" "$CASE/"
  cli_sheet takeoff.csv
  start_program || return
  wait_counted
  probe wait-text 219 10000 "$(hex "$(cli_takeoff_line "$sheet")")" >/dev/null || fail "takeoff.csv not read"
  check "the chosen file gone: takeoff.csv read, the notice says so" \
    "選んだルールファイル $(windows_path "$rules") が見つからないため、takeoff.csv を読みました。" \
    "$(probe text 812 | head -1 | tr -d '\r')"
  keys Escape
  finish_program
}

# A damaged rules file: the reply is the plain one a count without rules writes, page 1's line and page
# 12's notice say how many errors there are, and page 12 lists them as jwcount-cli takeoff does.
test_takeoff_errors() {
  log "page 12: a rules file with errors (sample file)"
  new_case takeoff-errors -
  mkdir -p "$CASE/plain"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/"
  cp "$HERE/../../examples/JWC_TEMP.TXT" "$CASE/plain/"
  printf '工種,品名,単位,種別,単価,数量元\r\n家具,椅子,脚,BLOCK,abc,\r\n家具,机,脚,机,1,重さ\r\n' |
    iconv -f UTF-8 -t CP932 >"$CASE/takeoff.csv"
  local status=0
  (cd "$CASE" && "$WINE" "$CLI_EXE" takeoff JWC_TEMP.TXT --rules takeoff.csv --format csv >cli-errors.csv \
    2>/dev/null) || status=$?
  check "jwcount-cli takeoff finds the errors (exit 2)" 2 "$status"
  (cd "$CASE" && "$WINE" "$CLI_EXE" run plain >/dev/null 2>&1) || fail "jwcount-cli run failed"
  printf '0\r\n0\r\n521\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  probe wait-text 219 10000 "$(hex '数量表: ルールに誤りが 3 件')" >/dev/null ||
    fail "page 1's line: [$(probe text 219)]"
  check "the reply is that of a count without rules" "$(bytes_of "$CASE/plain/JWC_TEMP.TXT")" \
    "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  click_status_line
  keys ctrl+shift+Tab  # from page 1 to the last page; at this size the line lies under the fold
  check "page 12 shown" 1 "$(probe visible 312)"
  import -window root -crop 521x480+0+0 "$SHOTS/takeoff-errors-page12.png"
  check "page 12's notice: the errors, nothing applied, F5 after mending" \
    "ルール: $(windows_path "$CASE/takeoff.csv")|ルールに誤りが 3 件あるため、何も適用していません。行・列・理由は下の表のとおりです。|直して保存したら、F5 で読み直せます。" \
    "$(probe text 812 | tr -d '\r' | paste -sd'|')"
  check "page 12 lists the errors as jwcount-cli takeoff does" "$(sed "1s/^$BOM//; s/\r\$//" "$CASE/cli-errors.csv" | paste -sd'|')" \
    "$(cells 11 0 0 2 -1 | sed 's/\r$//; $d' | tsv_to_csv | paste -sd'|')"
  keys Escape
  finish_program
  check "the reply after closing" "$(bytes_of "$CASE/plain/JWC_TEMP.TXT")" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
}

# Resting the mouse on a row head of pages 2 and 3 shows the name of the layer or layer group.
test_row_tips() {
  log "layer names as tips on the row heads of pages 2 and 3"
  new_case tips $'lg0\nlgn1階\nly3\nlyn壁\n0 0 100 0\nly4\n0 0 100 0'
  printf '0\r\n0\r\n475\r\n560\r\n' >"$CASE/jwcount.dat"  # tall enough for row 0－計 below two rows of tabs
  start_program || return
  wait_counted
  click_status_line
  keys alt+2
  hover_control 501 22 $((2 + 19 * 4 + 9))  # 0－3
  check "tip of 0－3" "壁" "$(probe tooltip 5000)"
  hover_control 501 22 $((2 + 19 * 5 + 9))  # 0－4: a layer without a name
  check "no tip for a layer without a name" "" "$(probe tooltip 1500)"
  hover_control 501 22 $((2 + 19 * 17 + 9))  # 0－計
  check "tip of 0－計" "1階" "$(probe tooltip 5000)"
  check "the row heads stay as they are" $'0－3\t1\r\n.' "$(cells 1 0 4 1 4)"
  keys alt+3
  hover_control 502 22 $((2 + 19 + 9))  # [0]
  check "tip of [0]" "1階" "$(probe tooltip 5000)"
  keys Escape
  finish_program
}

# The context menu on a grid, and the CSV save through the Save dialog into the drawing's folder.
test_menu_and_save() {
  log "context menu, Ctrl+S and CSV files"
  new_case save -
  mkdir -p "$CASE/drawings"
  {
    printf 'file=%s\r\n' "$(windows_path "$CASE/drawings/plan.jww")"
    tail -n +2 "$HERE/../../examples/JWC_TEMP.TXT"
  } >"$CASE/JWC_TEMP.TXT"
  printf '0\r\n0\r\n560\r\n480\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  local table=$'ブロック名\t数\r\n便器\t1\r\n椅子\t6\r\n照明①\t3\r\n流し台\t1\r\n浴槽\t1\r\n合計\t12\r\n'
  click_status_line
  keys alt+7
  click_control 506 60 30 3
  if probe menu 5000; then pass "right click opens the menu"; else fail "no context menu"; fi
  keys a
  check "すべて選択 selects the whole list" "$table." "$(probe text 506 | head -c -1; echo .)"
  click_control 506 60 30 3
  probe menu 5000 || true
  keys c
  check "コピー copies it" "$table." "$(probe clipboard; echo .)"
  if ! save_dialog_testable; then
    skip_save "the CSV saves of pages 7 and 1"
    keys Escape
    finish_program
    return
  fi
  click_control 506 60 30 3
  probe menu 5000 || true
  keys s
  save_dialog "plan_要素数.csv" "page7.csv" || { probe close; finish_program; return; }
  wait_file "$CASE/drawings/page7.csv" || fail "no CSV file written"
  check "page 7 as CSV" "$(printf '%s' "${BOM}ブロック名,数"$'\r\n便器,1\r\n椅子,6\r\n照明①,3\r\n流し台,1\r\n浴槽,1\r\n合計,12\r\n' | od -An -tx1 | tr -d ' \n')" \
    "$(bytes_of "$CASE/drawings/page7.csv")"
  keys alt+1 ctrl+s
  save_dialog "plan_要素数.csv" || { probe close; finish_program; return; }
  wait_file "$CASE/drawings/plan_要素数.csv" || fail "no CSV file of page 1 written"
  check "page 1 as CSV, in the drawing's folder under its name" "${BOM}種類,数|線データ,155|\
円・円弧・楕円・楕円弧データ,15|文字データ,25|点データ,6|点マーカデータ,6|寸法図形データ,6|ブロックデータ,12|\
線形ソリッド図形データ,3|三角形ソリッド図形データ,6|四角形ソリッド図形データ,6|円ソリッド図形データ,15|\
円周ソリッド図形データ,3|円環ソリッド図形データ,6|" "$(sed 's/\r$//' "$CASE/drawings/plan_要素数.csv" | paste -sd'|')|"
  check "page 1's CSV ends its lines in CR LF" "14" "$(grep -c $'\r$' "$CASE/drawings/plan_要素数.csv")"
  check "no other file in the folder" "page7.csv plan_要素数.csv" "$(ls "$CASE/drawings" | sort | paste -sd' ')"
  check "saving leaves the reply" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  check "saving leaves the placement file" "0 0 560 480" "$(placement_of)"
  keys Escape
  finish_program
  check "reply after saving and Escape" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  check "placement after saving and Escape" "0 0 560 480" "$(placement_of)"
}

# Two workbooks read back with openpyxl: the first line names OURS's sheets in order; then each sheet named
# (every sheet of THEIRS when none is, the sheets then the same), which both must have, is compared cell by
# cell, as written (texts, numbers, formulas) and as a reader that does not calculate shows it; the rows of
# 情報 whose value changes from one making to the next (日時, ルールファイル) are printed as "ITEM VALUE" of
# OURS instead. Exit 1 and the first differences when they differ.
same_workbooks() {  # same_workbooks OURS THEIRS [SHEET...]
  /usr/bin/python3 - "$@" <<'EOF'
import sys
import openpyxl

ours_path, theirs_path, named = sys.argv[1], sys.argv[2], sys.argv[3:]
loose = {"日時", "ルールファイル"}


def sheets(path):
    written, shown = (openpyxl.load_workbook(path, data_only=d) for d in (False, True))
    return {name: list(zip(written[name].iter_rows(values_only=True), shown[name].iter_rows(values_only=True)))
            for name in written.sheetnames}, written.sheetnames


ours, order = sheets(ours_path)
theirs, their_order = sheets(theirs_path)
print(" ".join(order))
differences = []
if not named:
    named = their_order
    if order != their_order:
        differences.append(f"sheets: {order} against {their_order}")
for name in named:
    if name not in ours or name not in theirs:
        differences.append(f"{name}: missing")
        continue
    mine, other = ours[name], theirs[name]
    if len(mine) != len(other):
        differences.append(f"{name}: {len(mine)} rows against {len(other)}")
    for number, (row, their_row) in enumerate(zip(mine, other), 1):
        if name == "情報" and row[0][0] in loose:
            print(row[0][0], row[0][1])
        elif row != their_row:
            differences.append(f"{name}: row {number}: {row} against {their_row}")
if differences:
    print("\n".join(differences[:5]))
    sys.exit(1)
EOF
}

# After the Save dialog: its question whether to replace the file, answered Yes, then the program's
# message, printed as the probe prints a dialog, when one comes within 10 s.
replace_and_message() {
  local dialog
  for _ in 1 2 3; do
    dialog=$(probe dialog 10000) || return 0
    if [ "$(head -1 <<<"$dialog")" = "要素数表示" ]; then
      printf '%s\n' "$dialog"
      return 0
    fi
    keys y
  done
}

# The case's JWC_TEMP.TXT: the drawing FILE (a path of this machine) in its file= line, then the elements
# of the exchange file SOURCE.
drawing_at() {  # drawing_at FILE SOURCE
  {
    printf 'file=%s\r\n' "$(windows_path "$1")" | iconv -f UTF-8 -t CP932
    tail -n +2 "$2"
  } >"$CASE/JWC_TEMP.TXT"
}

# Excelに保存 (sample file, the example rules beside the program, the drawing in a folder of a Japanese
# name): Ctrl+E saves through the Save dialog the workbook jwcount-cli count --format xlsx --rules writes,
# sheet for sheet, into the drawing's folder, nothing else left there; the grids' menu saves it again onto
# the file while Excel holds that open, which is said so and leaves the file as it was; with a kept
# baseline, the button saves the revision's workbook with 基準との差 as jwcount-cli diff --format xlsx
# writes it.
test_workbook() {
  log "Excelに保存: Ctrl+E, the grids' menu onto a file Excel holds open, the button with a kept baseline"
  new_case workbook -
  local folder="$CASE/図面" compared before held message kept sheets
  local saved="$CASE/図面/1F平面図_jwcount.xlsx"
  mkdir -p "$folder" "$CASE/cli"
  drawing_at "$folder/1F平面図.jww" "$HERE/../../examples/JWC_TEMP.TXT"
  cp "$CASE/JWC_TEMP.TXT" "$CASE/cli/"
  cp "$HERE/../../examples/takeoff.csv" "$CASE/"
  (cd "$CASE" && "$WINE" "$CLI_EXE" count cli/JWC_TEMP.TXT --rules takeoff.csv --format xlsx \
    --output cli/count.xlsx >/dev/null 2>&1) || fail "jwcount-cli count --format xlsx failed"
  printf '0\r\n0\r\n640\r\n560\r\n' >"$CASE/jwcount.dat"
  start_program || return
  wait_counted
  check "the workbook's button after the count" "Excelに保存 1 1" \
    "$(probe text 4) $(probe visible 4) $(probe enabled 4)"
  if ! save_dialog_testable; then
    skip_save "the workbook's saves"
    keys Escape
    finish_program
    return
  fi
  click_status_line
  keys ctrl+e
  save_dialog "1F平面図_jwcount.xlsx" || { probe close; finish_program; return; }
  wait_file "$saved" || fail "no workbook written"
  probe wait-text 101 10000 "$(hex 'Excel ファイルに保存しました')" >/dev/null ||
    fail "the status line after the save: [$(probe text 101)]"
  import -window root -crop 640x560+0+0 "$SHOTS/workbook-saved.png"
  if compared=$(same_workbooks "$saved" "$CASE/cli/count.xlsx"); then
    pass "the workbook holds jwcount-cli count --format xlsx --rules's sheets: $(head -1 <<<"$compared")"
  else
    fail "the workbook against jwcount-cli's: $compared"
  fi
  check "情報: the rules file the window read" "ルールファイル $(windows_path "$CASE/takeoff.csv")" \
    "$(grep '^ルールファイル ' <<<"$compared")"
  if grep -Eq '^日時 [0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}$' <<<"$compared"; then
    pass "情報: the local time with its offset"
  else
    fail "情報's time: [$(grep '^日時' <<<"$compared")]"
  fi
  check "nothing else in the drawing's folder" "1F平面図_jwcount.xlsx" "$(ls -A "$folder" | paste -sd' ')"
  check "saving leaves the reply" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"

  # The grids' menu, onto the workbook while Excel holds it open.
  before=$(md5sum <"$saved")
  : >"$OUT/kept.out"
  probe keep-open "$(windows_path "$saved")" 120000 >"$OUT/kept.out" &
  held=$!
  for _ in $(seq 300); do grep -q held "$OUT/kept.out" 2>/dev/null && break; sleep 0.1; done
  grep -q held "$OUT/kept.out" || fail "the workbook was not held open within 30 s"
  keys alt+7
  click_control 506 60 30 3
  probe menu 5000 || fail "no context menu"
  import -window root -crop 640x560+0+0 "$SHOTS/workbook-menu.png"
  keys e
  save_dialog "1F平面図_jwcount.xlsx" || { probe close; finish_program; return; }
  message=$(replace_and_message)
  import -window root -crop 800x600+0+0 "$SHOTS/workbook-held.png"
  check "a workbook Excel holds open: the message names it and says to close it there" \
    "Excel ファイルを保存できませんでした。|$(windows_path "$saved")|Excel でこのファイルを閉じてから、もう一度保存してください。" \
    "$(grep -o 'Excel ファイルを保存できませんでした。' <<<"$message")|$(grep -oF "$(windows_path "$saved")" <<<"$message")|$(grep -o 'Excel でこのファイルを閉じてから、もう一度保存してください。' <<<"$message")"
  keys Return
  check "the file held open stays as it was, nothing else left" "$before|1F平面図_jwcount.xlsx" \
    "$(md5sum <"$saved")|$(ls -A "$folder" | paste -sd' ')"
  check "the status line says it was not saved" "Excel ファイルを保存できませんでした。" "$(probe text 101)"
  keys alt+k
  for _ in $(seq 100); do
    kept=$(find "$CASE/基準" -name '*.json' 2>/dev/null | head -1)
    [ -n "$kept" ] && break
    sleep 0.1
  done
  [ -n "$kept" ] || fail "Alt+K kept no baseline"
  keys Escape
  finish_program
  wait "$held" || true

  # The revision, compared with the baseline kept above: the button saves 基準との差 with the rest.
  drawing_at "$folder/1F平面図.jww" "$HERE/../../examples/revised/JWC_TEMP.TXT"
  cp "$CASE/JWC_TEMP.TXT" "$CASE/cli/revised.txt"
  (cd "$CASE" && "$WINE" "$CLI_EXE" diff "$(windows_path "$kept")" cli/revised.txt --rules takeoff.csv \
    --format xlsx --output cli/diff.xlsx >/dev/null 2>&1) || true  # exit 7: they differ
  (cd "$CASE" && "$WINE" "$CLI_EXE" count cli/revised.txt --rules takeoff.csv --format xlsx \
    --output cli/revised.xlsx >/dev/null 2>&1) || fail "jwcount-cli count --format xlsx of the revision failed"
  start_program || return
  wait_counted
  click_control 4
  save_dialog "1F平面図_jwcount.xlsx" || { probe close; finish_program; return; }
  check "the file replaced without a message" "" "$(replace_and_message)"
  probe wait-text 101 10000 "$(hex 'Excel ファイルに保存しました')" >/dev/null ||
    fail "the status line after the save: [$(probe text 101)]"
  check "the focus back on the button, which comes after the mark button for the Tab key" "4 2" \
    "$(probe focus) $(keys shift+Tab; probe focus)"
  sheets=$(same_workbooks "$CASE/cli/revised.xlsx" "$CASE/cli/revised.xlsx") || fail "jwcount-cli's workbook unread"
  sheets=${sheets%%$'\n'*}
  if compared=$(same_workbooks "$saved" "$CASE/cli/diff.xlsx" 基準との差); then
    pass "基準との差 as jwcount-cli diff --format xlsx writes it"
  else
    fail "基準との差 against jwcount-cli diff's: $compared"
  fi
  check "the sheets: the count's, 基準との差 before 数量表" "${sheets/ 数量表/ 基準との差 数量表}" \
    "$(head -1 <<<"$compared")"
  check "nothing else in the drawing's folder" "1F平面図_jwcount.xlsx" "$(ls -A "$folder" | paste -sd' ')"
  keys Escape
  finish_program
}

# A save into a folder that refuses writing: the message, nothing left behind, the old file kept.
test_save_refused() {
  log "CSV save into a read-only folder"
  new_case refuse -
  if ! save_dialog_testable; then
    skip_save "the save into a read-only folder"
    return
  fi
  local folder="$CASE/refuse"
  mkdir -p "$folder"
  printf 'old\r\n' >"$folder/plan_要素数.csv"
  # A read-only bind mount refuses writing even to root.
  if ! { mount --bind "$folder" "$folder" 2>/dev/null && MOUNTS+=("$folder") &&
    mount -o remount,bind,ro "$folder" 2>/dev/null; }; then
    SKIPPED=$((SKIPPED + 1))
    printf '  SKIP the save into a refusing folder: no read-only bind mount here (needs root and mount)\n'
    return
  fi
  { printf 'file=%s\r\n' "$(windows_path "$folder/plan.jww")"; sjis "$SMALL_INPUT" | sed 's/$/\r/'; } \
    >"$CASE/JWC_TEMP.TXT"
  start_program || return
  wait_counted
  click_status_line
  keys ctrl+s
  save_dialog "plan_要素数.csv" || { finish_program; release_mounts; return; }
  local message=""
  for _ in 1 2 3; do
    message=$(probe dialog 10000) || break
    if [ "$(head -1 <<<"$message")" = "要素数表示" ]; then break; fi
    keys y  # replace the existing file: yes
    message=""
  done
  import -window root -crop 800x600+0+0 "$SHOTS/save-failed.png"
  check "the message says so" "CSV ファイルを保存できませんでした。" \
    "$(grep -o 'CSV ファイルを保存できませんでした。' <<<"$message")"
  if grep -qF "$(windows_path "$folder/plan_要素数.csv")" <<<"$message" &&
    [ "$(grep -c . <<<"$message")" -ge 5 ]; then
    pass "the message names the file and the system's reason"
  else
    fail "message: [$message]"
  fi
  keys Return
  check "the old file stays as it was" "old" "$(tr -d '\r' <"$folder/plan_要素数.csv")"
  check "nothing left behind" "plan_要素数.csv" "$(ls -A "$folder" | paste -sd' ')"
  keys Escape
  finish_program
  check "reply after the failed save" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
  release_mounts
}

# A JWC_TEMP.TXT that is there but cannot be read to its end: the warning beside the status line and on
# page 1, and first in the CSV file; the status texts and the reply as always.
test_short_read() {
  log "short read: JWC_TEMP.TXT held open by another program"
  new_case held "$SMALL_INPUT"
  : >"$OUT/held.out"  # not the word of an earlier run
  probe hold "$(windows_path "$CASE/JWC_TEMP.TXT")" 60000 >"$OUT/held.out" &
  local holder=$!
  # A Wine process may take long to start on a loaded machine: the program must not start before the
  # file is held.
  for _ in $(seq 300); do grep -q held "$OUT/held.out" 2>/dev/null && break; sleep 0.1; done
  grep -q held "$OUT/held.out" 2>/dev/null || { fail "JWC_TEMP.TXT was not held within 30 s"; return; }
  start_program || return
  wait "$holder" || true
  wait_counted
  check "warning in the status panel" "$WARNING" "$(probe text 102)"
  check "warning shown there and on page 1" "1 1" "$(probe visible 102) $(probe visible 214)"
  check "warning text on page 1" "$WARNING" "$(probe text 214)"
  check "status line as always" "要素数をカウントしました" "$(probe text 101)"
  check "nothing counted" "線データ数：0" "$(probe text 201)"
  import -window root -crop 475x475+0+0 "$SHOTS/short-read.png"
  click_status_line
  if save_dialog_testable; then
    keys ctrl+s
    if save_dialog "要素数.csv"; then
      wait_file "$CASE/要素数.csv" || fail "no CSV file written"
      check "the CSV file starts with the warning" "${BOM}${WARNING}|種類,数|線データ,0" \
        "$(head -3 "$CASE/要素数.csv" | tr -d '\r' | paste -sd'|')"
    fi
  else
    skip_save "the warning in the CSV file"
  fi
  keys Escape
  finish_program
  check "reply as always" "$REPLY_HEX" "$(bytes_of "$CASE/JWC_TEMP.TXT")"
}

# A read that fails part way: JWC_TEMP.TXT on a disk whose end has gone (a loop device over an image
# cut short), so the system's read fails with an I/O error after the first 1.2 MB.
test_partial_read() {
  log "short read: an I/O error part way through JWC_TEMP.TXT"
  new_case partial -
  local disk="$CASE/disk"
  mkdir -p "$disk/mnt"
  truncate -s 16M "$disk/image"
  if ! { command -v filefrag >/dev/null && mkfs.ext4 -q -F -b 4096 "$disk/image" >/dev/null 2>&1 &&
    mount -o loop,errors=continue "$disk/image" "$disk/mnt" 2>/dev/null && MOUNTS+=("$disk/mnt"); }; then
    SKIPPED=$((SKIPPED + 1))
    printf '  SKIP the read that fails part way: no loop mount here (needs root, e2fsprogs and loop devices)\n'
    return
  fi
  seq 1 100000 | sed 's/^/ci 0 0 /; s/$/\r/' >"$disk/mnt/JWC_TEMP.TXT"  # 1.4 MB
  sync
  local start
  start=$(filefrag -v "$disk/mnt/JWC_TEMP.TXT" | awk '$1 == "0:" { sub(/\.\..*/, "", $4); print $4 }') || true
  # Mounted again so that nothing of the file stays in memory, then the image is cut 300 blocks into it.
  umount "$disk/mnt" && mount -o loop,errors=continue "$disk/image" "$disk/mnt"
  truncate -s $(((${start:-0} + 300) * 4096)) "$disk/image"
  ln -s "$disk/mnt/JWC_TEMP.TXT" "$CASE/JWC_TEMP.TXT"
  if start_program; then
    wait_counted
    check "warning in the status panel" "$WARNING" "$(probe text 102)"
    check "warning on page 1" "1" "$(probe visible 214)"
    local count
    count=$(probe text 202 | sed 's/.*：//') || true
    if [ "${count:-0}" -gt 0 ] 2>/dev/null && [ "$count" -lt 100000 ]; then
      pass "the circles read before the error counted ($count of 100000)"
    else
      fail "circles counted: [$count]"
    fi
    probe close >/dev/null
    finish_program
  fi
  release_mounts
}

# 100,000 distinct block names: page 7 at once, and each sort well under a second.
test_many_blocks() {
  log "page 7 with 100,000 block names"
  new_case manyblocks -
  seq 99999 -1 0 | awk '{ printf "BL 0 0 \"block%06d\r\n", $1 }' >"$CASE/JWC_TEMP.TXT"
  start_program || return
  probe wait-text 101 60000 "$(hex '要素数をカウントしました')" >/dev/null || fail "the count did not finish"
  click_status_line
  local t0 t1
  t0=$(date +%s%N)
  keys alt+7
  check "page 7 shows the total" $'合計\t100000\r\n.' "$(cells 6 0 -1 1 -1)"
  t1=$(date +%s%N)
  local ms=$(((t1 - t0) / 1000000))
  if [ "$ms" -lt 3000 ]; then pass "page 7 open and read back in $ms ms"; else fail "page 7 took $ms ms"; fi
  local column sort
  for column in 50:name 225:count; do
    sort=$(probe click 506 "${column%%:*}" 10) || sort=99999
    if [ "$sort" -lt 1000 ]; then pass "sort by ${column#*:} in $sort ms"; else fail "sort by ${column#*:}: $sort ms"; fi
  done
  check "sorted by count, ties in their first order" $'block099999\r\nblock099998\r\n.' "$(cells 6 0 1 0 2)"
  sort=$(probe click 506 50 10) || sort=99999
  check "sorted by name" $'block000000\r\nblock000001\r\n.' "$(cells 6 0 1 0 2)"
  if [ "$sort" -lt 1000 ]; then pass "sort by name in $sort ms"; else fail "sort by name: $sort ms"; fi
  probe close >/dev/null
  finish_program
}

# The program as built: a GUI program that needs no DLL beyond those of Windows; the 32-bit one may use
# more than 2 GiB of address space.
test_program_file() {
  log "the program file"
  local headers
  headers=$(x86_64-w64-mingw32-objdump -p "$EXE")
  check "GUI subsystem" "(Windows GUI)" "$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p' <<<"$headers")"
  check "only Windows DLLs" "comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll" \
    "$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort | paste -sd' ')"
  if [ "$1" = x86 ]; then
    if grep -q '^[[:space:]]*large address aware' <<<"$headers"; then
      pass "large-address-aware"
    else
      fail "not large-address-aware"
    fi
  fi
}

# All cases on the program of one build, in WORK/x64 or WORK/x86; PROBE_BUILD is the build whose probe
# reads the window.
test_build() {  # test_build BUILD_FOLDER PROBE_BUILD
  local label
  label=$(pe_machine "$1/app/win32/jwcount.exe")
  use_build "$1" "$label" "$2"
  release_mounts  # left over from a run that was killed
  log "$label: $EXE"
  test_program_file "$label"
  if [ "$label" = x86 ] && ! runs_32bit; then
    SKIPPED=$((SKIPPED + 1))
    UNTESTED_32BIT=1
    printf '  SKIP the window of the 32-bit program: %s\n' "$(why_no_32bit)"
    return
  fi
  if ! program_starts; then
    # A prefix made before wine32 was installed, or damaged: make it anew, once.
    make_prefix
    program_starts || { fail "$label programs do not start under Wine"; return; }
  fi
  # E2E_ONLY="test_a test_b" runs only those cases, for a quick look while working on one.
  if [ -n "${E2E_ONLY:-}" ]; then
    for case_name in $E2E_ONLY; do "$case_name"; done
    return
  fi
  test_count_and_escape
  test_enter_from_grid
  test_alt_c_and_minimums
  test_close_before_count
  test_no_input
  test_table_answer
  test_other_working_folder
  test_off_screen_placement
  test_block_page
  test_quantity_page
  test_check_pages
  test_mark
  test_baseline
  test_takeoff
  test_takeoff_errors
  test_row_tips
  test_menu_and_save
  test_save_refused
  test_workbook
  test_short_read
  # Heavier cases on the 64-bit program only: the 32-bit one runs the same code, slower (under emulation
  # where the kernel runs no i386 programs).
  if [ "$label" = x64 ]; then
    test_partial_read
    test_many_blocks
  fi
  test_screenshots
  test_dpi
}

main() {
  start_display
  prepare_prefix
  wineserver -p >/dev/null 2>&1 || true  # keep one server for all cases
  # The window is read by the 64-bit probe where there is one.
  local reader=$1
  for build in "$@"; do
    if [ "$(pe_machine "$build/tests/e2e/jwcount-probe.exe")" = x64 ]; then
      reader=$build
      break
    fi
  done
  for build in "$@"; do test_build "$build" "$reader"; done
  log "Wine end-to-end tests: $PASSES passed, $FAILURES failed, $SKIPPED skipped"
  [ -z "$UNTESTED_32BIT" ] || printf 'The 32-bit window was NOT tested: %s\n' "$(why_no_32bit)"
  [ "$FAILURES" -eq 0 ]
}

main "$@"
