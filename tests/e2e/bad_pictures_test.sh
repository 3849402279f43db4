#!/usr/bin/env bash
# Whole runs on settings and image files that are wrong or extreme: every run ends with
# exit code 0 within the time limit, prints nothing and leaves either no file or a
# complete picture. Usage: bad_pictures_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

# A written picture must read back whole, fully opaque or fully transparent.
outcome() {
  if [ ! -e "$work/out.png" ]; then echo none; return; fi
  local alphas
  alphas=$(probe alphas)
  case $alphas in "0 255" | 0 | 255) echo picture ;; *) echo "broken ($alphas)" ;; esac
}

# settings (";" between lines) | picture or none, for runs on 20 March 2008
while IFS='|' read -r settings expected; do
  IFS=';' read -r -a lines <<<"$settings"
  render 2008-03-20 "${lines[@]}"
  expect "$settings" "$(outcome)" "$expected"
done <<'EOF'
[Contents];Type=Calendar;RasterX=0|none
[Contents];Type=Calendar;RasterY=0|none
[Contents];Type=Calendar;RasterX=-24|none
[Contents];Type=Calendar;RasterY=-20;[Image];MarginY=100|picture
[Contents];Type=Calendar;RasterX=0;[Image];Width=100|picture
[Contents];Type=Calendar;RasterX=-30;RasterY=-30;[Image];Width=100;Height=100|picture
[Contents];Type=Calendar;RasterX=2147483647;RasterY=2147483647|none
[Contents];Type=Calendar;RasterX=2147483647;RasterY=2147483647;[Image];Width=50;Height=50|picture
[Contents];Type=Calendar;RasterX=-2147483648;RasterY=-2147483648;[Image];Width=50;Height=50|picture
[Contents];Type=Calendar;RasterY=9000;[Image];Height=300|picture
[Contents];Type=Calendar;[Image];Width=32767;Height=32767;MarginX=32767;MarginY=32767|none
[Contents];Type=Calendar;[Image];Width=-32768;Height=-32768;MarginX=-32768;MarginY=-32768|none
[Contents];Type=Calendar;[Image];Width=2147483647;Height=2147483647;MarginX=2147483647|none
[Contents];Type=Date;Format=d;[Image];Width=32767;Height=32767;MarginX=32767;MarginY=32767|none
[Contents];Type=Date;Format=d;[Image];MarginX=-32768;MarginY=-32768|none
[Contents];Type=CalendarHeader;Format=d;[Image];Width=32767;Height=32767;MarginX=-32768;MarginY=32767|none
[Contents];Type=Date;Format=d;[Image];Width=-32768;Height=20;MarginX=32767|picture
[Contents];Type=Date;Format=d;[Image];Width=20;Height=20;MarginX=-5;MarginY=-5|picture
[Contents];Type=Calendar;Offset=32767|picture
[Contents];Type=Calendar;Offset=-32768|picture
[Contents];Type=Calendar;Offset=2147483647|picture
[Contents];Type=Calendar;Offset=-2147483648|picture
[Contents];Type=CalendarHeader;Format=dddd d MMMM yyyy;Offset=32767|picture
[Contents];Type=CalendarHeader;Format=dddd d MMMM yyyy;Offset=-32768|picture
[Contents];Type=CalendarHeader;Format=dddd d MMMM yyyy;Offset=-2147483648|picture
[Contents];Type=Calendar;[Font];Height=-32768|picture
[Contents];Type=Date;Format=dddd;[Font];Height=32767;[Image];Width=40;Height=40|picture
EOF

# A TodayImage that cannot be read leaves the picture exactly as it is without one.
render 2008-03-20 '[Contents]' 'Type=Calendar'
plain=$(probe hash)
"$probe" make "$work/keep-good.png" png 16 16 ffff8000
"$probe" make "$work/keep-good.bmp" bmp24 16 16 ffff8000
"$probe" make "$work/keep-good.jpeg" jpeg 16 16 ffff8000
mkdir "$work/keep-folder"
: >"$work/keep-empty"
head -c 40 "$work/keep-good.png" >"$work/keep-cut.png"
head -c 30 "$work/keep-good.bmp" >"$work/keep-cut.bmp"
head -c 100 "$work/keep-good.jpeg" >"$work/keep-cut.jpeg"
head -c 2 "$work/keep-good.jpeg" >"$work/keep-cut-early.jpeg"
# The header survives, everything after it is noise.
for format in png bmp jpeg; do
  { head -c 26 "$work/keep-good.$format"; head -c 4000 /dev/urandom; } >"$work/keep-noise.$format"
done
head -c 4096 /dev/urandom >"$work/keep-random"
"$probe" png-header "$work/keep-huge.png" 20000 20000
"$probe" png-header "$work/keep-wide.png" 2147483647 1
"$probe" png-header "$work/keep-zero.png" 0 16
long_name=$(head -c 300 /dev/zero | tr '\0' 'n')
ln -s "$work/keep-huge.png" "$work/keep-link.png"
mkfifo "$work/keep-pipe"

for name in keep-folder keep-empty keep-cut.png keep-cut.bmp keep-cut.jpeg keep-cut-early.jpeg \
  keep-noise.png keep-random keep-huge.png keep-wide.png keep-zero.png keep-link.png keep-pipe \
  keep-absent.png "$long_name" "$work/" / "\\"; do
  render 2008-03-20 '[Contents]' 'Type=Calendar' "TodayImage=$name"
  expect "TodayImage ${name:0:40}" "$(outcome) $(probe hash)" "picture $plain"
done

# Noise after a valid header may decode into something, but never into a broken run.
for name in keep-noise.bmp keep-noise.jpeg; do
  render 2008-03-20 '[Contents]' 'Type=Calendar' "TodayImage=$name"
  expect "TodayImage $name" "$(outcome)" picture
done

finish
