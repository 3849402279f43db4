#!/usr/bin/env bash
# Whole runs with [Font] Smooth, [Image] Scale and [Image] Background: values a run does
# not take draw exactly the picture without the key; a scaled picture is exactly the
# picture of settings whose lengths were multiplied by hand; a background makes every
# pixel opaque and a two-colour picture one bit deep; the largest sizes are refused, never
# overflowed; --check names each value a run does not take.
# Usage: picture_style_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
day=2008-03-19  # a Wednesday: the date line is in Color

# Three pictures, with a margin and (for the grid) a today image of 10 x 6 pixels.
"$probe" make "$work/keep-today.png" png 10 6 ff00c800 || fail "making the today image"
kinds=(calendar weeks date header)
declare -A lines=(
  [calendar]="[Contents];Type=Calendar;TodayImage=keep-today.png;RasterX=25;[Image];MarginX=3;MarginY=2"
  [weeks]="[Contents];Type=Calendar;Locale=he;Direction=locale;FirstDay=locale;WeekNumbers=ISO;[Image];MarginX=3"
  [date]="[Contents];Type=Date;Format=dddd d MMMM yyyy;[Image];MarginX=3;MarginY=2"
  [header]="[Contents];Type=CalendarHeader;Format=MMMM yyyy;Alignment=center;[Image];Width=101;Height=23;MarginX=3"
)
# The same settings with every length multiplied by hand; the today image too.
hand_lines() { # kind scale
  local s=$2
  case $1 in
    calendar) echo "[Contents];Type=Calendar;TodayImage=keep-today-$s.png;RasterX=$((25 * s));RasterY=$((20 * s));[Image];MarginX=$((3 * s));MarginY=$((2 * s));[Font];Height=$((-12 * s))" ;;
    weeks) echo "[Contents];Type=Calendar;Locale=he;Direction=locale;FirstDay=locale;WeekNumbers=ISO;RasterX=$((24 * s));RasterY=$((20 * s));[Image];MarginX=$((3 * s));[Font];Height=$((-12 * s))" ;;
    date) echo "[Contents];Type=Date;Format=dddd d MMMM yyyy;[Image];MarginX=$((3 * s));MarginY=$((2 * s));[Font];Height=$((-12 * s))" ;;
    header) echo "[Contents];Type=CalendarHeader;Format=MMMM yyyy;Alignment=center;[Image];Width=$((101 * s));Height=$((23 * s));MarginX=$((3 * s));[Font];Height=$((-12 * s))" ;;
  esac
}
render_lines() { # day "a;b;c" extra-line...
  local day=$1 joined=$2; shift 2
  IFS=';' read -r -a parts <<<"$joined"
  render "$day" "$@" "${parts[@]}"
}
keep() { [ -e "$work/out.png" ] && cp "$work/out.png" "$work/keep-$1.png" || rm -f "$work/keep-$1.png"; }
same_file() { # name kept
  if [ ! -e "$work/out.png" ] || ! cmp -s "$work/out.png" "$work/keep-$2.png"; then fail "$1: not the same picture as $2"; fi
}

# Explicit defaults and every value a run does not take: byte for byte the plain picture.
for kind in "${kinds[@]}"; do
  render_lines $day "${lines[$kind]}" '[Font]' 'Smooth=yes'
  keep "$kind-plain-smooth"
  render_lines $day "${lines[$kind]}"
  keep "$kind-plain"
  for extra in 'Scale=1' 'Scale=0' 'Scale=-1' 'Scale=5' 'Scale=1000000000' 'Scale=2x' 'Scale=' 'Scale=2.0'; do
    render_lines $day "${lines[$kind]}" '[Image]' "$extra"
    same_file "$kind $extra" "$kind-plain"
  done
  for extra in 'Smooth=no' 'Smooth=NO' 'Smooth=maybe' 'Smooth='; do
    render_lines $day "${lines[$kind]}" '[Font]' "$extra"
    same_file "$kind $extra" "$kind-plain"
  done
done

