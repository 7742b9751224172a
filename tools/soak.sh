#!/usr/bin/env bash
# Runs the test suite N times, each time as tests/run.sh does and again with --heap-check (heap checking and
# full validation), and prints every test that failed at least once, with how often. A test that fails only
# sometimes is a fault of the program or of the test.
#   tools/soak.sh N [ctest args]     for example: tools/soak.sh 5, tools/soak.sh 20 -L treelist_tests
# The logs of every run stay in $WL_BUILD_DIR/soak (build/soak). Exit code 0 when nothing failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}
rounds=${1:-}
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: tools/soak.sh N [ctest args]" >&2
  exit 2
fi
shift
logs="$build/soak"
rm -rf "$logs"
mkdir -p "$logs"
"$root/tools/build.sh" >"$logs/build.log" 2>&1 || { tail -20 "$logs/build.log"; exit 1; }

# The failures of one run, one name a line: the tests CTest lists as failed, and what the full validation
# names (a test, or a suite whose process reported a heap fault or crashed).
failures() {
  sed -n '/The following tests FAILED:/,/^Errors while running CTest/p' "$1" | sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p'
  sed -n 's/^full heap validation failed: //p' "$1"
}
# Heap reports of the full validation that did not come in every run of their suite: the suites that passed
# after a re-run (tests/run.sh runs a suite whose only fault is a heap report up to twice more).
unrepeated() { sed -n 's/^full heap validation: passed after a re-run: //p' "$1"; }

start=$SECONDS
for round in $(seq "$rounds"); do
  for mode in normal heap-checked; do
    log="$logs/$round-$mode.log"
    if [ "$mode" = normal ]; then
      "$root/tests/run.sh" "$@" >"$log" 2>&1
    else
      "$root/tests/run.sh" --heap-check "$@" >"$log" 2>&1
    fi
    status=$?
    failures "$log" | sed "s/^/$mode	/" >>"$logs/failures"
    unrepeated "$log" >>"$logs/unrepeated"
    # A run that failed without naming a test (set-up, build) counts under its own name.
    if [ "$status" -ne 0 ] && ! failures "$log" | grep -q .; then echo "$mode	(run failed, exit $status)" >>"$logs/failures"; fi
    echo "soak: round $round/$rounds $mode: exit $status, $((SECONDS - start)) s in all" >&2
  done
done

touch "$logs/failures" "$logs/unrepeated"
failed=$(cut -f2 "$logs/failures" | sort -u | grep -c . || true)
echo "soak: $rounds rounds (normal and heap-checked): $failed tests failed at least once"
cut -f2 "$logs/failures" | sort -u | while IFS= read -r name; do
  normal=$(grep -cxF "normal	$name" "$logs/failures" || true)
  heap=$(grep -cxF "heap-checked	$name" "$logs/failures" || true)
  printf '  %3d  %s (normal %d, heap-checked %d)\n' $((normal + heap)) "$name" "$normal" "$heap"
done
if [ -s "$logs/unrepeated" ]; then
  echo "soak: heap reports that did not come in every run of their suite (Wine's own, or a rare fault):"
  sort "$logs/unrepeated" | uniq -c | sed 's/^/  /'
fi
[ "$failed" -eq 0 ]
