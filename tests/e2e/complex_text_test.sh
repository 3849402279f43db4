#!/usr/bin/env bash
# Text of scripts that are written right to left or shaped, drawn by whole runs and held
# against what HarfBuzz's own hb-view (single runs) and pango-view (mixed lines, with their
# bidirectional order) draw for the same text, font file and pixel size. The comparison is
# by ink position (png_probe overlap: shares of ink within a pixel of the other's ink), so
# anti-aliasing and hinting do not matter; the same text reversed, or drawn without
# shaping, must fail it, which shows the comparison can fail. Then right-to-left month
# grids cell by cell against the left-to-right ones, and which runs map the layout
# libraries.
# Usage: complex_text_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

if ! command -v hb-view >/dev/null || ! command -v pango-view >/dev/null; then
  echo "hb-view (libharfbuzz-bin) or pango-view (pango1.0-tools) is not installed"
  exit 77
fi
fonts=/usr/share/fonts/truetype/noto
if [ ! -f "$fonts/NotoSansArabic-Regular.ttf" ]; then
  echo "fonts-noto-core is not installed"
  exit 77
fi

# The pictures are kept apart from the run's folder, where a run must leave nothing else.
pictures=$(mktemp -d)
trap 'rm -rf "$work" "$pictures"' EXIT
# A score at least this high is the same drawing; one below is not.
same=95
size=32

# ours NAME TYPE FACE LINE...: draws a picture of TYPE on 20 March 2026 (a Friday) with
# the face at $size pixels, kept as $pictures/NAME.png.
ours() {
  local name=$1 type=$2 face=$3; shift 3
  render 2026-03-20 '[Image]' 'MarginX=4' 'MarginY=4' '[Contents]' "Type=$type" "$@" '[Font]' "Face=$face" \
    "Height=-$size"
  [ -e "$work/out.png" ] && mv "$work/out.png" "$pictures/$name.png" || fail "$name: no picture"
}

# reference NAME FONT-FILE TEXT [hb-view options]: hb-view's picture of TEXT.
reference() {
  local name=$1 file=$2 text=$3; shift 3
  hb-view --font-file="$file" --font-size=$size --margin=4 --background=ffffff00 -O png -o "$pictures/$name.png" \
    "$@" -- "$text"
}

overlap() { "$probe" overlap "$pictures/$1.png" "$pictures/$2.png" "${@:3}" || echo 0; }

# at_least / below NAME SCORE
at_least() { [ "$2" -ge "$same" ] || fail "$1: overlap $2%, expected at least $same%"; }
below() { [ "$2" -lt "$same" ] || fail "$1: overlap $2%, expected below $same% (the comparison cannot fail)"; }

