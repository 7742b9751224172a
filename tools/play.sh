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
# Without address-space randomisation: with it, Wine now and then cannot place its shared user data and
# the program ends at once.
if setarch "$(uname -m)" -R true 2>/dev/null; then
  setarch "$(uname -m)" -R wine "$build/bin/Wertlauf.exe" "$@"
else
  wine "$build/bin/Wertlauf.exe" "$@"
fi
