#!/usr/bin/env bash
# Opens the real window under Wine on a scratch copy of an exchange file.
#   app/win32/run-under-wine.sh BUILD_FOLDER WORK_FOLDER JWC_TEMP_FILE
# BUILD_FOLDER is the build folder of a Windows preset (build/windows-x64).
# With a display the window stays open until it is closed; without one it runs under an Xvfb of its own,
# a screenshot is saved as WORK_FOLDER/run.png once the count has finished, and the window is closed.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
WORK=$(mkdir -p "$2" && cd "$2" && pwd)
INPUT=$(realpath "$3")
HERE=$(cd "$(dirname "$0")" && pwd)
HAD_DISPLAY=${DISPLAY:-}
source "$HERE/../../tests/e2e/wine-env.sh"

start_display
prepare_prefix
use_build "$BUILD" "$(pe_machine "$BUILD/app/win32/jwcount.exe")"
RUN="$WORK/run"
rm -rf "$RUN" && mkdir -p "$RUN"
cp "$EXE" "$INPUT" "$RUN/"
[ "$(basename "$INPUT")" == JWC_TEMP.TXT ] || mv "$RUN/$(basename "$INPUT")" "$RUN/JWC_TEMP.TXT"
log "jwcount.exe on $INPUT (scratch copy in $RUN)"
if [ -n "$HAD_DISPLAY" ]; then
  (cd "$RUN" && wine ./jwcount.exe)
else
  (cd "$RUN" && exec "$WINE" ./jwcount.exe >/dev/null 2>&1) &
  app=$!
  probe wait 30000
  probe wait-text 101 20000 "$(hex '要素数をカウントしました')" || true
  sleep 0.5
  import -window root -crop 1024x768+0+0 "$WORK/run.png"
  probe close || true
  wait "$app" || true
  echo "screenshot: $WORK/run.png"
fi
printf 'reply: '
iconv -f CP932 -t UTF-8 "$RUN/JWC_TEMP.TXT"