# Month and weekday names of each script, a name short enough for the grid's heading, and
# whether drawing the text without shaping changes it (Hebrew and Thai names need only
# their order and marks).
cases=(
  "ar|Noto Sans Arabic|NotoSansArabic-Regular.ttf|مارس|الجمعة|مارس|shaped"
  "fa|Noto Sans Arabic|NotoSansArabic-Regular.ttf|اردیبهشت|جمعه|جمعه|shaped"
  "he|Noto Sans Hebrew|NotoSansHebrew-Regular.ttf|מרץ|יום שישי|מרץ|plain"
  "hi|Noto Sans Devanagari|NotoSansDevanagari-Regular.ttf|मार्च|शुक्रवार|मार्च|shaped"
  "bn|Noto Sans Bengali|NotoSansBengali-Regular.ttf|মার্চ|শুক্রবার|মার্চ|shaped"
  "ta|Noto Sans Tamil|NotoSansTamil-Regular.ttf|மார்ச்|வெள்ளி|வெள்ளி|shaped"
  "th|Noto Sans Thai|NotoSansThai-Regular.ttf|มีนาคม|วันศุกร์|มีนาคม|plain"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r tag face file month weekday heading shaping <<<"$entry"
  file=$fonts/$file
  ours "$tag-date" Date "$face" 'Format=dddd' '[LongName]' "Fri=$weekday"
  ours "$tag-header" CalendarHeader "$face" 'Format=MMMM' '[LongName]' "Mar=$month"
  reference "$tag-weekday-ref" "$file" "$weekday"
  reference "$tag-month-ref" "$file" "$month"
  reference "$tag-weekday-reversed" "$file" "$(rev <<<"$weekday")"
  reference "$tag-month-reversed" "$file" "$(rev <<<"$month")"
  reference "$tag-weekday-unshaped" "$file" "$weekday" --shapers=fallback
  reference "$tag-month-unshaped" "$file" "$month" --shapers=fallback
  at_least "$tag Date '$weekday'" "$(overlap "$tag-date" "$tag-weekday-ref")"
  at_least "$tag CalendarHeader '$month'" "$(overlap "$tag-header" "$tag-month-ref")"
  below "$tag Date against '$weekday' reversed" "$(overlap "$tag-date" "$tag-weekday-reversed")"
  below "$tag CalendarHeader against '$month' reversed" "$(overlap "$tag-header" "$tag-month-reversed")"
  if [ "$shaping" = shaped ]; then
    below "$tag Date against '$weekday' unshaped" "$(overlap "$tag-date" "$tag-weekday-unshaped")"
  fi
  # The grid's heading: Friday's cell (column 5 with Sunday first, 160 pixels wide) holds the short name.
  ours "$tag-grid" Calendar "$face" 'RasterX=160' 'RasterY=50' '[ShortName]' "Fri=$heading"
  reference "$tag-heading-ref" "$file" "$heading"
  reference "$tag-heading-reversed" "$file" "$(rev <<<"$heading")"
  at_least "$tag grid heading '$heading'" "$(overlap "$tag-grid" "$tag-heading-ref" $((4 + 5 * 160)) 4 $((4 + 6 * 160)) 54)"
  below "$tag grid heading against '$heading' reversed" \
    "$(overlap "$tag-grid" "$tag-heading-reversed" $((4 + 5 * 160)) 4 $((4 + 6 * 160)) 54)"
done

# A face without the script: the word is shaped, as one run, with the installed font that
# has it (fontconfig's first choice here: Noto Sans Devanagari), at the face's pixel size.
ours fallback Date "DejaVu Sans" 'Format=dddd' '[LongName]' 'Fri=शुक्रवार'
reference fallback-ref "$fonts/NotoSansDevanagari-Regular.ttf" 'शुक्रवार'
reference fallback-unshaped "$fonts/NotoSansDevanagari-Regular.ttf" 'शुक्रवार' --shapers=fallback
at_least "Devanagari in a face without it" "$(overlap fallback fallback-ref)"
below "Devanagari in a face without it, against the unshaped word" "$(overlap fallback fallback-unshaped)"

# Mixed lines against pango-view, which orders them by the same algorithm: an Arabic month
# name between ASCII digits, with a Latin word, in a right-to-left paragraph (its first
# strong character is Arabic); forcing a left-to-right paragraph must not match.
ours mixed Date "DejaVu Sans" 'Format=d MMMM yyyy' '[LongName]' 'Mar=مارس Cal'
pango() { pango-view -q --font="DejaVu Sans 24" --dpi=96 --margin=4 --background=transparent --hinting=none \
  -o "$pictures/$1.png" --text="$2"; }
pango mixed-ref "20 مارس Cal 2026"
pango mixed-ltr $'\u200e'"20 مارس Cal 2026"
at_least "mixed Arabic, digits and Latin" "$(overlap mixed mixed-ref)"
below "mixed line against a left-to-right paragraph" "$(overlap mixed mixed-ltr)"
# A line that starts with a Latin word is a left-to-right paragraph.
ours mixed-latin Date "DejaVu Sans" 'Format=MMMM d' '[LongName]' 'Mar=Cal مارس'
pango mixed-latin-ref "Cal مارس 20"
at_least "Latin first, then Arabic" "$(overlap mixed-latin mixed-latin-ref)"

# A Hebrew line with "&" prefixes: the "&"s are not drawn, only the first underlines its
# letter, which stands at the right end: the line under it ends at the ink's right edge.
# (None of these letters reaches below the baseline.)
ours prefixed Date "DejaVu Sans" 'Format=MMMM' '[LongName]' 'Mar=&מה &שבת'
ours unprefixed Date "DejaVu Sans" 'Format=MMMM' '[LongName]' 'Mar=מה שבת'
read -r left top right bottom <<<"$("$probe" box "$pictures/unprefixed.png" any)"
underline=$("$probe" box "$pictures/prefixed.png" any 0 "$bottom" 1000 1000)
read -r u_left u_top u_right u_bottom <<<"$underline"
[ "$underline" != none ] && [ $((u_bottom - u_top)) -eq 1 ] && [ "$u_right" -ge $((right - 2)) ] &&
  [ "$u_left" -gt $((left + (right - left) / 2)) ] || fail "Hebrew '&': underline at '$underline', ink $left..$right"
expect "Hebrew '&': text above the underline unchanged" \
  "$("$probe" hash "$pictures/prefixed.png" 0 0 1000 "$bottom")" "$("$probe" hash "$pictures/unprefixed.png" 0 0 1000 "$bottom")"

# Right-to-left grids: the same picture size, every cell mirrored: day column c of the
# right-to-left grid is column 6 - c of the left-to-right one, the week numbers stand at
# the right edge; for every first day, with week numbers and neighbouring days.
grid() { # name direction firstday [lines]
  local name=$1 direction=$2 first=$3; shift 3
  render 2026-03-20 '[Contents]' 'Type=Calendar' "FirstDay=$first" 'WeekNumbers=ISO' 'OtherMonthDays=show' \
    'TodayColor=RGB(0, 200, 0)' ${direction:+"Direction=$direction"} "$@"
  mv "$work/out.png" "$pictures/$name.png"
}
for first in Sun Mon Tue Wed Thu Fri Sat; do
  grid ltr ltr "$first"
  grid rtl RTL "$first"
  expect "$first: picture size" "$("$probe" size "$pictures/rtl.png")" "$("$probe" size "$pictures/ltr.png")"
  mirrored=0
  for row in 0 20 40 60 80 100 120; do
    for column in 0 1 2 3 4 5 6 7; do
      # Columns 0..7 of the left-to-right picture: weeks, then days 0..6.
      ltr=$("$probe" cells "$pictures/ltr.png" $((column * 24)) "$row" 24 20 1 1 | head -1)
      rtl=$("$probe" cells "$pictures/rtl.png" $(((7 - column) * 24)) "$row" 24 20 1 1 | head -1)
      [ "$ltr" = "$rtl" ] || { fail "$first: row at $row, column $column not mirrored"; mirrored=1; }
    done
  done
  [ "$mirrored" = 0 ] || break
done
cmp -s "$pictures/ltr.png" "$pictures/rtl.png" && fail "the right-to-left grid is the left-to-right one"
# ltr and an unknown word are the default; locale follows the Locale's script, and is ltr
# without a Locale or with one the data does not know.
for locale in '' Locale=de Locale=xx-unknown Locale=he; do
  grid default '' Sun $locale
  grid left ltr Sun $locale
  grid right rtl Sun $locale
  cmp -s "$pictures/left.png" "$pictures/default.png" || fail "Direction=ltr $locale is not the default grid"
  grid variant sideways Sun $locale
  cmp -s "$pictures/variant.png" "$pictures/default.png" || fail "Direction=sideways $locale is not the default grid"
  grid variant locale Sun $locale
  case $locale in
    Locale=he) cmp -s "$pictures/variant.png" "$pictures/right.png" || fail "Direction=locale $locale is not rtl" ;;
    *) cmp -s "$pictures/variant.png" "$pictures/left.png" || fail "Direction=locale $locale is not ltr" ;;
  esac
