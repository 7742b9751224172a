#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, in a prefix and on an X display of its own.
# Extra arguments go to ctest (for example -R CString or -L text_tests).
#
# --heap-check (first argument): the same suite with Wine's heap checking (double frees, bad pointers); a test
# fails on any heap report (see WL_HEAP_REPORT in cmake/WertlaufTargets.cmake). Then the suites listed below run
# under full heap validation, which also catches writes past a block's end and writes into freed blocks: the
# test programs of the pure readers whole, and the suites of the threaded code (tree-list workers and direct
# calls, folder tree, path combo and chooser workers, the settings dialog, the file dialog's completion, the
# image window, the popup list, the subclasses and autoscroll), where a worker that outlives what it writes to shows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}
heap_check=
if [ "${1:-}" = --heap-check ]; then
  heap_check=1
  shift
fi
# Under full validation (program[:gtest filter]), longest first. The image library's fills and polygons are
# left out: they read no outside data, and their rasterising takes over three minutes there.
full_validation=(game_tests
  "treelist_tests:PathDlg*.*:FolderTreeTest.*:FolderJobQueue.*:PathCombo*.*:TreeListThreads.*:TreeListCtrl.*"
  "ui_tests:FileDialogExt*.*:DibWnd.*:PopupList.*:Subclass.*" text_tests "image_tests:-DibImageFill.*:DibImagePolygon.*")
# Suites that take minutes there run test by test, side by side like the others.
by_test=" PathDlgTest PathComboTest "
# These run after the others, alone: the autoscroll's modal loop ends when another test's window takes the
# capture or the focus.
full_validation_alone=(ui_autoscroll_tests)
# Every suite runs in a process of its own within this bound (seconds; the longest test takes about 150 s alone
# and twice that on a machine running two such passes); the tests' own time bounds are
# multiplied by the scale (tests/support/TimeBound.h), as validation makes everything many times slower.
suite_bound=450
time_scale=10

"$root/tools/build.sh"

source "$root/tests/wine-env.sh"
trap 'wl_env_stop' EXIT
trap 'exit 130' INT TERM
wl_env_start
wl_hold_desktop "$build"

# Heap checking; each test program also validates its heaps after every test (tests/support/HeapCheck.h).
# The global flag of free-block checking (FLG_HEAP_ENABLE_FREE_CHECK), which Wine's checking does here without
# showing it, tells the programs that freed blocks are checked: the image library then keeps no freed pixel
# block for reuse, which would hide a late write into it.
if [ -n "$heap_check" ]; then
  wine reg add 'HKLM\System\CurrentControlSet\Control\Session Manager' /v GlobalFlag /t REG_DWORD /d 0x20 /f \
    >/dev/null 2>&1 || { echo "tests/run.sh: the heaps' global flag could not be set" >&2; exit 1; }
  export WINEDEBUG=-all,err+heap,warn+heap WL_HEAP_VALIDATE=1
fi
# The test programs start without address-space randomisation (see wl_norandom).
status=0
wl_norandom ctest --test-dir "$build" -j "$(nproc)" --output-on-failure --timeout 300 "$@" || status=$?
[ -n "$heap_check" ] || exit "$status"

