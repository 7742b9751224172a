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
wl_hold_desktop "$build"

# The test programs start without address-space randomisation (see wl_norandom).
wl_norandom ctest --test-dir "$build" -j "$(nproc)" --output-on-failure --timeout 300 "$@"
