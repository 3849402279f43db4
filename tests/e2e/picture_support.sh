# Sourced by the picture tests: runs of the binary on a fixed day, and checks of the
# picture it writes. The sourcing script is called with the binary's path and the
# probe's path (tests/e2e/png_probe.cpp).
set -euo pipefail
binary=$(realpath "$1")
probe=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A sanitizer build must accept libfaketime in front of its runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
export TZ=UTC

# The colours every test picture uses, as the probe prints them.
TEXT=0a141e
SUNDAY=c80000
SATURDAY=0000c8
TODAY=00c800
IMAGE=ff8000

# The settings that follow the test's own lines; since the first of two equal keys counts,
# a test's line overrides these.
base_settings() {
  printf '[Image]\nFile=out.png\n'
  printf '[Font]\nFace=DejaVu Sans\nHeight=-12\n'
  printf '[Text]\nColor=RGB(10, 20, 30)\nSundayColor=RGB(200, 0, 0)\nSaturdayColor=RGB(0, 0, 200)\n'
}

fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# expect NAME ACTUAL EXPECTED
expect() {
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

# render DAY LINE...: writes the settings (one argument per line, then the base settings)
# and runs the binary in $work as if it were noon UTC on DAY (YYYY-MM-DD). The run must
# end with exit code 0, print nothing and leave no file but its output behind. The
# picture, if any, is $work/out.png.
render() {
  local day=$1; shift
  rm -f "$work/out.png"
  { printf '%s\n' "$@"; base_settings; } >"$work/s.ini"
  local status=0
  (cd "$work" && timeout 120 faketime "$day 12:00:00" "$binary" s.ini >"$work/stdout" 2>"$work/stderr") ||
    status=$?
  [ "$status" -eq 0 ] || fail "$day $*: exit code $status"
  if [ -s "$work/stdout" ] || [ -s "$work/stderr" ]; then
    fail "$day $*: printed $(head -c 300 "$work/stdout" "$work/stderr")"
  fi
  local stray
  stray=$(cd "$work" && find . -type f ! -name s.ini ! -name out.png ! -name stdout ! -name stderr \
    ! -name 'keep-*' | head -3)
  [ -z "$stray" ] || fail "$day $*: left $stray"
}

# probe COMMAND ARGUMENTS...: asks the probe about $work/out.png.
probe() {
  local command=$1; shift
  "$probe" "$command" "$work/out.png" "$@" || true
}

# The size of the picture, or "none" when the run wrote no file.
picture_size() {
  if [ -e "$work/out.png" ]; then probe size; else echo none; fi
}

# Weekday of a day, 0 = Sunday, from the system's own calendar.
weekday() { date -u -d "$1" +%w; }
days_in_month() { date -u -d "$1-01 +1 month -1 day" +%d | sed 's/^0//'; }

# Sets `expected` to the colour of a day's number by its kind: SUNDAY for a Sunday or a day
# of HOLIDAYS (day numbers between spaces: " 3 21 "), SATURDAY for another Saturday, TEXT
# for every other day.
day_kind_colour() { # weekday, day, holidays
  if [ "$1" = 0 ] || [[ "$3" == *" $2 "* ]]; then
    expected=$SUNDAY
  elif [ "$1" = 6 ]; then
    expected=$SATURDAY
  else
    expected=$TEXT
  fi
}

# The ink of the cell of day DAY in a grid whose day 1 is in column FIRST, with cells of
# 24 x 20 and no margins: week row 1 lies under the heading row.
day_ink() { # first, day
  local index=$(($1 + $2 - 1))
  local left=$((index % 7 * 24)) top=$((index / 7 * 20 + 20))
  probe ink "$left" "$top" $((left + 24)) $((top + 20))
}

finish() {
  [ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
}
