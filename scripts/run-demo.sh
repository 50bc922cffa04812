#!/usr/bin/env bash
# `make run`: composes the demonstration piece and opens the desktop program on it, which plays it at once.
# Without a display it says so and plays the piece in the terminal instead (progress and lyrics there);
# without a sound card the player says so once and plays silently.
set -euo pipefail
build=$(realpath "${1:-build}")
demo_dir=${SONVELA_DEMO_DIR:-$build/demo}
mkdir -p "$demo_dir"
"$build/sonvela-cli" compose "$demo_dir" >/dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # From the demo's folder, so the song list shows it and Create writes beside it.
  cd "$demo_dir"
  exec "$build/sonvela" creato.mid
fi
echo "No display: playing the demonstration piece in the terminal (sonvela-cli play)."
exec "$build/sonvela-cli" play "$demo_dir/creato.mid"
