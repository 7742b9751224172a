#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, in a prefix and on an X display of its own.
# Extra arguments go to ctest (for example -R CString or -L text_tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}

"$root/tools/build.sh"

source "$root/tests/wine-env.sh"
trap 'wl_env_stop' EXIT
trap 'exit 130' INT TERM
wl_env_start
wine "$build/tests/wine_warmup.exe" >/dev/null 2>&1 || true

ctest --test-dir "$build" -j "$(nproc)" --output-on-failure --timeout 300 "$@"
