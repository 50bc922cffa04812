#!/usr/bin/env bash
# `make run`: composes the demonstration piece and plays it on the built-in synth (progress and lyrics on a
# terminal). Without a sound card it says so once and plays silently; it ends with the song (82.6 s).
set -euo pipefail
build=${1:-build}
demo_dir=${SONVELA_DEMO_DIR:-$build/demo}
mkdir -p "$demo_dir"
"$build/sonvela-cli" compose "$demo_dir" >/dev/null
exec "$build/sonvela-cli" play "$demo_dir/creato.mid"
