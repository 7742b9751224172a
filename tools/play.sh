#!/usr/bin/env bash
# Builds Wertlauf.exe and starts it on the bundled sample questions under Wine.
# Without a display it runs on a virtual one (Xvfb); the game's settings stay in a Wine prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}

"$root/tools/build.sh" --target Wertlauf

source "$root/tests/wine-env.sh"
export WL_PREFIX_MODE=keep
[ -n "${DISPLAY:-}" ] && export WL_OWN_DISPLAY=0
trap 'wl_env_stop' EXIT
trap 'exit 130' INT TERM
wl_env_start
if [ -n "$WL_STARTED_XVFB" ]; then
  echo "No display found: Wertlauf runs on the virtual display $DISPLAY (end it with Ctrl-C)."
fi
wl_norandom wine "$build/bin/Wertlauf.exe" "$@"
