#!/usr/bin/env bash
# Whole-run speed against the floor: times, in one hyperfine run, bench/floor and
# build/orvendale for each kind of picture (Date, CalendarHeader, Calendar with a
# TodayImage), prints each median as a ratio to the floor's, the peak resident memory of
# each (from /usr/bin/time -v) and, when optipng is installed, each PNG's size against
# what optipng -o7 makes of it while keeping it 8-bit RGBA.
# Usage: bench/run.sh [runs]   (default 200 runs per command, after 20 warm-up runs)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-200}

scripts/install-deps.sh hyperfine time
cmake -S . -B build -G Ninja -DORVENDALE_BENCHMARKS=ON >/dev/null
cmake --build build --target orvendale floor -j "$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for example in date calendar_header calendar; do
  sed -e "s#^File=out/#File=$work/#" -e "s#^TodayImage=examples/#TodayImage=$root/examples/#" \
    "examples/$example.ini" >"$work/$example.ini"
done

names=(floor Date CalendarHeader Calendar)
commands=(
  "$root/build/bench/floor $work/floor.png"
  "$root/build/orvendale $work/date.ini"
  "$root/build/orvendale $work/calendar_header.ini"
  "$root/build/orvendale $work/calendar.ini"
)
hyperfine_arguments=(-N --warmup 20 --runs "$runs" --export-csv "$work/times.csv" --style basic)
for i in "${!names[@]}"; do hyperfine_arguments+=(-n "${names[$i]}" "${commands[$i]}"); done
hyperfine "${hyperfine_arguments[@]}" >"$work/hyperfine.txt"

# Peak resident memory: the largest of five runs.
peak_kib() { # command...
  local peak=0 value
  for _ in 1 2 3 4 5; do
    value=$(/usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}')
    [ "$value" -gt "$peak" ] && peak=$value
  done
  echo "$peak"
}

outputs=("$work/floor.png" "$work/date.png" "$work/calendar_header.png" "$work/calendar.png")
floor_median=$(awk -F, 'NR == 2 {print $4}' "$work/times.csv")
printf '%-16s %12s %10s %14s %12s\n' command "median (ms)" "x floor" "peak RSS (MiB)" "PNG/optipng"
for i in "${!names[@]}"; do
  median=$(awk -F, -v row=$((i + 2)) 'NR == row {print $4}' "$work/times.csv")
  # shellcheck disable=SC2086
  peak=$(peak_kib ${commands[$i]})
  size_ratio="-"
  if command -v optipng >/dev/null && [ -s "${outputs[$i]}" ]; then
    # Kept 8-bit RGBA: no reduction of bit depth, colour type or palette.
    optipng -quiet -o7 -nb -nc -np -out "$work/optimised.png" "${outputs[$i]}"
    size_ratio=$(awk -v a="$(stat -c %s "${outputs[$i]}")" -v b="$(stat -c %s "$work/optimised.png")" \
      'BEGIN {printf "%d/%d = %.2f", a, b, a / b}')
    rm -f "$work/optimised.png"
  fi
  awk -v name="${names[$i]}" -v m="$median" -v f="$floor_median" -v p="$peak" -v s="$size_ratio" \
    'BEGIN {printf "%-16s %12.3f %10.2f %14.2f %12s\n", name, m * 1000, m / f, p / 1024, s}'
done
