#!/usr/bin/env bash
# The user's calendars as a run reads them, against an independent expansion of the same
# files (tests/e2e/events_reference.py: Python's icalendar and dateutil.rrule): the days
# marked and the agenda's instances over whole months, in three time zones, for the
# fixture calendars of tests/plugins/data/events (written for these tests: all-day, timed
# across midnight, recurring with exceptions and moved instances, cancelled, time zones, a
# folder with mixed files), a real calendar published by its owner (public/, see
# SOURCES.txt there) and the example calendars.
# Usage: events_reference_test.sh path/to/orvendale path/to/png_probe
set -euo pipefail
binary=$(realpath "$1")
probe=$(dirname "$(realpath "$2")")/event_probe
root=$(cd "$(dirname "$0")/../.." && pwd)
# The system's Python has the Debian packages; another python3 first on PATH may not.
python=
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import icalendar, dateutil.rrule' 2>/dev/null; then
    python=$candidate
    break
  fi
done
if [ -z "$python" ]; then
  echo "SKIP: python3 with the icalendar and dateutil modules is needed (python3-icalendar python3-dateutil)"
  exit 77
fi
export ORVENDALE_PLUGIN_DIR=$(dirname "$binary")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
compared=0
data=$root/tests/plugins/data/events
for zone in UTC Europe/Berlin America/New_York; do
  for calendar in "$data"/*.ics "$data/vdir" "$data"/public/*.ics "$root/examples/calendars/personal" \
    "$root/examples/calendars/work.ics"; do
    windows=("2025 12 12" "2026 12 2")
    # A real calendar also from the months its rules began in.
    [[ "$calendar" != "$data"/public/* ]] || windows+=("2010 3 12")
    for window in "${windows[@]}"; do
      # shellcheck disable=SC2086
      TZ=$zone "$probe" "$calendar" $window | sed 's/ *$//' >"$work/program"
      # shellcheck disable=SC2086
      TZ=$zone "$python" "$root/tests/e2e/events_reference.py" "$calendar" $window >"$work/reference"
      compared=$((compared + 1))
      if ! diff -u "$work/reference" "$work/program" >"$work/diff"; then
        echo "FAIL $(basename "$calendar") in $zone from ${window% *}: reference (-) and program (+) differ"
        head -n 40 "$work/diff"
        failures=$((failures + 1))
      fi
      if [ "$window" = "2025 12 12" ] && ! grep -q "^D " "$work/reference"; then
        echo "FAIL $(basename "$calendar") in $zone: no days at all"
        failures=$((failures + 1))
      fi
    done
  done
done
[ "$failures" -eq 0 ] || { echo "$failures of $compared comparisons failed"; exit 1; }
echo "$compared calendars and windows as the reference expands them"
