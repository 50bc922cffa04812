#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need. A no-op when all are there.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev qt6-base-dev librtmidi-dev
  libfluidsynth-dev libsndfile1-dev libasound2-dev libjack-jackd2-dev fluidsynth fluid-soundfont-gm
  timgm6mb-soundfont jackd2 xvfb xauth imagemagick sox fonts-dejavu-core desktop-file-utils gdb
  dbus playerctl libuchardet-dev)
if [ "${1:-}" = "--bench" ]; then
  packages+=(midicsv python3-mido time)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run this as root, or install sudo: the packages need apt-get." >&2; exit 1; }
  sudo=(sudo)
fi
# Nothing may stop to ask: sudo drops DEBIAN_FRONTEND from the environment, so it goes through `env`, and
# jackd2's question about realtime priority is answered beforehand (the tests run jackd without it).
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o Dpkg::Options::=--force-confdef
  -o Dpkg::Options::=--force-confold)
echo "jackd2 jackd/tweak_rt_limits boolean false" | "${sudo[@]}" debconf-set-selections
"${apt[@]}" update
"${apt[@]}" install --no-install-recommends "${missing[@]}"
