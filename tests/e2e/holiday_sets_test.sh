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
    if [ "$weekday" = 0 ] || [[ "$holidays" == *" $day "* ]]; then
      expected=$SUNDAY
    elif [ "$weekday" = 6 ]; then
      expected=$SATURDAY
    else
      expected=$TEXT
    fi
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
