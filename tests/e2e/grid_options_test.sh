#!/usr/bin/env bash
# Whole runs of the month grid with its layout options on fixed days: the first weekday,
# week numbers, the days of the neighbouring months and rows as needed. Every cell of
# each grid is checked against the system's own calendar (date(1)): what it shows, in
# which colour, and the number it shows where a reference drawing of that number exists.
# Usage: grid_options_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

OTHER=a0a0a0  # the default OtherMonthColor
WEEK=007800
WEEK_COLOR='WeekNumberColor=RGB(0, 120, 0)'
names=(Sun Mon Tue Wed Thu Fri Sat)

# Reference drawings of the numbers 1 to 31 in one colour: March 2008 (day 1 on a
# Saturday) with every day colour set to it. glyph_COLOUR[N] is the hash of a 24 x 20
# cell showing N.
declare -A glyph
reference_glyphs() { # colour-word rrggbb, "R, G, B"
  render 2008-03-10 '[Contents]' 'Type=Calendar' '[Text]' "Color=RGB($2)" "SundayColor=RGB($2)" \
    "SaturdayColor=RGB($2)"
  mapfile -t cells < <(probe cells 0 20 24 20 7 6)
  for ((day = 1; day <= 31; day++)); do
    glyph[$1.$day]=${cells[$(((day + 5) * 2))]}
  done
}
reference_glyphs "$OTHER" "160, 160, 160"
reference_glyphs "$WEEK" "0, 120, 0"
reference_glyphs "$TEXT" "10, 20, 30"

# check_grid MONTH FIRST WEEKS NEIGHBOURS ROWS HOLIDAYS WEEKCOLOUR [SETTINGS...]: the
# picture just drawn shows MONTH (YYYY-MM) in cells of 24 x 20 without margins, with
# FIRST (0-6) as first weekday, WEEKS none, ISO or US, NEIGHBOURS 0 or 1, ROWS 6 or auto;
# HOLIDAYS are the month's public holidays that are not Sundays; WEEKCOLOUR the colour of
# the week column.
check_grid() {
  local month=$1 first=$2 weeks=$3 neighbours=$4 rows=$5 holidays=" $6 " week_colour=$7
  local label="$month first ${names[$first]} weeks $weeks neighbours $neighbours rows $rows"
  local left=0 start days first_column row_count
  [ "$weeks" = none ] || left=24
  start=$(weekday "$month-01")
  days=$(days_in_month "$month")
  first_column=$(((start - first + 7) % 7))
  row_count=6
  [ "$rows" = auto ] && row_count=$(((first_column + days + 6) / 7))
  expect "$label: size" "$(picture_size)" "$((left + 168)) $((20 + 20 * row_count))"

  # The heading: weekday names rotated, coloured by weekday wherever they stand.
  local column weekday expected
  for ((column = 0; column < 7; column++)); do
    weekday=$(((first + column) % 7))
    case $weekday in 0) expected=$SUNDAY ;; 6) expected=$SATURDAY ;; *) expected=$TEXT ;; esac
    expect "$label: heading $column" "$(probe ink $((left + column * 24)) 0 $((left + column * 24 + 24)) 20)" \
      "$expected"
  done
  [ "$weeks" = none ] || expect "$label: week heading" "$(probe ink 0 0 24 20)" "$week_colour"

  # The date of every cell, from the system's calendar: year, day, weekday, ISO week,
  # seconds since the epoch.
  local -a dates cells weekcells
  mapfile -t dates < <(for ((k = 0; k < 7 * row_count; k++)); do
    echo "$month-01 $((k - first_column)) days"
  done | date -u -f - '+%Y %-d %w %-V %s')
  mapfile -t cells < <(probe cells "$left" 20 24 20 7 "$row_count")
  [ "$weeks" = none ] || mapfile -t weekcells < <(probe cells 0 20 24 20 1 "$row_count")

  local r k index year day week_ink number draws
  for ((r = 0; r < row_count; r++)); do
    draws=0
    for ((column = 0; column < 7; column++)); do
      k=$((r * 7 + column))
      read -r year day weekday _ _ <<<"${dates[$k]}"
      index=$((k - first_column + 1))
      if [ "$index" -ge 1 ] && [ "$index" -le "$days" ]; then
        draws=1
        day_kind_colour "$weekday" "$index" "$holidays"
        expect "$label: day $index" "${cells[$((2 * k + 1))]}" "$expected"
      elif [ "$neighbours" = 1 ] && [ "$year" -ge 1904 ] && [ "$year" -le 2031 ]; then
        draws=1
        expect "$label: neighbour $year $day at row $r column $column" "${cells[$((2 * k))]}" "${glyph[$OTHER.$day]}"
      else
        expect "$label: blank at row $r column $column" "${cells[$((2 * k + 1))]}" none
      fi
    done
    [ "$weeks" = none ] && continue
    # The row's number when it draws a day. ISO: the week of its Thursday, also at the
    # calendar's ends. US: rows counted from the row that holds the last January 1 up to
    # the row's end, which is week 1.
    number=
    if [ "$draws" = 1 ]; then
      local iso seconds row_start end_year jan1 jan1_row_start
      if [ "$weeks" = ISO ]; then
        read -r _ _ _ iso _ <<<"${dates[$((r * 7 + (4 - first + 7) % 7))]}"
        number=$iso
      else
        read -r _ _ _ _ seconds <<<"${dates[$((r * 7))]}"
        row_start=$((seconds / 86400))
        read -r end_year _ <<<"${dates[$((r * 7 + 6))]}"
        jan1=$(($(date -u -d "$end_year-01-01" +%s) / 86400))
        # Day 0 of the epoch was a Thursday (4).
        jan1_row_start=$((jan1 - ((jan1 + 4) % 7 - first + 7) % 7))
        number=$(((row_start - jan1_row_start) / 7 + 1))
      fi
    fi
    week_ink=${weekcells[$((2 * r + 1))]}
    if [ -z "$number" ]; then
      expect "$label: no week number in row $r" "$week_ink" none
    elif [ "$number" -le 31 ] && [ -n "${glyph[$week_colour.$number]:-}" ]; then
      expect "$label: week $number in row $r" "${weekcells[$((2 * r))]}" "${glyph[$week_colour.$number]}"
    else
      expect "$label: week number ($number) in row $r" "$week_ink" "$week_colour"
    fi
  done
}

