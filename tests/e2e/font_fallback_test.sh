#!/usr/bin/env bash
# A font the run asks for that cannot be opened (here: fontconfig answers with a file that
# is no font) gives way to the default font: Date, CalendarHeader and Calendar draw the
# same picture as settings without a [Font] section, and not the picture of a font that
# opens.
# Usage: font_fallback_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

printf 'not a font\n' >"$work/broken.ttf"
# The system's configuration, and one family whose every match is the broken file.
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font">
    <test target="pattern" name="family"><string>Broken Test Face</string></test>
    <edit name="file" mode="assign"><string>$work/broken.ttf</string></edit>
  </match>
</fontconfig>
EOF
export FONTCONFIG_FILE=$work/fonts.conf

# draw NAME FONT-LINES CONTENTS-LINES: the picture of a fixed day, kept as $work/NAME.png.
draw() {
  { printf '[Image]\nFile=out.png\nMarginX=2\nMarginY=2\n[Contents]\n%s\n' "$3"
    [ -z "$2" ] || printf '[Font]\n%s\n' "$2"
    printf '[Text]\nColor=RGB(10, 20, 30)\nSundayColor=RGB(200, 0, 0)\nTodayColor=RGB(0, 200, 0)\n'
  } >"$work/s.ini"
  rm -f "$work/out.png"
  local status=0
  (cd "$work" && faketime "2008-03-20 12:00:00" "$binary" s.ini >"$work/stdout" 2>"$work/stderr") || status=$?
  [ "$status" -eq 0 ] || fail "$1: exit code $status"
  if [ -s "$work/stdout" ] || [ -s "$work/stderr" ]; then fail "$1: printed $(head -c 300 "$work/stderr")"; fi
  if [ -e "$work/out.png" ]; then mv "$work/out.png" "$work/$1.png"; else fail "$1: no picture"; fi
}

broken=$'Face=Broken Test Face\nHeight=-30\nWeight=bold'
working=$'Face=DejaVu Sans\nHeight=-30\nWeight=bold'
for type in Date CalendarHeader Calendar; do
  case $type in
    Date) contents=$'Type=Date\nFormat=dddd, MMMM d, yyyy' ;;
    CalendarHeader) contents=$'Type=CalendarHeader\nFormat=MMMM yyyy' ;;
    Calendar) contents=$'Type=Calendar\nRasterX=24\nRasterY=20' ;;
  esac
  draw "$type-default" "" "$contents"
  draw "$type-broken" "$broken" "$contents"
  draw "$type-working" "$working" "$contents"
  cmp -s "$work/$type-broken.png" "$work/$type-default.png" ||
    fail "$type: a font that cannot be opened does not draw as the default font"
  cmp -s "$work/$type-working.png" "$work/$type-default.png" &&
    fail "$type: the working font draws as the default font, so the comparison proves nothing"
  [ "$("$probe" box "$work/$type-broken.png" any)" != none ] || fail "$type: nothing drawn"
done

finish
