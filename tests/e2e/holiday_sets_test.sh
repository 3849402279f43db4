#!/usr/bin/env bash
# Whole runs with the holiday keys: Japan's holidays by the law of each year, no public
# holidays, a plain list of the user's own, region sets and iCalendar files (when their
# plugins are built), and holiday files that cannot be used.
# Usage: holiday_sets_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
plugins=$(dirname "$binary")

# check_grid MONTH HOLIDAYS: the picture shows MONTH (YYYY-MM) on the default grid, with
# HOLIDAYS its public holidays that are not Sundays; checks the heading row and every
# day cell. No TodayColor is set, so today has the colour of its kind.
check_grid() {
  local month=$1 holidays=" $2 "
  local first days day weekday expected
  for column in 0 1 2 3 4 5 6; do
    case $column in 0) expected=$SUNDAY ;; 6) expected=$SATURDAY ;; *) expected=$TEXT ;; esac
    expect "$month heading $column" "$(probe ink $((column * 24)) 0 $((column * 24 + 24)) 20)" "$expected"
  done
  first=$(weekday "$month-01")
  days=$(days_in_month "$month")
  for ((day = 1; day <= days; day++)); do
    weekday=$(weekday "$month-$(printf %02d "$day")")
    day_kind_colour "$weekday" "$day" "$holidays"
    expect "$month-$day ($3)" "$(day_ink "$first" "$day")" "$expected"
  done
}

# grid_table: lines "month | holidays that are not Sundays | settings (';' between lines)";
# each month is drawn on its 10th.
grid_table() {
  while IFS='|' read -r month holidays settings; do
    [ -n "$month" ] || continue
    IFS=';' read -r -a lines <<<"$settings"
    render "$month-10" '[Contents]' 'Type=Calendar' "${lines[@]}"
    check_grid "$month" "$holidays" "$settings"
  done
}

# The plain lists of the tests below.
printf '# our days\r\n2008-03-18 Birthday\r\n03-14\r\n; nothing\r\nnot a date\r\n2008-03-32\r\n1999-03-04\r\n' \
  >"$work/keep-days.txt"
mkdir -p "$work/keep-lists"
printf '03-03\n' >"$work/keep-lists/keep-days.txt"
printf '12-24 Heiligabend\n' >"$work/keep-eve.txt"

# Japan: the days the built-in table gets wrong in 2026 (February 23, May 6, August 11,
# September 22 and December 23), the 2019 accession, the 2020 and 2021 moves, and the
# years of the older rules.
grid_table <<'EOF_TABLE'
2026-02|11 23|Holidays=JP
2026-05|4 5 6|Holidays=jp
2026-08|11|Holidays=JP
2026-09|21 22 23|Holidays=JP
2026-12||Holidays=JP
2019-04|29 30|Holidays=JP
2019-05|1 2 3 4 6|Holidays=JP
2019-10|14 22|Holidays=JP
2020-07|23 24|Holidays=JP
2020-10||Holidays=JP
2021-08|9|Holidays=JP
1951-09|24|Holidays=JP
1966-09|15 23|Holidays=JP
1973-04|30|Holidays=JP
1988-05|3 4 5|Holidays=JP
1948-05||Holidays=JP
1948-11|3 23|Holidays=JP
2026-09||Holidays=none
2008-03||Holidays=NONE
2008-03||Holidays=xx-nowhere
2008-03|20|Holidays=
EOF_TABLE

# The Date picture follows the same set.
while IFS='|' read -r day settings expected; do
  IFS=';' read -r -a lines <<<"$settings"
  render "$day" '[Contents]' 'Type=Date' 'Format=dddd d MMMM yyyy' "${lines[@]}"
  expect "Date on $day with $settings" "$(probe ink 0 0 10000 10000)" "${!expected}"
