#!/usr/bin/env bash
# The user's calendars ([Events] File1..File8) on bad input: a missing file or folder, a
# folder of 10,050 files, binary and unreadable files named .ics, link loops, a device and
# a named pipe, summaries of 100 KB with control and direction characters, rules without
# end. Every run, of a grid and of an agenda, ends with exit code 0, prints nothing, draws
# its picture within the time limit, and --check names what it could not read.
# Usage: event_bad_input_test.sh path/to/orvendale path/to/png_probe
set -euo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
export TZ=UTC
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

event() { # lines of one VEVENT
  printf 'BEGIN:VEVENT\r\n%s\r\nEND:VEVENT\r\n' "$1"
}
calendar() { # body
  printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n%sEND:VCALENDAR\r\n' "$1"
}

mkdir -p "$work/many" "$work/mixed/sub.ics"
good=$(calendar "$(event 'DTSTART;VALUE=DATE:20260710')")
for i in $(seq 10000 20049); do printf '%s' "$good" >"$work/many/$i.ics"; done
printf '%s' "$good" >"$work/mixed/good.ics"
head -c 4096 /dev/urandom >"$work/mixed/random.ics"
ln -s loop.ics "$work/mixed/loop.ics"
ln -s . "$work/mixed/self"
ln -s /dev/zero "$work/mixed/zero.ics"
mkfifo "$work/mixed/pipe.ics"
ln -s loop.ics "$work/loop.ics"
head -c 65536 /dev/urandom >"$work/binary.ics"
summary=$(head -c 100000 /dev/zero | tr '\0' 'x')
calendar "$(event "DTSTART;VALUE=DATE:20260710
SUMMARY:$(printf '\342\200\256')evil$(printf '\033')[31m \\n$summary")" >"$work/long-summary.ics"
calendar "$(event 'DTSTART:19040101T000000Z
RRULE:FREQ=SECONDLY')$(event 'DTSTART:19040101T000000Z
RRULE:FREQ=MINUTELY')$(event 'DTSTART;VALUE=DATE:19040101
RRULE:FREQ=DAILY')$(event 'DTSTART:20260701T000000Z
RRULE:FREQ=HOURLY;BYDAY=MO;BYMONTHDAY=31;BYMONTH=2')" >"$work/endless.ics"

for name in missing.ics missing-folder/ many mixed loop.ics binary.ics long-summary.ics endless.ics /dev/zero "$work/mixed/pipe.ics"; do
  for type in Calendar Agenda; do
    label="$type with $name"
    printf '[Image]\nFile=%s/out.png\n[Contents]\nType=%s\nDays=31\nLines=20\n[Events]\nFile1=%s\nFile2=%s/mixed/good.ics\n' \
      "$work" "$type" "$name" "$work" >"$work/settings.ini"
    # A relative name is looked up in the image folder, as HolidayFile is: give none.
    rm -f "$work/out.png"
    start=$(date +%s%N)
    status=0
    (cd "$work" && timeout 30 faketime '2026-07-08 12:00:00' "$binary" settings.ini >"$work/printed" 2>&1) || status=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    [ "$status" -eq 0 ] || fail "$label: exit code $status"
    [ -s "$work/printed" ] && fail "$label: printed $(head -c 200 "$work/printed")"
    [ -s "$work/out.png" ] || fail "$label: no picture"
    [ "$elapsed" -lt 12000 ] || fail "$label: took $elapsed ms"
  done
  (cd "$work" && timeout 30 faketime '2026-07-08 12:00:00' "$binary" --check settings.ini >"$work/found" 2>&1) || true
  case $name in
    missing.ics | missing-folder/ | loop.ics)
      grep -q "warning: \[Events\] File1 .* is neither a file nor a folder" "$work/found" ||
        fail "--check with $name: $(cat "$work/found")" ;;
    binary.ics)
      grep -q "warning: \[Events\] File1 .* is not iCalendar text" "$work/found" || fail "--check with $name: $(cat "$work/found")" ;;
    /dev/zero | */pipe.ics)
      grep -q "warning: \[Events\] File1 .* cannot be read" "$work/found" || fail "--check with $name: $(cat "$work/found")" ;;
    many)
      grep -q "holds more than 10000 .ics files" "$work/found" || fail "--check with $name: $(cat "$work/found")" ;;
    endless.ics)
      grep -q "warning: \[Events\] File1 .*: its recurrence rules ask for more work than a run does" "$work/found" ||
        fail "--check with $name: $(cat "$work/found")" ;;
    mixed)
      for skipped in random.ics loop.ics zero.ics pipe.ics sub.ics; do
        grep -q "the file '$skipped' .*a run skips it" "$work/found" || fail "--check with mixed: $skipped not named"
      done ;;
  esac
  grep -q "note: \[Events\] File2 .* is iCalendar text with 1 event" "$work/found" || fail "--check with $name: File2 not read"
done

# A holiday file of more than 10,000 events is read whole, and --check counts them all.
body=""
for i in $(seq 1 10001); do body+="BEGIN:VEVENT"$'\r\n'"DTSTART;VALUE=DATE:20260710"$'\r\n'"END:VEVENT"$'\r\n'; done
calendar "$body" >"$work/many-holidays.ics"
printf '[Image]\nFile=%s/out.png\n[Contents]\nType=Calendar\nHolidayFile=%s/many-holidays.ics\n' "$work" "$work" >"$work/holidays.ini"
(cd "$work" && faketime '2026-07-08 12:00:00' "$binary" --check holidays.ini >"$work/found" 2>&1) || true
grep -q "is iCalendar text with 10001 events" "$work/found" || fail "--check of 10,001 holidays: $(cat "$work/found")"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "calendars on bad input: every run drew its picture"
