#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need. A no-op when all are there.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev qt6-base-dev librtmidi-dev
  libfluidsynth-dev libasound2-dev libjack-jackd2-dev fluidsynth fluid-soundfont-gm timgm6mb-soundfont
  jackd2 xvfb xauth imagemagick sox fonts-dejavu-core desktop-file-utils)
if [ "${1:-}" = "--bench" ]; then
  packages+=(midicsv python3-mido time)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