done <<'EOF_TABLE'
2026-02-23|Holidays=JP|SUNDAY
2026-02-23||TEXT
2026-12-23|Holidays=JP|TEXT
2026-12-23||SUNDAY
2008-03-20|Holidays=none|TEXT
2008-03-22|Holidays=none|SATURDAY
2008-03-23|Holidays=none|SUNDAY
2008-03-18|HolidayFile=keep-days.txt|SUNDAY
EOF_TABLE

# A plain list, found as the TodayImage would be: in the working folder, in the [Image]
# Path folder, or by its full path. Bad lines are skipped.
grid_table <<EOF_TABLE
2008-03|14 18 20|HolidayFile=keep-days.txt
2008-03|14 18|Holidays=none;HolidayFile=keep-days.txt
2009-03|14 20|HolidayFile=keep-days.txt
2008-03|3 20|[Image];Path=$work/keep-lists/;File=$work/out.png;[Contents];HolidayFile=keep-days.txt
2008-03|3 20|HolidayFile=$work/keep-lists/keep-days.txt
2008-03|14 18 20|HolidayFile=keep-days.txt;Holidays=JP;[Text];Color=RGB(10, 20, 30)
EOF_TABLE

# Regions of the holidays library: days every user of the region knows, and words that
# name no single region. Only days off count, and a holiday on a Saturday is red.
[ -e "$plugins/orvendale-holidays-kde.so" ] || fail "the region plugin is not built beside the binary"
grid_table <<'EOF_TABLE'
2024-12|25 26|Holidays=gb-eaw
2021-12|25 27 28|Holidays=GB-EAW
2024-11|11 28|Holidays=us
2025-11|11 27|Holidays=us_en-us
2025-04|18 21|Holidays=de-by
2025-10|3|Holidays=de-by
2025-06|9 19|Holidays=de-by
2025-06|9|Holidays=de-be
2008-03|21 24|Holidays=de-by_de
2025-06||Holidays=xx-nowhere
2025-06||Holidays=be
2025-12|24 25 26|Holidays=de-by;HolidayFile=keep-eve.txt
EOF_TABLE

# iCalendar files, each event checked through a grid: all-day events of one and of
# several days (CR LF), a yearly birthday with one year excluded (LF), timed events
# across midnight in UTC and in a time zone of their own, and a folded line.
ics() { # name, then the events' lines; CR LF unless the name ends in -lf.ics
  local name=$1; shift
  local end=$'\r\n'
  [[ "$name" == *-lf.ics ]] && end=$'\n'
  {
    printf "BEGIN:VCALENDAR${end}VERSION:2.0${end}PRODID:-//Orvendale tests//EN${end}"
    printf "%s${end}" "$@"
    printf "END:VCALENDAR${end}"
  } >"$work/$name"
}
ics keep-all-day.ics BEGIN:VEVENT UID:one@test 'DTSTART;VALUE=DATE:20250305' SUMMARY:One END:VEVENT \
  BEGIN:VEVENT UID:three@test 'DTSTART;VALUE=DATE:20250317' 'DTEND;VALUE=DATE:20250320' END:VEVENT
ics keep-birthday-lf.ics BEGIN:VEVENT UID:birthday@test 'DTSTART;VALUE=DATE:19900612' RRULE:FREQ=YEARLY \
  'EXDATE;VALUE=DATE:20250612' 'SUMMARY:Grandmother' END:VEVENT
ics keep-timed.ics BEGIN:VTIMEZONE TZID:Europe/Berlin BEGIN:DAYLIGHT TZOFFSETFROM:+0100 TZOFFSETTO:+0200 \
  DTSTART:19700329T020000 'RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU' END:DAYLIGHT BEGIN:STANDARD \
  TZOFFSETFROM:+0200 TZOFFSETTO:+0100 DTSTART:19701025T030000 'RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU' \
  END:STANDARD END:VTIMEZONE \
  BEGIN:VEVENT UID:party@test 'DTSTART;TZID=Europe/Berlin:20250710T220000' \
  'DTEND;TZID=Europe/Berlin:20250711T030000' 'SUMMARY:A party that goes on' ' past midnight' END:VEVENT \
  BEGIN:VEVENT UID:utc@test DTSTART:20250714T233000Z DTEND:20250715T003000Z END:VEVENT \
  BEGIN:VEVENT UID:folded@test 'DTSTART;VALUE=DA' ' TE:20250722' END:VEVENT
