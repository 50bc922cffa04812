#!/usr/bin/env bash
# Runs the desktop program on a virtual screen, lets it play for a few seconds and saves the screen as a PNG.
# Usage: scripts/screenshot.sh [SONG] OUT.png   (SONG may be empty: "")
# Environment: SONVELA_BIN (default build/sonvela), SCREENSHOT_WAIT seconds (default 4), SCREENSHOT_SCREEN
# the screen's WIDTHxHEIGHT (default 1280x800), SCREENSHOT_CROP a part of the screen to keep (WIDTHxHEIGHT+X+Y,
# as ImageMagick writes it: one window).
set -euo pipefail

if [ $# -eq 1 ]; then
  song=""
  out=$1
elif [ $# -eq 2 ]; then
  song=$1
  out=$2
else
  echo "usage: $0 [SONG] OUT.png" >&2
  exit 2
fi
bin=${SONVELA_BIN:-build/sonvela}
wait_seconds=${SCREENSHOT_WAIT:-4}
screen=${SCREENSHOT_SCREEN:-1280x800}
crop=${SCREENSHOT_CROP:-}
[ -x "$bin" ] || { echo "$0: $bin is not built" >&2; exit 1; }
out=$(realpath -m "$out")
bin=$(realpath "$bin")

# Inside the virtual display: start the program, wait, grab the root window, end the program.
# Its own lock folder keeps it apart from a copy running on the real desktop; message boxes go to stderr.
inner=$(cat <<'INNER'
set -euo pipefail
bin=$1; song=$2; out=$3; wait_seconds=$4
lock_dir=$(mktemp -d)
trap 'rm -rf "$lock_dir"' EXIT
if [ -n "$song" ]; then
  TMPDIR=$lock_dir SONVELA_TEST_MESSAGES=1 "$bin" "$song" &
else
  TMPDIR=$lock_dir SONVELA_TEST_MESSAGES=1 "$bin" &
fi
pid=$!
sleep "$wait_seconds"
if ! kill -0 "$pid" 2>/dev/null; then
  echo "screenshot: the program ended before the screenshot" >&2
  exit 1
fi
import -window root "$out"
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER
)
xvfb-run -a -s "-screen 0 ${screen}x24" bash -c "$inner" screenshot "$bin" "$song" "$out" "$wait_seconds"
[ -z "$crop" ] || convert "$out" -crop "$crop" +repage "$out"
echo "$out"
