#!/usr/bin/env bash
# Installs the Debian packages the build, the content tools and the tests need.
# Quiet and quick when everything is already there; safe to run again.
# `install-deps.sh fuzz` adds what the fuzz targets need.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libepoxy-dev libgl-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libpng-dev libjpeg-dev libfreetype-dev libvorbis-dev libogg-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev librsvg2-dev libfluidsynth-dev fluid-soundfont-gm
  fonts-dejavu-core fonts-lobster fonts-comfortaa fonts-cabin
  xvfb xauth xdotool libx11-dev libxfixes-dev
  desktop-file-utils appstream
)
# `make fuzz` builds with clang and links libFuzzer, which comes with clang's runtime.
if [ "${1:-}" = "fuzz" ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