grid_table <<'EOF_TABLE'
2025-03|5 17 18 19|HolidayFile=keep-all-day.ics;Holidays=none
2025-03|5 17 18 19 20|HolidayFile=keep-all-day.ics
2024-06|12|HolidayFile=keep-birthday-lf.ics;Holidays=none
2025-06||HolidayFile=keep-birthday-lf.ics;Holidays=none
2026-06|12|HolidayFile=keep-birthday-lf.ics;Holidays=none
1990-06|12|HolidayFile=keep-birthday-lf.ics;Holidays=none
1989-06||HolidayFile=keep-birthday-lf.ics;Holidays=none
2025-07|10 11 14 15 22|HolidayFile=keep-timed.ics;Holidays=none
EOF_TABLE
# In Tokyo the party starts at 5 in the morning of the 11th, and the UTC event lies
# within the 15th.
TZ=Asia/Tokyo grid_table <<'EOF_TABLE'
2025-07|11 15 22|HolidayFile=keep-timed.ics;Holidays=none
EOF_TABLE

# Calendar files a run must survive in bounded time: cut short, malformed, thousands of
# events, recurrences without end or with absurd counts. The picture is drawn all the same.
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:2025030' >"$work/keep-cut.ics"
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:garbage\r\nRRULE:FREQ=NEVER;COUNT=-5\r\nEND:VEVENT\r\nEND:VEVENT\r\n' \
  >"$work/keep-malformed.ics"
{
  printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\n'
  for ((i = 0; i < 20000; i++)); do
    printf 'BEGIN:VEVENT\r\nUID:%d@test\r\nDTSTART;VALUE=DATE:2025%02d%02d\r\nEND:VEVENT\r\n' $i $((i % 12 + 1)) $((i % 28 + 1))
  done
  printf 'END:VCALENDAR\r\n'
} >"$work/keep-many.ics"
ics keep-endless.ics BEGIN:VEVENT UID:daily@test DTSTART:19040101T000000Z RRULE:FREQ=SECONDLY END:VEVENT \
  BEGIN:VEVENT UID:count@test 'DTSTART;VALUE=DATE:19040101' 'RRULE:FREQ=DAILY;COUNT=2000000000' END:VEVENT \
  BEGIN:VEVENT UID:interval@test 'DTSTART;VALUE=DATE:19040101' 'RRULE:FREQ=YEARLY;INTERVAL=4294967297;BYSETPOS=-366' END:VEVENT
for file in keep-cut.ics keep-malformed.ics keep-many.ics keep-endless.ics; do
  render 2025-03-10 '[Contents]' 'Type=Calendar' "HolidayFile=$file"
  expect "HolidayFile=$file" "$(picture_size)" "168 140"
done

# Files that give no days: the picture is the one without the file, exit 0, no output.
mkdir -p "$work/keep-folder"
: >"$work/keep-empty.txt"
head -c 300000 /dev/urandom >"$work/keep-binary.bin"
{ for ((i = 0; i < 400000; i++)); do echo "03-18 line $i"; done; } >"$work/keep-huge.txt"  # 6 MiB
render 2008-03-10 '[Contents]' 'Type=Calendar'
plain=$(probe hash)
render 2008-03-10 '[Contents]' 'Type=Calendar' 'Holidays='
expect "Holidays= is the built-in table" "$(probe hash)" "$plain"
mkfifo "$work/keep-pipe"
for file in keep-pipe keep-absent.txt keep-folder keep-empty.txt keep-binary.bin keep-huge.txt /dev/zero /dev/null ''; do
  render 2008-03-10 '[Contents]' 'Type=Calendar' "HolidayFile=$file"
  expect "HolidayFile=$file" "$(probe hash)" "$plain"
done

finish