done
for locale in Locale=ar-EG Locale=fa Locale=ur; do
  grid right rtl Sun $locale
  grid variant locale Sun $locale
  cmp -s "$pictures/variant.png" "$pictures/right.png" || fail "Direction=locale $locale is not rtl"
done

# Which runs map the layout libraries: none without such text, all with it.
mapped_libraries() { # settings lines...
  printf '%s\n' "$@" >"$work/s.ini"
  rm -f "$work"/ld.*
  (cd "$work" && LD_DEBUG=files LD_DEBUG_OUTPUT="$work/ld" "$binary" s.ini)
  cat "$work"/ld.* | grep -o 'file=[^ ]*' | sort -u
  rm -f "$work"/ld.*
}
plain=$(mapped_libraries '[Image]' 'File=out.png' '[Contents]' 'Type=Date' 'Format=dddd, MMMM d, yyyy')
[ -n "$plain" ] || fail "no libraries seen: the check does not work"
if grep -Eq 'raqm|harfbuzz|fribidi|glib|graphite' <<<"$plain"; then
  fail "a plain run maps: $(grep -E 'raqm|harfbuzz|fribidi|glib|graphite' <<<"$plain" | tr '\n' ' ')"
fi
months=()
for month in Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec; do months+=("$month=مارس"); done
shaped=$(mapped_libraries '[Image]' 'File=out.png' '[Contents]' 'Type=Date' 'Format=MMMM' '[LongName]' "${months[@]}")
for library in orvendale-text-layout libraqm libharfbuzz libfribidi; do
  grep -q "$library" <<<"$shaped" || fail "an Arabic run does not map $library"
done

finish
