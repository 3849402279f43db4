#!/usr/bin/env bash
# Whole runs on fixed days: picture sizes, where the text and the grid's cells lie, and
# where today's image lands. Usage: picture_geometry_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

# run_table: reads a table of runs, one per line: day | settings (";" between lines) | check.
# The check is a command run after the render; it sees the row as $row.
run_table() {
  local day settings check
  while IFS='|' read -r day settings check; do
    IFS=';' read -r -a lines <<<"$settings"
    render "$day" "${lines[@]}"
    row="$day $settings"
    eval "$check"
  done
}

# The measured size of the text "1" (the day of 2008-03-01), margins 0.
render 2008-03-01 '[Contents]' 'Type=Date' 'Format=d'
read -r text_width text_height <<<"$(picture_size)"
[ "$text_width" -gt 0 ] && [ "$text_height" -gt 0 ] || fail "measured text size $text_width x $text_height"

size_is() { expect "size of $row" "$(picture_size)" "$1"; }
run_table <<EOF
2008-03-01|[Contents];Type=Date;Format=d;[Image];Width=100;MarginX=5;Height=20|size_is "110 20"
2008-03-01|[Contents];Type=CalendarHeader;Format=d;[Image];Width=100;MarginX=5;Height=20|size_is "110 20"
2008-03-01|[Contents];Type=Date;Format=d;[Image];Width=65536;Height=65536|size_is "$text_width $text_height"
2008-03-01|[Contents];Type=Date;Format=d;[Image];MarginX=3;MarginY=2|size_is "$((text_width + 6)) $((text_height + 4))"
2008-03-01|[Contents];Type=Date;Format=d;[Image];Width=65535;MarginX=1;Height=131082|size_is "1 10"
2008-03-01|[Contents];Type=Date;Format=d;[Image];Width=-4;MarginX=2|size_is none
2008-03-01|[Contents];Type=Date;Format=d;[Image];Height=65535|size_is none
2008-03-01|[Contents];Type=Calendar|size_is "168 140"
2008-03-01|[Contents];Type=Calendar;[Image];Width=200;MarginX=4|size_is "208 140"
2008-03-01|[Contents];Type=Calendar;RasterX=30;RasterY=10;[Image];MarginY=3|size_is "210 76"
2008-03-01|[Contents];Type=Calendar;[Image];Width=65536;Height=65536|size_is "168 140"
2008-03-01|[Contents];Type=Calendar;[Image];Width=65535;MarginX=1|size_is "1 140"
EOF

# The text sits on the bottom edge of the area inside the margins, at the side that
# Alignment names. Each picture is compared with the text drawn at its measured size
# with the same margin: the ink moves by the room the configured size adds.
render 2008-03-01 '[Contents]' 'Type=Date' 'Format=d' '[Image]' 'MarginX=5'
read -r ink_left ink_top ink_right ink_bottom <<<"$(probe box any)"
moved_by() { # dx dy
  expect "ink of $row" "$(probe box any)" \
    "$((ink_left + $1)) $((ink_top + $2)) $((ink_right + $1)) $((ink_bottom + $2))"
}
centred=$(((110 - text_width) / 2 - 5))
run_table <<EOF
2008-03-01|[Contents];Type=Date;Format=d;[Image];MarginX=5;Width=100;Height=30|moved_by 0 $((30 - text_height))
2008-03-01|[Contents];Type=Date;Format=d;Alignment=left;[Image];MarginX=5;Width=100;Height=30|moved_by 0 $((30 - text_height))
2008-03-01|[Contents];Type=Date;Format=d;Alignment=middle;[Image];MarginX=5;Width=100;Height=30|moved_by 0 $((30 - text_height))
2008-03-01|[Contents];Type=Date;Format=d;Alignment=right;[Image];MarginX=5;Width=100;Height=30|moved_by $((100 - text_width)) $((30 - text_height))
2008-03-01|[Contents];Type=Date;Format=d;Alignment=Right;[Image];MarginX=5;Width=100;Height=30|moved_by $((100 - text_width)) $((30 - text_height))
2008-03-01|[Contents];Type=Date;Format=d;Alignment=center;[Image];MarginX=5;Width=100;Height=30|moved_by $centred $((30 - text_height))
2008-03-01|[Contents];Type=CalendarHeader;Format=d;Alignment=center;[Image];MarginX=5;Width=100;Height=30|moved_by $centred $((30 - text_height))
EOF

