#!/usr/bin/env bash
# `cmake --install` puts both programs on the PATH with a valid desktop entry for MIDI and karaoke files
# and its icon.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/sonvela bin/sonvela-cli share/applications/sonvela.desktop \
  share/icons/hicolor/scalable/apps/sonvela.svg; do
  [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -x "$prefix/bin/sonvela" ] || { echo "sonvela is not executable"; exit 1; }
desktop=$prefix/share/applications/sonvela.desktop
grep -qx 'Exec=sonvela %f' "$desktop" || { echo "the entry does not pass the file on"; exit 1; }
grep -q '^MimeType=.*audio/midi;' "$desktop" || { echo "the entry does not open MIDI files"; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
echo "1 passed, 0 failed"
