# The Wine setup shared by the end-to-end tests and by `./dev run`: a private prefix under WORK (made
# once, reused), the Japanese font substitution, a virtual desktop, and an Xvfb of our own when there is
# no display. Source it with EXE_DIR and WORK set.
export WINEPREFIX="$WORK/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installers
PROBE_DIR="$WORK/probe"
SHOTS="$WORK/screenshots"
XVFB_PID=""

log() { printf '\n== %s\n' "$*"; }
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
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

prepare_prefix() {
  local ready="$WINEPREFIX/.jwcount-ready"
  if [ ! -e "$ready" ]; then
    log "creating the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    write_registry_file "$WORK/jwcount.reg"
    wine regedit /S "$WORK/jwcount.reg" >/dev/null 2>&1
    wineserver -w
    touch "$ready"
  fi
  mkdir -p "$PROBE_DIR" "$SHOTS"
  cp "$EXE_DIR/jwcount-probe.exe" "$PROBE_DIR/"
}


probe() { wine "$PROBE_DIR/jwcount-probe.exe" "$@" 2>/dev/null; }
# The hexadecimal digits of a text's UTF-8 bytes, the form the probe takes texts in.
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
