#!/usr/bin/env bash
# Settings files as Windows editors save them, and paths as launchers pass them: a UTF-8
# file with a byte-order mark, UTF-16 little and big endian with their marks, each with
# CR LF and with LF line ends and Japanese names, draw the same picture as the plain
# UTF-8 file. In UTF-16, an odd last byte and an unpaired surrogate read as U+FFFD. A
# settings path in double quotes reaches the file.
# Usage: windows_settings_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

# A Japanese date line and a month grid with Japanese weekday names; the date is a
# Thursday, 木曜日.
date_lines=(
  '; 今日の日付' '[Image]' 'File=out.png' 'MarginX=4' 'MarginY=2'
  '[Contents]' 'Type=Date' 'Format=yyyy年M月d日 dddd'
  '[Font]' 'Height=-16'
  '[LongName]' 'Sun=日曜日' 'Mon=月曜日' 'Tue=火曜日' 'Wed=水曜日' 'Thu=木曜日' 'Fri=金曜日' 'Sat=土曜日'
  '[Text]' 'Color=RGB(48, 48, 48)' 'SundayColor=RGB(204, 34, 34)'
)
grid_lines=(
  '[Image]' 'File=out.png'
  '[Contents]' 'Type=Calendar' 'RasterX=26' 'RasterY=20'
  '[ShortName]' 'Sun=日' 'Mon=月' 'Tue=火' 'Wed=水' 'Thu=木' 'Fri=金' 'Sat=土'
  '[Text]' 'Color=RGB(48, 48, 48)' 'SundayColor=RGB(204, 34, 34)' 'TodayColor=RGB(0, 200, 0)'
)

# draw NAME SETTINGS-FILE: the picture the settings file draws on a fixed day, kept as
# $work/NAME.png; "none" in $work/NAME.png when no picture was drawn.
draw() {
  rm -f "$work/out.png"
  local status=0
  (cd "$work" && faketime "2008-03-20 12:00:00" "$binary" "$2" >"$work/stdout" 2>"$work/stderr") || status=$?
  [ "$status" -eq 0 ] || fail "$1: exit code $status"
  if [ -s "$work/stdout" ] || [ -s "$work/stderr" ]; then fail "$1: printed $(head -c 300 "$work/stderr")"; fi
  if [ -e "$work/out.png" ]; then mv "$work/out.png" "$work/$1.png"; else echo none >"$work/$1.png"; fi
}

same_picture() { # name, reference name
  cmp -s "$work/$1.png" "$work/$2.png" || fail "$1: not the picture of $2"
}

for kind in date grid; do
  declare -n lines="${kind}_lines"
  printf '%s\r\n' "${lines[@]}" >"$work/$kind-utf8-crlf.ini"
  draw "$kind" "$work/$kind-utf8-crlf.ini"
  [ "$(head -c 4 "$work/$kind.png" | od -An -c | tr -d ' ')" = '211PNG' ] || fail "$kind: no picture"

  for ending in crlf lf; do
    utf8=$work/$kind-utf8-$ending.ini
    [ "$ending" = lf ] && printf '%s\n' "${lines[@]}" >"$utf8"
    { printf '\xEF\xBB\xBF'; cat "$utf8"; } >"$work/$kind-bom-$ending.ini"
    { printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE "$utf8"; } >"$work/$kind-le-$ending.ini"
    { printf '\xFE\xFF'; iconv -f UTF-8 -t UTF-16BE "$utf8"; } >"$work/$kind-be-$ending.ini"
    for encoding in utf8 bom le be; do
      draw "$kind-$encoding-$ending" "$work/$kind-$encoding-$ending.ini"
      same_picture "$kind-$encoding-$ending" "$kind"
    done
  done
  unset -n lines
done

# Without the mark skipped, the first line would not be a section header: the UTF-8
# file with a mark and a section at its very top still draws.
printf '\xEF\xBB\xBF' >"$work/top.ini"
printf '%s\r\n' "${date_lines[@]:1}" >>"$work/top.ini"
draw top "$work/top.ini"
same_picture top date

# An odd last byte reads as U+FFFD at the end of the last line, a line that is no
# setting; an unpaired surrogate in a name reads as U+FFFD in that name, whether it is a
# leading one (little endian here) or a trailing one (big endian).
cp "$work/date-le-crlf.ini" "$work/odd.ini"
printf 'x' >>"$work/odd.ini"
draw odd "$work/odd.ini"
same_picture odd date
text=$(printf '%s\r\n' "${date_lines[@]}")
printf '%s' "${text/Thu=木曜日/Thu=木$'\xEF\xBF\xBD'日}" >"$work/replaced.ini"
draw replaced "$work/replaced.ini"
cmp -s "$work/replaced.png" "$work/date.png" && fail "the replacement character changed nothing"
marked=${text/Thu=木曜日/Thu=木@日}
{ printf '\xFF\xFE'; printf '%s' "${marked%%@*}" | iconv -f UTF-8 -t UTF-16LE; printf '\x00\xD8'
  printf '%s' "${marked#*@}" | iconv -f UTF-8 -t UTF-16LE; } >"$work/leading.ini"
draw leading "$work/leading.ini"
same_picture leading replaced
{ printf '\xFE\xFF'; printf '%s' "${marked%%@*}" | iconv -f UTF-8 -t UTF-16BE; printf '\xDC\x00'
  printf '%s' "${marked#*@}" | iconv -f UTF-8 -t UTF-16BE; } >"$work/trailing.ini"
draw trailing "$work/trailing.ini"
same_picture trailing replaced

# Paths as launchers pass them: quotes anywhere in the argument are removed; an argument
# of quotes alone is no argument.
mkdir "$work/with space"
cp "$work/date-utf8-crlf.ini" "$work/with space/s.ini"
draw quoted "\"$work/with space/s.ini\""
same_picture quoted date
draw inner "$work/\"with space\"/s.ini"
same_picture inner date
draw quotes-alone '""'
expect "quotes alone" "$(cat "$work/quotes-alone.png")" none

finish
