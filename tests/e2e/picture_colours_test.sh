#!/usr/bin/env bash
# Whole runs on fixed days: the colour of every day cell of whole months against the
# public holidays, today's colour, Offset, and the colour of the one-line pictures.
# Usage: picture_colours_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

# check_month MONTH HOLIDAYS TODAY: the picture shows MONTH (YYYY-MM) on the default grid;
# HOLIDAYS are its public holidays that are not Sundays; TODAY is the day drawn in the
# today colour, or empty. Checks the heading row, every day cell and that nothing else
# is drawn.
check_month() {
  local month=$1 holidays=" $2 " today=$3
  local first days day weekday expected last_index last_row_top
  for column in 0 1 2 3 4 5 6; do
    case $column in 0) expected=$SUNDAY ;; 6) expected=$SATURDAY ;; *) expected=$TEXT ;; esac
    expect "$month heading $column" "$(probe ink $((column * 24)) 0 $((column * 24 + 24)) 20)" "$expected"
  done
  first=$(weekday "$month-01")
  days=$(days_in_month "$month")
  for ((day = 1; day <= days; day++)); do
    weekday=$(weekday "$month-$(printf %02d "$day")")
    day_kind_colour "$weekday" "$day" "$holidays"
    [ "$day" = "$today" ] && expected=$TODAY
    expect "$month-$day" "$(day_ink "$first" "$day")" "$expected"
  done
  # Blank before day 1, after the last day in its row, and in every row below it.
  last_index=$((first + days - 1))
  last_row_top=$((last_index / 7 * 20 + 20))
  expect "$month before day 1" "$(probe ink 0 20 $((first * 24)) 40)" none
  expect "$month after the last day" "$(probe ink $((last_index % 7 * 24 + 24)) "$last_row_top" 168 140)" none
  expect "$month below the last row" "$(probe ink 0 $((last_row_top + 20)) 168 140)" none
}

TODAY_COLOR='TodayColor=RGB(0, 200, 0)'
"$probe" make "$work/keep-image.png" png 16 16 ffff8000

# month shown | day of the run | holidays that are not Sundays | today's cell | settings
while IFS='|' read -r month day holidays today settings; do
  IFS=';' read -r -a lines <<<"$settings"
  render "$day" '[Contents]' 'Type=Calendar' "${lines[@]}"
  check_month "$month" "$holidays" "$today"
done <<EOF
2008-03|2008-03-20|20||
2009-02|2009-02-11|11||
2007-09|2007-09-24|17 24||
2007-11|2007-11-03|3 23||
2008-05|2008-05-06|3 5||
2012-01|2012-01-02|2 9||
2007-12|2007-12-23|24||
2008-03|2008-03-20|20|20|[Text];$TODAY_COLOR
2008-03|2008-03-15|20|15|[Text];$TODAY_COLOR
2008-03|2008-03-03|20|3|[Text];$TODAY_COLOR
2008-04|2008-03-20|29||Offset=1;TodayImage=keep-image.png;[Text];$TODAY_COLOR
2007-12|2008-01-15|24||Offset=-1;TodayImage=keep-image.png;[Text];$TODAY_COLOR
2008-02|2008-03-31|11||Offset=65535;TodayImage=keep-image.png;[Text];$TODAY_COLOR
EOF

# The heading row is the same for every Offset; past December 2031 it is all there is.
render 2031-12-10 '[Contents]' 'Type=Calendar'
heading=$(probe hash 0 0 168 20)
expect "days of December 2031" "$(probe ink 0 20 168 140)" "$SATURDAY $TEXT $SUNDAY"
for offset in 1 25 -1536; do
  render 2031-12-10 '[Contents]' 'Type=Calendar' "Offset=$offset"
  expect "Offset $offset: heading" "$(probe hash 0 0 168 20)" "$heading"
  expect "Offset $offset: days" "$(probe ink 0 20 168 140)" none
  expect "Offset $offset: size" "$(picture_size)" "168 140"
done

# One-line pictures: Date in the colour of today's kind of day, CalendarHeader always
# in the text colour.
while IFS='|' read -r type day expected; do
  render "$day" '[Contents]' "Type=$type" 'Format=dddd d MMMM yyyy'
  expect "$type on $day" "$(probe ink 0 0 10000 10000)" "${!expected}"
done <<'EOF'
Date|2008-03-20|SUNDAY
Date|2008-03-16|SUNDAY
Date|2008-03-15|SATURDAY
Date|2007-11-03|SUNDAY
Date|2007-11-24|SATURDAY
Date|2008-05-06|TEXT
Date|2008-03-18|TEXT
CalendarHeader|2008-03-16|TEXT
CalendarHeader|2008-03-20|TEXT
CalendarHeader|2008-03-15|TEXT
EOF

# Offset moves the heading's month (the day held to the month's length) and not the
# date line: each pair must give the same picture, the last pair must differ.
# type | offset | day of the run | day drawn without offset | same or differ
while IFS='|' read -r type offset day equivalent relation; do
  render "$day" '[Contents]' "Type=$type" 'Format=d MMMM yyyy' "Offset=$offset"
  moved=$(probe hash)
  render "$equivalent" '[Contents]' "Type=$type" 'Format=d MMMM yyyy'
  if [ "$relation" = same ]; then
    expect "$type Offset $offset on $day" "$moved" "$(probe hash)"
  elif [ "$moved" = "$(probe hash)" ]; then
    fail "$type Offset $offset on $day draws the same as $equivalent"
  fi
done <<'EOF'
CalendarHeader|1|2008-01-31|2008-02-29|same
CalendarHeader|-1|2008-01-15|2007-12-15|same
CalendarHeader|13|2008-01-31|2009-02-28|same
CalendarHeader|65537|2008-01-31|2008-02-29|same
Date|1|2008-03-19|2008-03-19|same
CalendarHeader|1|2008-01-31|2008-01-31|differ
EOF

# Without a usable Format there is no picture.
while IFS='|' read -r type format expected; do
  render 2008-03-20 '[Contents]' "Type=$type" $format
  expect "$type with '$format'" "$([ -e "$work/out.png" ] && echo file || echo none)" "$expected"
done <<EOF
Date||none
CalendarHeader||none
Date|Format=|none
CalendarHeader|Format=|none
Date|Format=$(printf 'x%.0s' {1..64})|none
Date|Format=$(printf 'x%.0s' {1..63})|file
EOF

finish
