#!/usr/bin/env bash
# Which libraries a run maps: a run without the holiday keys, or with sets that need no
# plugin, maps neither the region library (and its toolkit) nor the iCalendar library;
# a region run maps only the region plugin, a calendar-file run only the iCalendar one.
# The dynamic loader lists every object it loads (LD_DEBUG=files), dlopen included.
# Usage: holiday_libraries_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
plugins=$(dirname "$binary")
heavy='libQt5|libKF5Holidays|libical|orvendale-holidays-kde|orvendale-ical'

# loaded LINE...: renders as `render` does and prints the heavy objects the run loaded,
# one a line, sorted; "none" when there are none.
loaded() {
  rm -f "$work"/keep-ld.*
  LD_DEBUG=files LD_DEBUG_OUTPUT="$work/keep-ld" render 2008-03-20 "$@"
  local found
  found=$(cat "$work"/keep-ld.* 2>/dev/null | grep -oE "file=[^ ]*($heavy)[^ ]*" | sed 's/^file=//; s#.*/##' |
    sed -E 's/\.so.*//' | sort -u | tr '\n' ' ' | sed 's/ $//')
  rm -f "$work"/keep-ld.*
  echo "${found:-none}"
}

# A sanity check of the method: the loader's list names the libraries every run maps.
LD_DEBUG=files LD_DEBUG_OUTPUT="$work/keep-ld" render 2008-03-20 '[Contents]' 'Type=Calendar'
grep -q 'file=.*libfreetype' "$work"/keep-ld.* || fail "LD_DEBUG lists no loaded libraries"
rm -f "$work"/keep-ld.*

printf '03-14\n' >"$work/keep-days.txt"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20080314\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
  >"$work/keep-days.ics"

while IFS='|' read -r what settings; do
  IFS=';' read -r -a lines <<<"$settings"
  expect "$what" "$(loaded '[Contents]' "${lines[@]}")" none
done <<'EOF_TABLE'
default grid|Type=Calendar
default date|Type=Date;Format=d
Japan|Type=Calendar;Holidays=JP
none|Type=Calendar;Holidays=none
plain list|Type=Calendar;HolidayFile=keep-days.txt
a heading has no day colours|Type=CalendarHeader;Format=MMMM;Holidays=de-by;HolidayFile=keep-days.ics
no picture|Type=nothing;Holidays=de-by;HolidayFile=keep-days.ics
EOF_TABLE

if [ -e "$plugins/orvendale-holidays-kde.so" ]; then
  expect "region" "$(loaded '[Contents]' 'Type=Calendar' 'Holidays=de-by' | grep -oE 'libKF5Holidays|libQt5Core|orvendale-holidays-kde' | sort | tr '\n' ' ')" \
    "libKF5Holidays libQt5Core orvendale-holidays-kde "
  expect "region maps no calendar library" "$(loaded '[Contents]' 'Type=Calendar' 'Holidays=de-by' | grep -c ical)" 0
else
  echo "the region plugin is not built: its half skipped"
fi
if [ -e "$plugins/orvendale-ical.so" ]; then
  expect "calendar file" "$(loaded '[Contents]' 'Type=Calendar' 'HolidayFile=keep-days.ics')" "libical orvendale-ical"
else
  echo "the iCalendar plugin is not built: its half skipped"
fi

# --holiday-regions lists every region code with its name, sorted; without the plugin it
# says so on standard error and exits with 1.
status=0
"$binary" --holiday-regions >"$work/keep-regions" 2>"$work/keep-errors" || status=$?
expect "--holiday-regions: exit code" "$status" 0
expect "--holiday-regions: count" "$(wc -l <"$work/keep-regions")" 147
expect "--holiday-regions: Bavaria" "$(grep -c $'^de-by_de\tGermany, Bavaria$' "$work/keep-regions")" 1
expect "--holiday-regions: sorted" "$(LC_ALL=C sort -c "$work/keep-regions" 2>&1 && echo sorted)" sorted
expect "--holiday-regions: quiet" "$(cat "$work/keep-errors")" ""
mkdir -p "$work/keep-alone"
cp "$binary" "$work/keep-alone/orvendale"
status=0
"$work/keep-alone/orvendale" --holiday-regions >"$work/keep-regions" 2>"$work/keep-errors" || status=$?
expect "--holiday-regions without the plugin: exit code" "$status" 1
expect "--holiday-regions without the plugin: output" "$(cat "$work/keep-regions")" ""
grep -q 'orvendale-holidays-kde.so' "$work/keep-errors" || fail "--holiday-regions without the plugin: no message"

finish