# Scale 2 and 3: exactly the size of the plain picture times the scale, and exactly the
# picture of the hand-multiplied settings, monochrome and smooth. A picture sized by its
# text (the date line) keeps the scaled size, where the hand-multiplied one takes the size
# of the larger text: its ink is the same, left-aligned and moved down by the difference
# in height, as it sits on the bottom edge.
for s in 2 3; do
  "$probe" make "$work/keep-today-$s.png" png $((10 * s)) $((6 * s)) ff00c800 || fail "making today-$s"
  for kind in "${kinds[@]}"; do
    for smooth in no yes; do
      render_lines $day "${lines[$kind]}" '[Image]' "Scale=$s" '[Font]' "Smooth=$smooth"
      keep scaled
      render_lines $day "$(hand_lines $kind $s)" '[Font]' "Smooth=$smooth"
      keep by-hand
      [ -e "$work/keep-by-hand.png" ] || { fail "$kind x$s: no hand-multiplied picture"; continue; }
      plain=$kind-plain
      [ $smooth = no ] || plain=$kind-plain-smooth
      read -r width height <<<"$("$probe" size "$work/keep-$plain.png")"
      expect "$kind x$s smooth=$smooth size" "$("$probe" size "$work/keep-scaled.png")" "$((width * s)) $((height * s))"
      if [ $kind != date ]; then
        expect "$kind x$s smooth=$smooth pixels" "$("$probe" hash "$work/keep-scaled.png")" \
          "$("$probe" hash "$work/keep-by-hand.png")"
        continue
      fi
      read -r _ scaled_height <<<"$("$probe" size "$work/keep-scaled.png")"
      read -r _ hand_height <<<"$("$probe" size "$work/keep-by-hand.png")"
      read -r l t r b <<<"$("$probe" box "$work/keep-by-hand.png" any)"
      shift_down=$((scaled_height - hand_height))
      [ $shift_down -ge 0 ] && [ $shift_down -le $s ] || fail "$kind x$s: heights $scaled_height and $hand_height"
      expect "$kind x$s smooth=$smooth ink box" "$("$probe" box "$work/keep-scaled.png" any)" \
        "$l $((t + shift_down)) $r $((b + shift_down))"
      expect "$kind x$s smooth=$smooth ink" "$("$probe" hash "$work/keep-scaled.png" $l $((t + shift_down)) $r $((b + shift_down)))" \
        "$("$probe" hash "$work/keep-by-hand.png" $l $t $r $b)"
    done
  done
done
# The today image lands on today's cell scaled: 20 x 12 green pixels in the middle of
# the cell of the 19th (column 3, week row 4) at scale 2.
render_lines $day "${lines[calendar]}" '[Image]' 'Scale=2' '[Text]' 'TodayColor=RGB(0, 0, 200)'
cell_left=$(((3 + 3 * 25) * 2)) cell_top=$(((2 + 4 * 20) * 2))
expect "scaled today image" "$(probe box 00c800)" \
  "$((cell_left + 15)) $((cell_top + 14)) $((cell_left + 35)) $((cell_top + 26))"

# Background: every pixel opaque; one-colour text on it is a one-bit picture of exactly
# the two colours, its ink where the transparent picture has it.
render_lines $day "${lines[date]}"
plain_ink=$(probe box $TEXT)
render_lines $day "${lines[date]}" '[Image]' 'Background=RGB(255, 255, 255)'
expect "two-colour format" "$(probe format)" "3 1"
expect "two-colour alphas" "$(probe alphas)" "255"
expect "two-colour colours" "$(probe ink 0 0 9999 9999)" "$TEXT ffffff"
expect "two-colour ink" "$(probe box $TEXT)" "$plain_ink"
render_lines $day "${lines[date]}" '[Image]' 'Background=RGB(255, 255, 255)' '[Text]' 'Color=RGB(0, 0, 0)'
expect "black on white" "$(probe format)" "0 1"
for smooth in no yes; do
  render_lines $day "${lines[calendar]}" '[Image]' 'Background=RGB(255, 0, 255)' '[Font]' "Smooth=$smooth"
  expect "magenta background, smooth=$smooth: alphas" "$(probe alphas)" "255"
  expect "magenta background, smooth=$smooth: corner" "$(probe ink 0 0 3 2)" "ff00ff"
