#!/usr/bin/env bash
# Whole-run speed against the floor: times bench/floor and build/orvendale for each kind
# of picture (Date, CalendarHeader, Calendar with a TodayImage) side by side in hyperfine
# runs, prints each median as a ratio to the floor's, the peak resident memory of each
# (from /usr/bin/time -v) and, when optipng is installed, each PNG's size against what
# optipng -o7 makes of it while keeping it 8-bit RGBA.
# The speed of this kind of machine drifts by tens of percent over seconds, and hyperfine
# runs each command's runs in one block: so it runs `rounds` times, and the ratio shown is
# the median of the rounds' ratios, with the lowest and highest. A second table times the
# same commands interleaved in a random order per round (bench/shuffled_runs), where no
# command has its own code warm from the run before.
# Usage: bench/run.sh [runs [rounds]]   (default 60 runs per command and round, 5 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-60}
rounds=${2:-5}

scripts/install-deps.sh hyperfine time
cmake -S . -B build -G Ninja -DORVENDALE_BENCHMARKS=ON >/dev/null
cmake --build build --target orvendale floor shuffled_runs -j "$(nproc)" >/dev/null

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
for round in $(seq "$rounds"); do
  hyperfine_arguments=(-N --warmup 20 --runs "$runs" --export-csv "$work/times-$round.csv" --style none)
  for i in "${!names[@]}"; do hyperfine_arguments+=(-n "${names[$i]}" "${commands[$i]}"); done
  hyperfine "${hyperfine_arguments[@]}" >/dev/null
done

# Peak resident memory: the largest of five runs.
peak_kib() { # command...
  local peak=0 value
  for _ in 1 2 3 4 5; do
    value=$(/usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}')
    [ "$value" -gt "$peak" ] && peak=$value
  done
  echo "$peak"
}

# The median over the rounds of command i's median (ms) and of its ratio to the floor's,
# with the lowest and highest ratio.
summarise() { # i
  for round in $(seq "$rounds"); do
    awk -F, -v row=$(($1 + 2)) 'NR == 2 {f = $4} NR == row {print $4, $4 / f}' "$work/times-$round.csv"
  done | sort -k2 -g | awk '{m[NR] = $1; r[NR] = $2} END {
    n = NR; for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (m[j] < m[i]) {t = m[i]; m[i] = m[j]; m[j] = t}
    mid = int((n + 1) / 2); printf "%.3f %.2f %.2f-%.2f", m[mid] * 1000, r[mid], r[1], r[n]}'
}

outputs=("$work/floor.png" "$work/date.png" "$work/calendar_header.png" "$work/calendar.png")
echo "hyperfine, $rounds rounds of $runs runs per command:"
printf '%-16s %12s %10s %12s %14s %12s\n' command "median (ms)" "x floor" "(rounds)" "peak RSS (MiB)" "PNG/optipng"
for i in "${!names[@]}"; do
  read -r median ratio range <<<"$(summarise "$i")"
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
  printf '%-16s %12s %10s %12s %14.2f %12s\n' "${names[$i]}" "$median" "$ratio" "$range" \
    "$(awk -v p="$peak" 'BEGIN {print p / 1024}')" "$size_ratio"
done

echo
echo "interleaved in a random order, $((runs * rounds)) rounds:"
shuffled=()
for i in "${!names[@]}"; do shuffled+=("${names[$i]}=${commands[$i]}"); done
build/bench/shuffled_runs $((runs * rounds)) "${shuffled[@]}"
