# The Wine setup shared by the end-to-end tests and by `./dev run`: a private prefix under WORK (made
# once, reused), the Japanese font substitution, a virtual desktop, and an Xvfb of our own when there is
# no display. Source it with WORK set; use_build then picks the programs of one Windows build.
export WINEPREFIX="$WORK/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installers; and no debugger, so that a crash ends the program instead of hanging it.
export WINEDLLOVERRIDES="mscoree,mshtml=,winedbg.exe=d"
XVFB_PID=""

# Each program runs under the loader of its own bitness. (Debian's `wine` always starts the 32-bit
# loader once wine32 is installed, which on a kernel without IA-32 emulation fails for every program.)
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
runs_32bit() { [ -x "$WINE32_LOADER" ] && "$WINE32_LOADER" --version >/dev/null 2>&1; }
loader_of() { if [ "$1" = x86 ]; then echo "$WINE32_LOADER"; else echo "$WINE64_LOADER"; fi; }
# WINE is the loader of the program under test (use_build sets it).
WINE=$WINE64_LOADER
export WINELOADER=$WINE
wine() { command "$WINE" "$@"; }

log() { printf '\n== %s\n' "$*"; }

# Folders mounted by the tests (a read-only folder, a disk image) under WORK: each is unmounted again, at
# the latest when the script ends, and any found under WORK from a run that was killed.
MOUNTS=()
release_mounts() {
  local mount
  for mount in $(awk -v work="$WORK/" 'index($2, work) == 1 { print $2 }' /proc/mounts | sort -r); do
    umount "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true
  done
  MOUNTS=()
}

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ ${#MOUNTS[@]} -eq 0 ] || release_mounts
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT

start_display() {
  if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then return; fi
  local n=91
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return; sleep 0.1; done
  echo "Xvfb did not start" >&2
  exit 1
}

# The registry settings of the prefix: the Japanese fonts, and a virtual desktop so that Wine draws the
# frames itself and the screenshots show the title bar. Written as UTF-16LE with a BOM, as regedit wants.
write_registry_file() {
  {
    printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<'EOF' | sed 's/\x0a\x00/\x0d\x00\x0a\x00/g'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Tahoma"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

EOF
  } >"$1"
}

# What the prefix is made for: a prefix made while no 32-bit loader could run has no 32-bit system
# files, and every 32-bit program then fails in it ("could not load kernel32.dll").
prefix_kind() { if runs_32bit; then echo "64-bit and 32-bit"; else echo "64-bit only"; fi; }

make_prefix() {
  log "creating the Wine prefix ($(prefix_kind))"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  # The 32-bit loader, where it runs, makes the prefix for both kinds of program, as `wine` would. Made
  # without a display: Wine's desktop then stays away until the tests start it.
  local loader=$WINE64_LOADER
  runs_32bit && loader=$WINE32_LOADER
  WINELOADER=$loader env -u DISPLAY "$loader" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  write_registry_file "$WORK/jwcount.reg"
  WINELOADER=$loader env -u DISPLAY "$loader" regedit /S "$WORK/jwcount.reg" >/dev/null 2>&1
  wineserver -w
  prefix_kind >"$WINEPREFIX/.jwcount-prefix"
}

prepare_prefix() {
  local marker="$WINEPREFIX/.jwcount-prefix"
  if [ ! -e "$marker" ] || [ "$(cat "$marker")" != "$(prefix_kind)" ]; then make_prefix; fi
}

# The Windows build BUILD (a preset's build folder) as the one under test: its jwcount.exe, the folders
# of its cases and screenshots under WORK/LABEL, and the probe that reads its window: the probe of
# PROBE_BUILD when given (a 64-bit probe reads a 32-bit window as well, and it starts in a moment where
# the 32-bit one may take seconds), else its own.
use_build() {  # use_build BUILD LABEL [PROBE_BUILD]
  LABEL=$2
  WINE=$(loader_of "$2")
  export WINELOADER=$WINE
  EXE="$(cd "$1" && pwd)/app/win32/jwcount.exe"
  CLI_EXE="$(cd "$1" && pwd)/app/cli/jwcount-cli.exe"
  OUT="$WORK/$2"
  SHOTS="$OUT/screenshots"
  OWN_PROBE="$OUT/probe/jwcount-probe.exe"
  PROBE="$OUT/probe/reader/jwcount-probe.exe"
  mkdir -p "$SHOTS" "$(dirname "$PROBE")"
  cp "$1/tests/e2e/jwcount-probe.exe" "$OWN_PROBE"
  cp "${3:-$1}/tests/e2e/jwcount-probe.exe" "$PROBE"
  PROBE_WINE=$(loader_of "$(pe_machine "$PROBE")")
}

# Runs the probe; its messages go to OUT/probe-errors.log. A query that only reads the window (text,
# visible, rect, window) is asked up to three times: on a loaded machine a Wine process now and then
# fails to start or misses the window, and asking again cannot change what the program does.
probe() {
  local status attempt
  for attempt in 1 2 3; do
    status=0
    WINELOADER=$PROBE_WINE command "$PROBE_WINE" "$PROBE" "$@" 2>>"$OUT/probe-errors.log" || status=$?
    case "$1" in text | visible | rect | window) ;; *) return "$status" ;; esac
    [ "$status" -ne 0 ] || return 0
    printf 'probe %s failed (%s), attempt %s\n' "$*" "$status" "$attempt" >>"$OUT/probe-errors.log"
    sleep 0.5
  done
  return "$status"
}
# True when programs of the build's bitness start in the prefix: the build's own probe, run without
# arguments, only reports bad usage (2).
program_starts() {
  local status=0
  wine "$OWN_PROBE" >/dev/null 2>&1 || status=$?
  [ "$status" -eq 2 ]
}
# The hexadecimal digits of a text's UTF-8 bytes, the form the probe takes texts in.
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }

# The machine type of a Windows program: x64 or x86.
pe_machine() {
  case "$(x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format //p')" in
    pei-x86-64) echo x64 ;;
    pei-i386) echo x86 ;;
    *) echo unknown ;;
  esac
}