# month | day of the run | first weekday | weeks | neighbours | rows | holidays | extra settings
run_grids() {
  local month day first weeks neighbours rows holidays extra
  while IFS='|' read -r month day first weeks neighbours rows holidays extra; do
    [[ -z "$month" || "$month" == \#* ]] && continue
    local -a lines=('[Contents]' 'Type=Calendar' "FirstDay=${names[$first]}")
    [ "$weeks" = none ] || lines+=("WeekNumbers=$weeks")
    [ "$neighbours" = 1 ] && lines+=('OtherMonthDays=show')
    [ "$rows" = auto ] && lines+=('Rows=auto')
    local week_colour=$TEXT
    if [ "$extra" = week-colour ]; then
      lines+=('[Text]' "$WEEK_COLOR")
      week_colour=$WEEK
    fi
    render "$day" "${lines[@]}"
    check_grid "$month" "$first" "$weeks" "$neighbours" "$rows" "$holidays" "$week_colour"
  done
}

# Every first weekday, on a month that starts on it and on one that starts on the day
# before it (day 1 in the first and in the last column).
run_grids <<'EOF'
2009-02|2009-02-10|0|none|0|6|11|
2008-03|2008-03-10|0|none|0|6|20|
2008-12|2008-12-10|1|none|0|6|23|
2009-02|2009-02-10|1|none|0|6|11|
2008-04|2008-04-10|2|none|0|6|29|
2008-12|2008-12-10|2|none|0|6|23|
2004-12|2004-12-10|3|none|0|6|23|
2008-04|2008-04-10|3|none|0|6|29|
2009-01|2009-01-10|4|none|0|6|1 12|
2004-12|2004-12-10|4|none|0|6|23|
2008-02|2008-02-10|5|none|0|6|11|
2009-01|2009-01-10|5|none|0|6|1 12|
2008-03|2008-03-10|6|none|0|6|20|
2008-02|2008-02-10|6|none|0|6|11|
EOF

# Week numbers and neighbouring days across the turns of the year, February of a leap
# and of a common year, and the ends of the calendar, with six rows and as needed; US
# rows that hold January 1 (week 1, never 53 or 54) in Januaries and Decembers.
run_grids <<'EOF'
2009-01|2009-01-10|1|ISO|1|6|1 12|week-colour
2009-01|2009-01-10|0|US|1|auto|1 12|week-colour
2008-12|2008-12-10|1|ISO|1|6|23|week-colour
2008-12|2008-12-10|0|US|1|auto|23|
2004-12|2004-12-10|1|ISO|1|auto|23|week-colour
2005-01|2005-01-10|1|ISO|1|6|1 10|week-colour
2005-01|2005-01-10|3|ISO|0|auto|1 10|week-colour
2000-12|2000-12-10|4|US|1|6|23|week-colour
2028-12|2028-12-10|6|US|1|auto|23|week-colour
2008-02|2008-02-10|1|ISO|1|auto|11|week-colour
2008-02|2008-02-10|0|none|1|6|11|
2009-02|2009-02-10|1|ISO|1|auto|11|week-colour
2009-02|2009-02-10|0|none|0|auto|11|
2009-02|2009-02-10|0|US|1|6|11|week-colour
1904-01|1904-01-10|1|ISO|1|auto|1 11|week-colour
1904-01|1904-01-10|0|US|1|6|1 11|week-colour
1904-01|1904-01-10|5|ISO|1|6|1 11|
2031-12|2031-12-10|1|ISO|1|6|23|week-colour
2031-12|2031-12-10|6|US|1|auto|23|week-colour
2031-12|2031-12-10|4|ISO|1|auto|23|
2021-01|2021-01-10|0|US|0|6|1 11|week-colour
2026-01|2026-01-10|0|US|1|auto|1 12|week-colour
2027-01|2027-01-10|0|US|0|auto|1 11|week-colour
2026-12|2026-12-10|0|US|1|6|23|week-colour
2027-01|2027-01-10|1|US|1|6|1 11|week-colour
2000-12|2000-12-10|0|US|0|6|23|week-colour
EOF

# Neighbouring days are never today: with Offset 1 on 2008-03-31 the first row of April
# shows March 30 and 31 in the neighbours' colour, without today's colour or image.
"$probe" make "$work/keep-image.png" png 16 16 ffff8000
render 2008-03-31 '[Contents]' 'Type=Calendar' 'OtherMonthDays=show' 'Offset=1' 'TodayImage=keep-image.png' \
  '[Text]' 'TodayColor=RGB(0, 200, 0)'
check_grid 2008-04 0 none 1 6 29 "$TEXT"
expect "today as a neighbour" "$(probe ink 0 0 168 140 | tr ' ' '\n' | grep -cE "^($TODAY|$IMAGE)$" || true)" 0
# Today's image lies over the neighbours' days, drawn before it: on 2008-03-01 (column
# 6 of the first row) an image 40 pixels wide reaches into the cell of February 29.
"$probe" make "$work/keep-png-40" png 40 16 ffff8000
render 2008-03-01 '[Contents]' 'Type=Calendar' 'OtherMonthDays=show' 'TodayImage=keep-png-40' \
  '[Text]' 'TodayColor=RGB(0, 200, 0)'
expect "image over the neighbour before today" "$(probe ink 136 22 144 38)" "$IMAGE"

# The week heading comes from [ShortName] Week, cut to 7 characters like the other names.
render 2008-03-10 '[Contents]' 'Type=Calendar' 'WeekNumbers=ISO' '[ShortName]' 'Week=Wk'
wk=$(probe hash 0 0 24 20)
render 2008-03-10 '[Contents]' 'Type=Calendar' 'WeekNumbers=ISO'
expect "default week heading" "$(probe hash 0 0 24 20)" "$wk"
render 2008-03-10 '[Contents]' 'Type=Calendar' 'WeekNumbers=ISO' 'RasterX=90' '[ShortName]' 'Week=Kalende'
cut=$(probe hash 0 0 90 20)
render 2008-03-10 '[Contents]' 'Type=Calendar' 'WeekNumbers=ISO' 'RasterX=90' '[ShortName]' 'Week=Kalenderwoche'
expect "week heading cut to 7 characters" "$(probe hash 0 0 90 20)" "$cut"
render 2008-03-10 '[Contents]' 'Type=Calendar' 'WeekNumbers=ISO' '[ShortName]' 'Week='
expect "empty week heading" "$(probe ink 0 0 24 20)" none

# Sizes: the week column adds a cell to a width of 0, never to an explicit one; rows as
# needed set a height of 0, never an explicit one; margins add as always. Sizes beyond
# 32 bits or the surface limit give no picture.
sizes() {
  local day settings expected
  while IFS='|' read -r day settings expected; do
    IFS=';' read -r -a lines <<<"$settings"
    render "$day" '[Contents]' 'Type=Calendar' "${lines[@]}"
    expect "size of $day $settings" "$(picture_size)" "$expected"
  done
}
sizes <<'EOF'
2008-03-10|WeekNumbers=ISO|192 140
2008-03-10|WeekNumbers=US;Rows=auto|192 140
2009-02-10|Rows=auto|168 100
2009-02-10|Rows=auto;FirstDay=Mon|168 120
2009-02-10|Rows=auto;FirstDay=Mon;WeekNumbers=ISO;OtherMonthDays=show|192 120
2009-02-10|Rows=auto;WeekNumbers=ISO;[Image];MarginX=3;MarginY=2|198 104
2009-02-10|Rows=auto;WeekNumbers=ISO;[Image];Width=100;Height=50|100 50
2009-02-10|Rows=auto;WeekNumbers=ISO;[Image];Width=100;Height=50;MarginX=3;MarginY=2|106 54
2009-02-10|Rows=auto;WeekNumbers=ISO;[Image];Width=100|100 100
2009-02-10|Rows=auto;WeekNumbers=ISO;[Image];Height=50|192 50
2009-02-10|WeekNumbers=ISO;[Image];Width=65536;Height=65536|192 140
2008-03-10|Rows=auto;WeekNumbers=ISO;RasterX=30;RasterY=10|240 70
2008-03-10|Rows=auto;Offset=600|168 20
2008-03-10|Rows=auto;WeekNumbers=ISO;Offset=-1300;[Image];MarginY=5|192 30
2008-03-10|WeekNumbers=ISO;Offset=600|192 140
2008-03-10|WeekNumbers=ISO;RasterX=268435456|none
2008-03-10|WeekNumbers=ISO;RasterX=300000000;RasterY=1|none
2008-03-10|WeekNumbers=ISO;RasterX=1300000;RasterY=1|none
2008-03-10|WeekNumbers=ISO;RasterX=2147483647;RasterY=2147483647|none
2008-03-10|Rows=auto;RasterY=2147483647|none
2008-03-10|WeekNumbers=ISO;RasterX=-24|none
2008-03-10|WeekNumbers=ISO;RasterX=-2147483648;[Image];Width=100|100 140
2008-03-10|WeekNumbers=ISO;RasterX=0;RasterY=0;[Image];Width=10;Height=10|10 10
EOF

# Unknown words, empty values, tabs and overlong values leave the grid as it always was.
render 2008-03-10 '[Contents]' 'Type=Calendar'
plain=$(probe hash)
long=$(printf 'Mon%.0s' {1..80})
tab=$(printf '\t')
while IFS= read -r settings; do
  IFS=';' read -r -a lines <<<"$settings"
  render 2008-03-10 '[Contents]' 'Type=Calendar' "${lines[@]}"
  expect "grid with $settings" "$(probe hash)" "$plain"
done <<EOF
FirstDay=Monday;WeekNumbers=ISO8601;OtherMonthDays=yes;Rows=5
FirstDay=;WeekNumbers=;OtherMonthDays=;Rows=
FirstDay=${tab}Mon;WeekNumbers=ISO${tab};OtherMonthDays=show${tab};Rows=${tab}auto
FirstDay=$long;WeekNumbers=$long;OtherMonthDays=$long;Rows=$long
FirstDay=Sun;[Image];FirstDay=Mon;WeekNumbers=ISO;OtherMonthDays=show;Rows=auto
[Text];WeekNumberColor=RGB(1, 2, 3);OtherMonthColor=RGB(4, 5, 6);[ShortName];Week=KW
EOF

# The one-line pictures ignore the grid's options.
for type in Date CalendarHeader; do
  render 2008-03-10 '[Contents]' "Type=$type" 'Format=d MMMM yyyy'
  line=$(probe hash)
  render 2008-03-10 '[Contents]' "Type=$type" 'Format=d MMMM yyyy' 'FirstDay=Mon' 'WeekNumbers=ISO' \
    'OtherMonthDays=show' 'Rows=auto' '[Text]' "$WEEK_COLOR"
  expect "$type with grid options" "$(probe hash)" "$line"
done

finish
