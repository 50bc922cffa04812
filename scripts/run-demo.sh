#!/usr/bin/env bash
# `make run`: composes the demonstration piece and prints its analysis listing.
set -euo pipefail
build=${1:-build}
demo_dir=${SONVELA_DEMO_DIR:-$build/demo}
mkdir -p "$demo_dir"
"$build/sonvela-cli" compose "$demo_dir" >/dev/null
"$build/sonvela-cli" listing "$demo_dir/creato.mid"