# The grid's columns start at the left margin, one raster apart, whatever the width:
# with Width 200 and MarginX 4 the default picture appears shifted by 4 and nothing
# lies outside the seven columns.
render 2008-03-20 '[Contents]' 'Type=Calendar'
grid=$(probe hash)
render 2008-03-20 '[Contents]' 'Type=Calendar' '[Image]' 'Width=200' 'MarginX=4' 'MarginY=3'
expect "grid of width 200, margin 4" "$(probe hash 4 3 172 143)" "$grid"
expect "left of the columns" "$(probe ink 0 0 4 146)" none
expect "right of the columns" "$(probe ink 172 0 208 146)" none

# Every text of the grid sits at the right edge of its cell, centred in height, inside
# the cell: checked for every cell of a month with cells larger than the default.
render 2008-03-20 '[Contents]' 'Type=Calendar' 'RasterX=30' 'RasterY=26'
for ((cell = 0; cell < 49; cell++)); do
  left=$((cell % 7 * 30)) top=$((cell / 7 * 26))
  box=$(probe box any "$left" "$top" $((left + 30)) $((top + 26)))
  [ "$box" = none ] && continue
  read -r x0 y0 x1 y1 <<<"$box"
  [ $((left + 30 - x1)) -le 2 ] && [ "$x0" -gt "$left" ] ||
    fail "cell $cell: ink from x $x0 to $x1 is not at the right edge of $left..$((left + 30))"
  above=$((y0 - top)) below=$((top + 26 - y1))
  [ "$above" -gt 0 ] && [ "$below" -gt 0 ] && [ $((above - below)) -le 2 ] && [ $((below - above)) -le 3 ] ||
    fail "cell $cell: ink from y $y0 to $y1 is not centred in $top..$((top + 26))"
done

# Today's image is centred on today's cell, truncating toward zero: March 6, 2008 is in
# column 4 of week row 2, so with MarginX 4 its cell is 24 x 20 at (100, 40).
for kind in png bmp24 bmp32; do
  "$probe" make "$work/keep-$kind-16" "$kind" 16 16 ffff8000
done
for size in "25 20" "27 20" "30 30" "1 1"; do
  "$probe" make "$work/keep-png-${size/ /x}" png $size ffff8000
done
image_at() { expect "image of $row" "$(probe box "$IMAGE")" "$1"; }
platform_path=$(printf '%s' "$work" | tr / '\\')
run_table <<EOF
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-16;[Image];MarginX=4|image_at "104 42 120 58"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-bmp24-16;[Image];MarginX=4|image_at "104 42 120 58"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-bmp32-16;[Image];MarginX=4|image_at "104 42 120 58"
2008-03-06|[Contents];Type=Calendar;TodayImage=$work/keep-png-16;[Image];MarginX=4|image_at "104 42 120 58"
2008-03-06|[Contents];Type=Calendar;TodayImage=$platform_path\\keep-png-16;[Image];MarginX=4|image_at "104 42 120 58"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-25x20;[Image];MarginX=4|image_at "100 40 125 60"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-27x20;[Image];MarginX=4|image_at "99 40 126 60"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-30x30;[Image];MarginX=4|image_at "97 35 127 65"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-1x1;[Image];MarginX=4|image_at "111 49 112 50"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-16;RasterX=30;RasterY=31;[Image];MarginX=4|image_at "\$((4 + 4 * 30 + 7)) \$((2 * 31 + 7)) \$((4 + 4 * 30 + 23)) \$((2 * 31 + 23))"
2008-03-06|[Contents];Type=Calendar;TodayImage=keep-png-16;Offset=12;[Image];MarginX=4|image_at none
EOF

# The image is drawn after today's number, over it: inside the image only its colour
# shows, and the number's ink that it leaves uncovered keeps today's colour.
render 2008-03-06 '[Contents]' 'Type=Calendar' 'TodayImage=keep-png-16' '[Image]' 'MarginX=4' \
  '[Text]' 'TodayColor=RGB(0, 200, 0)'
expect "inside the image" "$(probe ink 104 42 120 58)" "$IMAGE"
expect "today's cell" "$(probe ink 100 40 124 60)" "$TODAY $IMAGE"

finish
