#!/usr/bin/env bash
# Builds what is missing and runs every benchmark in bench/ (or those named) under the test suite's Wine
# set-up: a prefix and an X display of the run's own (tests/wine-env.sh), a COM pair joined by socat
# (tests/game/serial/com_rig.py), an ALSA sink that writes to a file at a sound card's pace, 88,200 bytes a
# second as the game's 44100 Hz 16-bit mono stream plays (tests/game/sound/alsa_rig.py --paced), and a
# watcher of the X display (tests/ui/dibwnd/display_rig.py).
# Prints one table of all figures and writes it as CSV to build/bench/results/bench-<date>-<time>.csv,
# beside each benchmark's full output (<date>-<time>-<name>.log).
#
#   bash tools/bench.sh [Name...]
#
# Adding a benchmark:
#   1. Write bench/<Name>.cpp and register it in bench/CMakeLists.txt as wl_add_bench(<Name> SOURCES ...
#      LINKS ...): every wl_add_bench there is run, in the order written.
#   2. Measure the platform's own way of doing the same work in the same run (the peer), and print each
#      figure as one line of its own (BenchFigure in bench/BenchFigure.h writes it):
#          @bench<TAB>figure<TAB>ours<TAB>peer<TAB>unit
#      ours and peer are plain decimal numbers in the unit named; peer is "-" for a figure without a peer.
#      The table adds ratio = ours / peer. Any other output is the benchmark's own report and is kept in
#      its log only.
#   3. It runs as `wine build/bench/<Name>.exe` with no arguments. It finds its COM pair in WL_COM_PAIRS
#      ("A:B": it opens COMA, the far end is COMB), the sound sink's file in WL_AUDIO_CAPTURE and the display
#      watcher's request folder in WL_DISPLAY_RIG; it ends
#      with exit code 0 when its figures are trustworthy (nothing lost, results checked), else non-zero,
#      which the table shows as failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WL_BUILD_DIR:-$root/build}
com_pair=${WL_BENCH_COM_PAIR:-31:32}
limit=${WL_BENCH_TIMEOUT:-900}

mapfile -t all < <(sed -n 's/^[[:space:]]*wl_add_bench([[:space:]]*\([A-Za-z0-9_]*\).*/\1/p' "$root/bench/CMakeLists.txt")
names=("$@")
[ ${#names[@]} -gt 0 ] || names=("${all[@]}")
for name in "${names[@]}"; do
  printf '%s\n' "${all[@]}" | grep -qx "$name" || { echo "unknown benchmark: $name (bench/CMakeLists.txt)" >&2; exit 2; }
done

"$root/tools/build.sh" --target wine_warmup "${names[@]}"

source "$root/tests/wine-env.sh"
trap 'wl_env_stop' EXIT
trap 'exit 130' INT TERM
wl_env_start
wl_hold_desktop "$build"

# The display watcher (what reaches the X server, and the processor time of the Wine and X servers), for the
# end-to-end figures of the game.
display_rig=(python3 "$root/tests/ui/dibwnd/display_rig.py" --)

results="$build/bench/results"
mkdir -p "$results"
date=$(date +%Y-%m-%d)
stamp="$date-$(date +%H%M%S)"
csv="$results/bench-$stamp.csv"
echo "date,benchmark,figure,ours,peer,ratio,unit" >"$csv"
rows=$(mktemp)
failed=0

# ImagePeerBench's peers (Pillow, OpenCV) run natively, not under Wine: they time themselves on the
# photographs they write as BMP files for it into build/bench/peers (Debian's python3, which has the packages).
if printf '%s\n' "${names[@]}" | grep -qx ImagePeerBench; then
  echo "running the image peers ..." >&2
  /usr/bin/python3 "$root/tools/image_peers.py" "$build/bench/peers" >"$results/$stamp-image-peers.log" 2>&1 ||
    echo "image peers failed: see $results/$stamp-image-peers.log" >&2
fi

for name in "${names[@]}"; do
  log="$results/$stamp-$name.log"
  echo "running $name ..." >&2
  status=0
  wl_norandom timeout "$limit" python3 "$root/tests/game/serial/com_rig.py" --pair "$com_pair" -- \
    python3 "$root/tests/game/sound/alsa_rig.py" --paced 88200 -- "${display_rig[@]}" wine "$build/bench/$name.exe" >"$log" 2>&1 || status=$?
  figures=$(grep -c $'^@bench\t' "$log" || true)
  if [ "$status" -ne 0 ] || [ "$figures" -eq 0 ]; then
    failed=1
    printf '%s\t%s\t\t\t\t\n' "$name" "FAILED (exit $status, $figures figures; see $log)" >>"$rows"
  fi
  tr -d '\r' <"$log" | awk -F'\t' -v bench="$name" -v date="$date" -v csv="$csv" -v rows="$rows" '
    $1 == "@bench" && NF >= 4 {
      ratio = ($4 == "-" || $4 + 0 == 0) ? "-" : sprintf("%.3g", $3 / $4)
      printf "%s\t%s\t%s\t%s\t%s\t%s\n", bench, $2, $3, $4, ratio, $5 >> rows
      gsub(/"/, "\"\"", $2)
      printf "%s,%s,\"%s\",%s,%s,%s,%s\n", date, bench, $2, $3, ($4 == "-" ? "" : $4), (ratio == "-" ? "" : ratio), $5 >> csv
    }'
done

{
  printf 'benchmark\tfigure\tours\tpeer\tratio\tunit\n'
  cat "$rows"
} | awk -F'\t' '
  { for (i = 1; i <= NF; ++i) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } fields[NR] = NF }
  END {
    for (r = 1; r <= NR; ++r) {
      line = ""
      for (i = 1; i <= fields[r]; ++i) line = line sprintf(i < fields[r] ? "%-" width[i] "s  " : "%s", cell[r, i])
      print line
    }
  }'
rm -f "$rows"
echo "CSV: $csv"
exit "$failed"
