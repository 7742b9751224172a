#!/usr/bin/env bash
# Installs everything Wertlauf needs to be built, run and tested on Debian 12 (idempotent).
set -euo pipefail

packages=(
  # cross compiler and build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools cmake ninja-build make
  # host compiler and libraries for the resource generators in tools/
  g++ pkg-config libfreetype-dev fonts-dejavu-core python3
  # running and testing under Wine on a virtual display
  wine wine64 xvfb xauth x11-utils fonts-wine fonts-liberation imagemagick
  # tests: what reaches the X server (X DAMAGE, read through ctypes)
  libx11-6 libxdamage1
  # tests: GoogleTest sources, serial ports on ptys
  googletest socat
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