# Full validation: every heap call of the listed programs checks the whole heap, freed blocks are filled and block
# ends guarded (the programs' GlobalFlag 0xb0: validate all, free and tail checking); Wine reports what it finds
# ("err:heap:", at every later heap call) and the program goes on. Each suite runs in a process of its own, as its
# tests do under ctest, nproc of them side by side, within the bound. Wine 8's validation reports damage that
# never happened when two threads use a heap at the same time (measured: a program of two threads that only
# allocate, fill and free their own blocks got dozens of "free block overwritten" in 90 s on a loaded machine, one
# thread none; a program whose one thread frees what the other allocated, handed over through a ring, got "free
# block overwritten" or "invalid block tail" in 3 of 4 runs of 30 s beside a full load, none on an idle machine).
# The suites whose workers hand blocks to the window's thread get such reports in about one run in seven (the path
# chooser's, the folder tree's): a suite whose only fault is a heap report runs up to twice more, and only a
# report that comes in every run fails; a failed test, a crash or the bound fails the suite at once, whatever else
# the run printed. A suite that passed after a re-run is named ("passed after a re-run"), and tools/soak.sh counts
# it. A failure is named as "full heap validation failed: <program> <test>" (a suite for a heap report, a crash or
# the bound).
logs="$build/tests/heap"
rm -rf "$logs"
mkdir -p "$logs"
suites() {
  wine "$build/tests/$1.exe" --gtest_list_tests "--gtest_filter=$2" 2>/dev/null | tr -d '\r' | grep -v '^ ' | tr -d .
}
tests_of() {
  wine "$build/tests/$1.exe" --gtest_list_tests "--gtest_filter=$2.*" 2>/dev/null | tr -d '\r' | sed -n 's/^  \([^ ]*\).*/\1/p'
}
# Prints "program suite filter" for each suite of the entries given (a suite of by_test: for each of its tests,
# named <suite>.<test>).
jobs_of() {
  local entry program filter excluded suite test
  for entry in "$@"; do
    program=${entry%%:*}
    filter=*
    [ "$entry" != "$program" ] && filter=${entry#*:}
    excluded=
    [ "${filter#-}" != "$filter" ] && excluded=$filter
    for suite in $(suites "$program" "$filter"); do
      if [ "${by_test/ $suite /}" != "$by_test" ]; then
        for test in $(tests_of "$program" "$suite"); do echo "$program $suite.$test $suite.$test"; done
      else
        echo "$program $suite $suite.*$excluded"
      fi
    done
  done
}
# Runs one suite; its logs are $logs/<program>.<suite><$4>.{out,err,rc}.
run_suite() {
  set +e
  local log="$logs/$1.$2$4" start=$SECONDS
  wl_norandom timeout "$suite_bound" wine "$build/tests/$1.exe" --gtest_brief=1 "--gtest_filter=$3" >"$log.out" \
    2>"$log.err"
  echo "$? $((SECONDS - start))" >"$log.rc"
}
# Runs the jobs on stdin, at most $1 at a time, their logs named with the suffix $2.
run_jobs() {
  local program suite filter running=() kept ended pid
  while read -r program suite filter; do
    while [ "${#running[@]}" -ge "$1" ]; do
      ended=
      wait -n -p ended "${running[@]}" || true
      kept=()
      for pid in "${running[@]}"; do [ "$pid" = "$ended" ] || kept+=("$pid"); done
      running=("${kept[@]}")
    done
    run_suite "$program" "$suite" "$filter" "${2:-}" </dev/null &
    running+=($!)
  done
  for ended in "${running[@]}"; do wait "$ended" || true; done
}
jobs_of "${full_validation[@]}" >"$logs/jobs"
jobs_of "${full_validation_alone[@]}" >"$logs/jobs-alone"
ifeo='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options'
for program in $(cut -d' ' -f1 "$logs/jobs" "$logs/jobs-alone" | sort -u); do
  wine reg add "$ifeo\\$program.exe" /v GlobalFlag /t REG_DWORD /d 0xb0 /f >/dev/null 2>&1
done
export WINEDEBUG=-all,err+heap WL_TIME_SCALE=$time_scale
unset WL_HEAP_VALIDATE
start=$SECONDS
run_jobs "$(nproc)" <"$logs/jobs"
run_jobs 1 <"$logs/jobs-alone"
# A run's outcome (log suffix $3): "heap" for a heap report alone (the suite's tests passed and it ended in
# time), "failed" for a failed test, a crash or the bound (whatever else it printed), else "passed".
outcome() {
  local log="$logs/$1.$2$3" rc seconds
  read -r rc seconds <"$log.rc"
  if [ "$rc" -ne 0 ] || grep -q '^\[  FAILED  \]' "$log.out"; then
    echo failed
  elif grep -q ':heap:' "$log.err"; then
    echo heap
  else
    echo passed
  fi
}
# Prints the jobs of the list $1 whose run with the log suffix $2 had a heap report alone.
reported_jobs() {
  local program suite filter
  while read -r program suite filter; do
    if [ "$(outcome "$program" "$suite" "$2")" = heap ]; then echo "$program $suite $filter"; fi
  done <"$1"
}
for list in jobs jobs-alone; do reported_jobs "$logs/$list" "" >"$logs/$list-again"; done
run_jobs "$(nproc)" .again <"$logs/jobs-again"
run_jobs 1 .again <"$logs/jobs-alone-again"
for list in jobs jobs-alone; do reported_jobs "$logs/$list-again" .again >"$logs/$list-third"; done
run_jobs "$(nproc)" .third <"$logs/jobs-third"
run_jobs 1 .third <"$logs/jobs-alone-third"
count=0
failed=0
while read -r program suite filter; do
  count=$((count + 1))
  name="$program ${filter%%-*}"
  log="$logs/$program.$suite"
  result=$(outcome "$program" "$suite" "")
  if [ "$result" = heap ]; then
    echo "full heap validation: a heap report not yet counted: $name; run again:"
    grep -m 5 ':heap:' "$log.err" || true
    log="$log.again"
    result=$(outcome "$program" "$suite" .again)
    if [ "$result" = heap ]; then
      echo "full heap validation: the heap report came again: $name; run a third time:"
      grep -m 5 ':heap:' "$log.err" || true
      log="$logs/$program.$suite.third"
      result=$(outcome "$program" "$suite" .third)
    fi
    [ "$result" = passed ] && echo "full heap validation: passed after a re-run: $name"
  fi
  [ "$result" = passed ] && continue
  failed=$((failed + 1))
  read -r rc seconds <"$log.rc"
  tests=$(sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' "$log.out" | sort -u)
  if [ -z "$tests" ]; then
    if [ "$rc" -eq 124 ]; then tests="${filter%%-*} (over ${suite_bound} s)"
    elif [ "$rc" -ne 0 ]; then tests="${filter%%-*} (exit $rc)"
    else tests="${filter%%-*} (heap report)"
    fi
  fi
  echo "$tests" | sed "s/^/full heap validation failed: $program /"
  grep -m 20 ':heap:' "$log.err" || true
  tail -20 "$log.out"
done < <(cat "$logs/jobs" "$logs/jobs-alone")
echo "full heap validation: $((count - failed)) of $count suites passed in $((SECONDS - start)) s"
[ "$failed" -eq 0 ] || status=1
exit "$status"