done

# The largest sizes: refused past the surface limit, silently, never overflowed.
size_is() { expect "$1" "$(picture_size)" "$2"; }
render $day '[Contents]' 'Type=CalendarHeader' 'Format=MMMM' '[Image]' 'Scale=4' 'Width=32767' 'Height=32767'
size_is "largest header x4" none
render $day '[Contents]' 'Type=CalendarHeader' 'Format=MMMM' '[Image]' 'Scale=4' 'Width=4096' 'Height=4096'
size_is "header just at the limit x4" none
render $day '[Contents]' 'Type=CalendarHeader' 'Format=MMMM' '[Image]' 'Scale=4' 'Width=2048' 'Height=2048'
size_is "header inside the limit x4" "8192 8192"
render $day '[Contents]' 'Type=Calendar' 'RasterX=2147483647' 'RasterY=2147483647' '[Image]' 'Scale=4'
size_is "calendar of 32-bit cells x4" none
render $day '[Contents]' 'Type=Calendar' 'RasterX=1' 'RasterY=1' '[Image]' 'Scale=4' 'MarginX=-32768' 'MarginY=32767'
size_is "calendar of negative margins x4" none
render $day '[Contents]' 'Type=Date' 'Format=d' '[Image]' 'Scale=4' 'Width=30' 'Height=20' '[Font]' 'Height=-32768' 'Smooth=yes'
size_is "largest font x4, smooth" "120 80"

# --check names what a run does not take.
check_finds() { # expected-text settings-line...
  local expected=$1; shift
  { printf '%s\n' "$@"; base_settings; } >"$work/s.ini"
  local found
  found=$(cd "$work" && "$binary" --date $day --check s.ini 2>&1) || true
  [[ "$found" == *"$expected"* ]] || fail "--check on $*: expected '$expected' in: $found"
}
for value in 0 -1 5 1000000000 2x ''; do
  check_finds "[Image] Scale '$value' is not a whole number from 1 to 4: a run draws at scale 1" \
    '[Contents]' 'Type=Date' 'Format=d' '[Image]' "Scale=$value"
done
check_finds "[Font] Smooth 'maybe' is not 'yes' or 'no'" '[Contents]' 'Type=Date' 'Format=d' '[Font]' 'Smooth=maybe'
check_finds "[Image] Background 'RGB(1, 2' does not read as RGB(red, green, blue): a run fills the picture with RGB(1, 2, 0)" \
  '[Contents]' 'Type=Date' 'Format=d' '[Image]' 'Background=RGB(1, 2'
check_finds "[Image] Background 'RGB(300, 0, 0)' has a component outside 0-255: a run fills the picture with RGB(44, 0, 0)" \
  '[Contents]' 'Type=Date' 'Format=d' '[Image]' 'Background=RGB(300, 0, 0)'
check_finds "the picture would be 80000 x 80000 pixels, more than the 256 MiB" \
  '[Contents]' 'Type=CalendarHeader' 'Format=d' '[Image]' 'Width=20000' 'Height=20000' 'Scale=4'
check_finds "[Font] Height -1000 at scale 4: text is drawn at most 2048 pixels high" \
  '[Contents]' 'Type=Date' 'Format=d' '[Font]' 'Height=-1000' '[Image]' 'Scale=4'
{ printf '%s\n' '[Contents]' 'Type=Date' 'Format=d' '[Image]' 'Scale=2' 'Background=RGB(0, 0, 0)' '[Font]' 'Smooth=yes'; base_settings; } >"$work/s.ini"
quiet=$(cd "$work" && "$binary" --date $day --check s.ini 2>&1) || true
[[ "$quiet" != *"Scale"* && "$quiet" != *"Smooth"* && "$quiet" != *"Background"* ]] ||
  fail "--check on valid values: $quiet"

finish
