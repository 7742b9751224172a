#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, in a prefix and on an X display of its own.
# Extra arguments go to ctest (for example -R CString or -L text_tests).
#
# --heap-check (first argument): the same suite with Wine's heap checking (double frees, bad pointers); a test
# fails on any heap report (see WL_HEAP_REPORT in cmake/WertlaufTargets.cmake). Then the test programs of the
# pure readers run whole under full heap validation, which also catches writes past a block's end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}
heap_check=
if [ "${1:-}" = --heap-check ]; then
  heap_check=1
  shift
fi
# Each finishes within two minutes under full validation (program[:gtest filter]). The image library's fills
# and polygons are left out: they read no outside data, and their rasterising takes over three minutes there.
full_validation=(text_tests "image_tests:-DibImageFill.*:DibImagePolygon.*" game_tests)

"$root/tools/build.sh"

source "$root/tests/wine-env.sh"
trap 'wl_env_stop' EXIT
trap 'exit 130' INT TERM
wl_env_start
wl_hold_desktop "$build"

[ -n "$heap_check" ] && export WINEDEBUG=-all,err+heap,warn+heap
# The test programs start without address-space randomisation (see wl_norandom).
wl_norandom ctest --test-dir "$build" -j "$(nproc)" --output-on-failure --timeout 300 "$@"
[ -n "$heap_check" ] || exit 0

# Full validation: every heap call checks the whole heap and traces; only the reports are kept. Each test
# suite runs in a process of its own, as the suite's tests do under ctest. A corrupted heap stops the program
# in an assertion that waits for a debugger, hence the bound.
suites() {
  wine "$build/tests/$1.exe" --gtest_list_tests "--gtest_filter=$2" 2>/dev/null | tr -d '\r' | grep -v '^ ' | tr -d .
}
export WINEDEBUG=-all,+heap
failed=0
pids=()
for entry in "${full_validation[@]}"; do
  program=${entry%%:*}
  filter=*
  [ "$entry" != "$program" ] && filter=${entry#*:}
  (
    set +e
    log="$build/tests/$program.heap.log"
    start=$SECONDS
    status=0
    : >"$log"
    : >"$log.out"
    for suite in $(WINEDEBUG=-all suites "$program" "$filter"); do
      excluded=
      [ "${filter#-}" != "$filter" ] && excluded=$filter
      wl_norandom timeout 240 wine "$build/tests/$program.exe" --gtest_brief=1 "--gtest_filter=$suite.*$excluded" \
        2>&1 >>"$log.out" | grep -v ':trace:heap:' >>"$log"
      rc=${PIPESTATUS[0]}
      [ "$rc" -eq 0 ] || status=$rc
    done
    if [ "$status" -ne 0 ] || grep -q ':heap:' "$log"; then
      echo "full heap validation: $program failed (exit $status)"
      grep ':heap:' "$log" | head -20
      tail -20 "$log.out"
      exit 1
    fi
    echo "full heap validation: $program passed in $((SECONDS - start)) s"
  ) &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
