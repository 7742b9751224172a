#!/usr/bin/env bash
# Rebuilds the game view's artwork in res/view/ with the host compiler and FreeType (DejaVu fonts).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++17 -o "$work/generate-view-art" "$root/tools/view-art/GenerateViewArt.cpp" \
  $(pkg-config --cflags --libs freetype2)
mkdir -p "$root/res/view"
"$work/generate-view-art" "$root/res/view" "${DEJAVU_DIR:-/usr/share/fonts/truetype/dejavu}"
