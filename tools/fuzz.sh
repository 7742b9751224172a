#!/usr/bin/env bash
# Runs one fuzz target (tests/fuzz/) for N mutated inputs under Wine: tools/fuzz.sh TARGET N [SEED]
# tools/fuzz.sh --list names the targets. A failure prints the input as hex; paste it into the target's
# regression cases.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}
if [ $# -lt 1 ]; then
  echo "usage: tools/fuzz.sh TARGET N [SEED] | --list" >&2
  exit 2
fi
"$root/tools/build.sh" --target fuzz_tests >/dev/null
source "$root/tests/wine-env.sh"
trap 'wl_env_stop' EXIT
trap 'exit 130' INT TERM
wl_env_start
cd "$build/tests"
wl_norandom wine "$build/tests/fuzz_tests.exe" "$@"
