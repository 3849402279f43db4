#!/usr/bin/env bash
# --check on a corpus of settings files, each with one trap: the finding names the trap
# on the right line and the exit code says whether a picture would be written. The same
# files given to a plain run print nothing and end with 0. --check on every example
# finds nothing to warn about, and on files that are no settings at all (binary, huge,
# folders, pipes) it says so with exit code 2 or 1, without hanging. --check never writes.
# Usage: check_corpus_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
day=2008-03-20

mkdir -p "$work/cwd/pics"
cwd=$work/cwd
cp "$examples/today.png" "$cwd/today.png"
printf '\x89PNG\r\n\x1a\nnot really a picture' >"$cwd/broken.png"

# check_file NAME STATUS: --check NAME.ini on $day; the status must be STATUS and the
# working folder must not change. The output is in $work/out.
check_file() {
  local name=$1 expected=$2 before after status=0
  before=$(cd "$cwd" && find . -printf '%p %s %T@\n' | sort)
  (cd "$cwd" && timeout 60 "$binary" --date "$day" --check "$name.ini" >"$work/out" 2>"$work/err") || status=$?
  after=$(cd "$cwd" && find . -printf '%p %s %T@\n' | sort)
  [ "$status" -eq "$expected" ] || fail "$name: --check exit code $status, expected $expected: $(cat "$work/out")"
  [ "$before" = "$after" ] || fail "$name: --check changed the working folder"
  [ ! -s "$work/err" ] || fail "$name: --check printed on standard error: $(head -c 300 "$work/err")"
}

# plain_run NAME: a plain run of NAME.ini prints nothing and ends with 0.
plain_run() {
  local status=0
  (cd "$cwd" && timeout 60 "$binary" "$1.ini" >"$work/plain-out" 2>"$work/plain-err") || status=$?
  [ "$status" -eq 0 ] || fail "$1: plain run exit code $status"
  [ ! -s "$work/plain-out" ] && [ ! -s "$work/plain-err" ] || fail "$1: plain run printed something"
  rm -f "$cwd/pics/out.png"
}

# trap_case NAME STATUS LINE FINDING FORMAT [ARGUMENTS...]: writes NAME.ini with printf
# FORMAT ARGUMENTS, and expects the line "NAME.ini:LINE: FINDING..." from --check
# (LINE empty: a finding about the whole file).
trap_case() {
  local name=$1 expected=$2 line=$3 finding=$4 format=$5; shift 5
  # shellcheck disable=SC2059
  printf "$format" "$@" >"$cwd/$name.ini"
  check_file "$name" "$expected"
  local prefix="$name.ini:$line: "
  [ -n "$line" ] || prefix="$name.ini: "
  grep -qF -- "$prefix$finding" "$work/out" || fail "$name: no '$prefix$finding' in: $(cat "$work/out")"
  plain_run "$name"
}

head_date='[Image]\nFile=pics/out.png\n[Contents]\nType=Date\n'
head_grid='[Image]\nFile=pics/out.png\n[Contents]\nType=Calendar\n'
font='[Font]\nFace=DejaVu Sans\nHeight=-12\n'
long=$(head -c 300 /dev/zero | tr '\0' 'x')
comments=$(for i in $(seq 300); do printf ';%s\\n' "$i"; done)

# The loader: what it cuts, drops or stops at.
trap_case no-equals 1 4 "warning: a line inside a section that begins with a letter or a space and has no '=' ends the loading of the file: the 4 lines from line 5 on are ignored" \
  '[Image]\nFile=pics/out.png\n[Contents]\nType Date\nFormat=d\n'"$font"
trap_case long-line 0 6 "warning: the line is longer than 255 bytes" "$head_date"'Format=d\n;%s\n'"$font" "$long"
trap_case past-256 0 260 "warning: a file holds at most 256 lines that count" "$head_date"'Format=d\n'"$font$comments"
trap_case before-section 1 1 "warning: the setting 'Type=Date' stands before the first section header" \
  'Type=Date\n[Image]\nFile=pics/out.png\n[Contents]\nFormat=d\n'"$font"
# Names.
trap_case misspelt-key 1 5 "warning: unknown key 'Fomat' in [Contents]; did you mean 'Format'?" "$head_date"'Fomat=d\n'"$font"
trap_case key-case 1 4 "warning: unknown key 'type' in [Contents]; did you mean 'Type'?" \
  '[Image]\nFile=pics/out.png\n[Contents]\ntype=Date\nFormat=d\n'"$font"
trap_case section-case 1 3 "warning: unknown section '[contents]': a run reads nothing under it; did you mean 'Contents'?" \
  '[Image]\nFile=pics/out.png\n[contents]\nType=Date\nFormat=d\n'"$font"
trap_case duplicate-key 0 6 "warning: 'Type' in [Contents] is given again (first on line 4): the first one counts" \
  "$head_date"'Format=d\nType=Calendar\n'"$font"
trap_case value-tab 1 4 "warning: the value of 'Type' is 'Date\\t': it begins or ends with a tab" \
  '[Image]\nFile=pics/out.png\n[Contents]\nType=Date\t\nFormat=d\n'"$font"
trap_case key-tab 1 4 "warning: the key 'Type\\t' begins or ends with a tab" \
  '[Image]\nFile=pics/out.png\n[Contents]\nType\t=Date\nFormat=d\n'"$font"
# [Contents].
trap_case type-case 1 4 "warning: [Contents] Type 'calendar' is not Date, CalendarHeader, Calendar or Agenda (spelt exactly so, letter case included): a run draws no picture; did you mean 'Calendar'?" \
  '[Image]\nFile=pics/out.png\n[Contents]\nType=calendar\n'"$font"
trap_case no-type 1 3 "warning: no [Contents] Type" '[Image]\nFile=pics/out.png\n[Contents]\nFormat=d\n'"$font"
trap_case no-format 1 4 "warning: a Date picture needs a [Contents] Format" "$head_date$font"
trap_case long-format 1 5 "warning: [Contents] Format is 70 characters long, more than the 63 a run reads" \
  "$head_date"'Format=%s\n'"$font" "$(head -c 70 /dev/zero | tr '\0' 'y')"
trap_case ampersand-format 0 5 "warning: [Contents] Format 'R&D d': '&' is not drawn; it underlines the character after it" \
  "$head_date"'Format=R&D d\n'"$font"
trap_case alignment 0 6 "warning: [Contents] Alignment 'middle' is not left, center or right" \
  "$head_date"'Format=d\nAlignment=middle\n'"$font"
# Numbers.
trap_case not-a-number 0 3 "warning: [Image] Width '12px' is not a number: a run reads 12" \
  '[Image]\nFile=pics/out.png\nWidth=12px\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case wraps-16-bits 0 3 "warning: [Image] Width counts by its low 16 bits as a signed number: 70000 counts as 4464" \
  '[Image]\nFile=pics/out.png\nWidth=70000\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case beyond-32-bits 0 5 "warning: [Contents] Offset '99999999999' is beyond the 32-bit range: a run reads 2147483647" \
  "$head_grid"'Offset=99999999999\n'"$font"
trap_case raster-zero 1 5 "warning: [Contents] RasterX 0 is 0 or less" "$head_grid"'RasterX=0\n'"$font"
trap_case raster-empty 0 6 "warning: [Contents] RasterY is empty, which reads as 0, not as the default 20" \
  '[Image]\nFile=pics/out.png\nHeight=140\n[Contents]\nType=Calendar\nRasterY=\n'"$font"
trap_case too-large 1 3 "warning: the picture would be 30000 x 30000 pixels, more than the 256 MiB a picture may take" \
  '[Image]\nFile=pics/out.png\nWidth=30000\nHeight=30000\n[Contents]\nType=Calendar\n'"$font"
trap_case offset-range 0 5 "warning: [Contents] Offset -1300 moves 2008-3 outside the years 1904 to 2031" \
  "$head_grid"'Offset=-1300\n'"$font"
# With a Type that names no picture, the other keys still get their findings.
bad_type='[Image]\nFile=pics/out.png\n[Contents]\nType=Calender\n'
trap_case bad-type-holidays 1 5 "warning: [Contents] Holidays 'nowhere' is not none, JP or a region" \
  "$bad_type"'Holidays=nowhere\n'"$font"
trap_case bad-type-raster 1 5 "warning: [Contents] RasterX 0 is 0 or less: the grid has no cells to draw in" \
  "$bad_type"'RasterX=0\n'"$font"
trap_case bad-type-today-image 1 5 "warning: TodayImage 'missing.png' does not exist: a run draws the calendar without it" \
  "$bad_type"'TodayImage=missing.png\n'"$font"

# Every other finding of the check files, one row each.
trap_case type-empty 1 4 "warning: [Contents] Type is empty: a run draws no picture" \
  '[Image]\nFile=pics/out.png\n[Contents]\nType=\n'"$font"
trap_case format-empty 1 5 "warning: [Contents] Format is empty: a run draws no picture" "$head_date"'Format=\n'"$font"
trap_case no-key 0 6 "warning: a line with '=' but no key in [Contents]: a run ignores it" "$head_date"'Format=d\n =x\n'"$font"
trap_case outside-many 0 7 "warning: 2 more settings outside any section, up to this line, are ignored as well" \
  'a=1\nb=2\nc=3\nd=4\ne=5\nf=6\ng=7\n'"$head_date"'Format=d\n'"$font"
trap_case negative-height 1 3 "warning: [Image] Height -5 is negative" \
  '[Image]\nFile=pics/out.png\nHeight=-5\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case negative-margin-x 0 3 "warning: [Image] MarginX -3 is negative: the picture shrinks by twice that" \
  '[Image]\nFile=pics/out.png\nMarginX=-3\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case negative-margin-y 0 3 "warning: [Image] MarginY -3 is negative: the picture shrinks by twice that" \
  '[Image]\nFile=pics/out.png\nMarginY=-3\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case font-huge 0 8 "note: [Font] Height -3000: text is drawn at most 2048 pixels high" \
  "$head_date"'Format=d\n[Font]\nFace=DejaVu Sans\nHeight=-3000\n'
trap_case today-image-date 0 6 "note: [Contents] TodayImage is drawn only on a Calendar picture" \
  "$head_date"'Format=d\nTodayImage=today.png\n'"$font"
trap_case today-image-size 0 5 "note: TodayImage 'today.png' is 24 x 20 pixels, drawn centred on today's cell" \
  "$head_grid"'TodayImage=today.png\n'"$font"
long_folder=$(printf 'p%.0s' $(seq 200))
long_name=$(printf 'f%.0s' $(seq 100))
trap_case today-image-long 0 6 "warning: TodayImage resolves to a path longer than 255 characters: a run draws no image" \
  '[Image]\nFile=%s/pics/out.png\nPath=%s\n[Contents]\nType=Calendar\nTodayImage=%s\n'"$font" "$cwd" "$long_folder" "$long_name"
trap_case holiday-file-long 0 6 "warning: HolidayFile resolves to a path longer than 255 characters: a run reads no holiday file" \
  '[Image]\nFile=%s/pics/out.png\nPath=%s\n[Contents]\nType=Calendar\nHolidayFile=%s\n'"$font" "$cwd" "$long_folder" "$long_name"
printf '# a comment and nothing else\n' >"$cwd/no-date.txt"
trap_case holiday-file-no-date 0 5 "warning: HolidayFile 'no-date.txt' holds no date: a run colours no days from it" \
  "$head_grid"'HolidayFile=no-date.txt\n'"$font"
trap_case holidays-long-word 0 5 "warning: [Contents] Holidays '$long_name' is longer than 63 bytes, so it names no region" \
  "$head_grid"'Holidays=%s\n'"$font" "$long_name"
# With no font at all (an empty font configuration), a run draws no text.
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s/fc-cache</cachedir></fontconfig>\n' "$work" >"$work/no-fonts.conf"
printf "$head_date"'Format=d\n'"$font" >"$cwd/no-fonts.ini"
(cd "$cwd" && FONTCONFIG_FILE="$work/no-fonts.conf" "$binary" --date "$day" --check no-fonts.ini >"$work/out" 2>&1) || true
grep -qF "no-fonts.ini: warning: no font is installed: a run draws no text" "$work/out" ||
  fail "no-fonts: $(cat "$work/out")"

# Text: colours and names.
trap_case colour-form 0 10 "warning: [Text] Color 'rgb(1, 2, 3)' does not read as RGB(red, green, blue)" \
  "$head_date"'Format=d\n'"$font"'[Text]\nColor=rgb(1, 2, 3)\n'
trap_case colour-trailing 0 10 "warning: [Text] Color 'RGB(1, 2, 3) x' does not read as RGB(red, green, blue): the text after the third number is ignored" \
  "$head_date"'Format=d\n'"$font"'[Text]\nColor=RGB(1, 2, 3) x\n'
trap_case colour-carried 0 11 "warning: [Text] WeekNumberColor 'garbage' does not read as RGB(red, green, blue): a run draws RGB(1, 2, 3), all three components carried over from the colour read before it" \
  "$head_grid"'\n'"$font"'[Text]\nSaturdayColor=RGB(1, 2, 3)\nWeekNumberColor=garbage\n'
trap_case colour-partly 0 10 "warning: [Text] Color 'RGB(7, 8' does not read as RGB(red, green, blue): a run draws RGB(7, 8, 0), the blue 0" \
  "$head_date"'Format=d\n'"$font"'[Text]\nColor=RGB(7, 8\n'
trap_case colour-today-empty 0 10 "warning: [Text] TodayColor is empty: a run ignores it" \
  "$head_date"'Format=d\n'"$font"'[Text]\nTodayColor=\n'
trap_case colour-range 0 10 "warning: [Text] SundayColor 'RGB(256, 0, 300)' has a component outside 0-255: a run draws RGB(0, 0, 44)" \
  "$head_date"'Format=d\n'"$font"'[Text]\nSundayColor=RGB(256, 0, 300)\n'
trap_case name-cut 0 7 "warning: [LongName] Wed 'Wednesday-long-name' is longer than 15 characters: a run cuts it to 'Wednesday-long-'" \
  "$head_date"'Format=dddd\n[LongName]\nWed=Wednesday-long-name\n'"$font"
trap_case name-ampersand 0 6 "warning: [ShortName] Sun 'S&u': '&' is not drawn" \
  "$head_grid"'[ShortName]\nSun=S&u\n'"$font"
# The font.
trap_case font-missing 0 7 "warning: the font family 'No Such Family' is not installed: text is drawn with '" \
  "$head_date"'Format=d\n[Font]\nFace=No Such Family\n'
trap_case face-long 0 7 "warning: [Font] Face is longer than 31 characters: a run does not use it" \
  "$head_date"'Format=d\n[Font]\nFace=%s\nFont=DejaVu Sans\n' "$(head -c 40 /dev/zero | tr '\0' 'f')"
trap_case weight 0 9 "warning: [Font] Weight 'heavy' is not 'bold'" "$head_date"'Format=d\n'"$font"'Weight=heavy\n'
# TodayImage and the output.
trap_case image-missing 0 5 "warning: TodayImage 'absent.png' does not exist" "$head_grid"'TodayImage=absent.png\n'"$font"
trap_case image-kind 0 5 "warning: TodayImage 'image-kind.ini' is not a BMP, PNG, JPEG or GIF file" \
  "$head_grid"'TodayImage=image-kind.ini\n'"$font"
trap_case image-broken 0 5 "warning: TodayImage 'broken.png' cannot be decoded" "$head_grid"'TodayImage=broken.png\n'"$font"
trap_case image-folder 0 5 "warning: TodayImage 'pics' is a folder" "$head_grid"'TodayImage=pics\n'"$font"
trap_case path-join 0 6 "warning: TodayImage 'today.png' is joined to [Image] Path 'pics' without a separator: a run looks for 'picstoday.png'" \
  '[Image]\nPath=pics\nFile=pics/out.png\n[Contents]\nType=Calendar\nTodayImage=today.png\n'"$font"
trap_case output-folder-missing 1 2 "warning: the output folder 'nowhere' does not exist: a run writes no picture" \
  '[Image]\nFile=nowhere/out.png\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case output-is-folder 1 2 "warning: the output 'pics' is a folder: a run writes no picture" \
  '[Image]\nFile=pics\n[Contents]\nType=Date\nFormat=d\n'"$font"
# The month grid's options and the Locale.
trap_case first-day-word 0 5 "warning: [Contents] FirstDay 'Monday' is not Sun, Mon, Tue, Wed, Thu, Fri, Sat or locale: a run starts the week on Sunday; did you mean 'Mon'?" \
  "$head_grid"'FirstDay=Monday\n'"$font"
trap_case week-numbers-word 0 6 "warning: [Contents] WeekNumbers 'iso8601' is not ISO or US: a run draws no week numbers; did you mean 'ISO'?" \
  "$head_grid"'FirstDay=mon\nWeekNumbers=iso8601\n'"$font"
trap_case other-month-word 0 5 "warning: [Contents] OtherMonthDays 'yes' is not show: a run leaves the days of the neighbouring months out" \
  "$head_grid"'OtherMonthDays=yes\n'"$font"
trap_case rows-word 0 5 "warning: [Contents] Rows '5' is not auto: a run draws six week rows" "$head_grid"'Rows=5\n'"$font"
trap_case rows-empty 0 5 "note: [Contents] Rows is empty: a run draws six week rows" "$head_grid"'Rows=\n'"$font"
trap_case grid-option-long 0 5 "warning: [Contents] OtherMonthDays is 16 bytes long, more than the 15 a run reads: it reads no word and leaves the days of the neighbouring months out" \
  "$head_grid"'OtherMonthDays=showshowshowshow\n'"$font"
trap_case grid-option-date 0 6 "note: [Contents] WeekNumbers shapes the month grid only: a Date picture does not use it" \
  "$head_date"'Format=d\nWeekNumbers=ISO\n'"$font"
# 7 columns of 850 pixels fit in a picture, 8 (with the week numbers) do not.
trap_case grid-week-column-too-large 1 "" "warning: the picture would be 6800 x 10500 pixels, more than the 256 MiB a picture may take" \
  "$head_grid"'RasterX=850\nRasterY=1500\nWeekNumbers=ISO\n'"$font"
trap_case week-cut 0 7 "warning: [ShortName] Week 'Woche-Nr.' is longer than 7 characters: a run cuts it to 'Woche-N'" \
  "$head_grid"'WeekNumbers=ISO\n[ShortName]\nWeek=Woche-Nr.\n'"$font"
trap_case first-day-no-locale 0 5 "warning: [Contents] FirstDay 'Locale' takes the first weekday of [Contents] Locale, but there is no Locale: a run starts the week on Sunday" \
  "$head_grid"'FirstDay=Locale\n'"$font"
trap_case first-day-unknown-locale 0 5 "warning: [Contents] FirstDay 'locale' takes the first weekday of [Contents] Locale 'xx-YY', which a run cannot use (line 6): it starts the week on Sunday" \
  "$head_grid"'FirstDay=locale\nLocale=xx-YY\n'"$font"
trap_case locale-malformed 0 5 "warning: [Contents] Locale '../../etc' is not a locale name (BCP 47" \
  "$head_grid"'Locale=../../etc\n'"$font"
trap_case locale-unknown 0 5 "warning: [Contents] Locale 'xx-YY' names no locale the locale data knows: the built-in English names are used" \
  "$head_grid"'Locale=xx-YY\n'"$font"
trap_case locale-parent 0 5 "note: [Contents] Locale 'de-ZZ' has no names of its own in the locale data: those of de are used" \
  "$head_grid"'Locale=de-ZZ\n'"$font"
# Scripts written right to left or shaped draw correctly: nothing to warn about.
for locale in he ar hi_IN.UTF-8 th; do
  trap_case "locale-laid-out-$locale" 0 "" "a run draws a Date picture" "$head_date"'Format=dddd d MMMM\nLocale=%s\n'"$font" \
    "$locale"
  grep -q "warning\|note: \[Contents\]" "$work/out" && fail "locale-laid-out-$locale: $(cat "$work/out")"
done
trap_case direction-word 0 5 "warning: [Contents] Direction 'rtll' is not ltr, rtl or locale: a run runs the columns left to right; did you mean 'rtl'?" \
  "$head_grid"'Direction=rtll\n'"$font"
trap_case direction-no-locale 0 5 "note: [Contents] Direction 'Locale' follows [Contents] Locale, but there is no Locale: the columns run left to right" \
  "$head_grid"'Direction=Locale\n'"$font"
trap_case direction-date 0 6 "note: [Contents] Direction shapes the month grid only: a Date picture does not use it" \
  "$head_date"'Format=d\nDirection=rtl\n'"$font"
# With only DejaVu's fonts installed, Devanagari names and Chinese characters of the
# Format have no glyph: each script is named once, with a package that has it.
mkdir -p "$work/fontconfig"
printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' \
  "$(dirname "$(fc-match -f '%{file}' 'DejaVu Sans')")" "$work/fontconfig" >"$work/fontconfig/fonts.conf"
printf "$head_date"'Format=dddd d MMMM 年\nLocale=hi\n'"$font" >"$cwd/glyphs-missing.ini"
(cd "$cwd" && FONTCONFIG_FILE="$work/fontconfig/fonts.conf" "$binary" --date "$day" --check glyphs-missing.ini \
  >"$work/out" 2>&1) || fail "glyphs-missing: exit code $?"
for expected in "glyphs-missing.ini:6: warning: 1 character of the Han script in the text a run draws (U+5E74) have no glyph in any installed font: they draw as empty boxes; the Debian package fonts-noto-cjk has fonts for them" \
  "of the Devanagari script in the text a run draws (U+"; do
  grep -qF -- "$expected" "$work/out" || fail "glyphs-missing: no '$expected' in: $(cat "$work/out")"
done
grep -F "Devanagari" "$work/out" | grep -qF "fonts-noto-core" || fail "glyphs-missing: no package for Devanagari"
[ "$(grep -c "Devanagari script" "$work/out")" = 1 ] || fail "glyphs-missing: Devanagari named more than once"
# Without the text layout plugin, names that need it are drawn glyph by glyph: --check
# says so.
mkdir -p "$work/no-layout"
cp "$binary" "$work/no-layout/orvendale"
cp "$(dirname "$binary")/orvendale-locale-icu.so" "$work/no-layout/"
printf "$head_date"'Format=dddd\nLocale=he\n'"$font" >"$cwd/no-layout.ini"
(cd "$cwd" && env -u ORVENDALE_PLUGIN_DIR "$work/no-layout/orvendale" --date "$day" --check no-layout.ini >"$work/out" 2>&1) ||
  fail "no-layout: exit code $?"
grep -qF "no-layout.ini:6: warning: [Contents] Locale 'he' has names written right to left or whose letters join or carry combining marks (script Hebr), but the text layout plugin orvendale-text-layout.so" \
  "$work/out" || fail "no-layout: $(cat "$work/out")"
# Without the locale plugin beside the binary (nor in ORVENDALE_PLUGIN_DIR or an
# installation), the Locale cannot be used.
mkdir -p "$work/lonely"
cp "$binary" "$work/lonely/orvendale"
printf "$head_grid"'FirstDay=locale\nLocale=de\n'"$font" >"$cwd/locale-no-plugin.ini"
(cd "$cwd" && env -u ORVENDALE_PLUGIN_DIR "$work/lonely/orvendale" --date "$day" --check locale-no-plugin.ini >"$work/out" 2>&1) ||
  fail "locale-no-plugin: exit code $?"
for expected in "locale-no-plugin.ini:6: warning: [Contents] Locale 'de' cannot be used: the locale plugin orvendale-locale-icu.so, or a library it needs, does not load (install the package orvendale-locale-icu); the built-in English names are used" \
  "locale-no-plugin.ini:5: warning: [Contents] FirstDay 'locale' takes the first weekday of [Contents] Locale 'de', which a run cannot use (line 6)"; do
  grep -qF -- "$expected" "$work/out" || fail "locale-no-plugin: no '$expected' in: $(cat "$work/out")"
done
# A locale that draws well, with its first weekday, gives nothing to warn about.
trap_case locale-fine 0 "" "a run draws a Calendar picture" "$head_grid"'FirstDay=locale\nLocale=de_AT\nRows=AUTO\n'"$font"
grep -q "warning\|note: \[Contents\]" "$work/out" && fail "locale-fine: $(cat "$work/out")"
# Holiday sets: words, the region plugin, and the holiday file.
trap_case holidays-word 0 5 "warning: [Contents] Holidays 'jpn' is not none, JP or a region of the holiday library (or names more than one): a run colours no public holidays; 'orvendale --holiday-regions' lists the region codes; did you mean 'JP'?" \
  "$head_grid"'Holidays=jpn\n'"$font"
trap_case holidays-region-near 0 5 "warning: [Contents] Holidays 'de-bx' is not none, JP or a region of the holiday library" \
  "$head_grid"'Holidays=de-bx\n'"$font"
grep -qF "did you mean 'de-b" "$work/out" || fail "holidays-region-near: no nearest region code in: $(cat "$work/out")"
trap_case holidays-region 0 5 "note: [Contents] Holidays 'DE-BY' is the region 'de-by_de'" "$head_grid"'Holidays=DE-BY\n'"$font"
trap_case holidays-library-japan 0 5 "note: [Contents] Holidays 'jp_ja' is the holiday library's region 'jp_ja'; JP is this program's own set of Japan's holidays" \
  "$head_grid"'Holidays=jp_ja\n'"$font"
trap_case holidays-header 0 5 "note: [Contents] Holidays and HolidayFile colour the days of a Date or Calendar picture: a CalendarHeader picture does not use them" \
  '[Image]\nFile=pics/out.png\n[Contents]\nType=CalendarHeader\nHolidays=JP\nFormat=MMMM\n'"$font"
trap_case holiday-file-missing 0 5 "warning: HolidayFile 'absent.txt' does not exist: a run colours no days from it" \
  "$head_grid"'HolidayFile=absent.txt\n'"$font"
trap_case holiday-file-folder 0 5 "warning: HolidayFile 'pics' is a folder: a run colours no days from it" \
  "$head_grid"'HolidayFile=pics\n'"$font"
: >"$cwd/empty.txt"
trap_case holiday-file-empty 0 5 "warning: HolidayFile 'empty.txt' is empty: a run colours no days from it" \
  "$head_grid"'HolidayFile=empty.txt\n'"$font"
head -c $((4 * 1024 * 1024 + 1)) /dev/zero | tr '\0' '\n' >"$cwd/large.txt"
trap_case holiday-file-large 0 5 "warning: HolidayFile 'large.txt' is larger than the 4 MiB a run reads: it is refused whole" \
  "$head_grid"'HolidayFile=large.txt\n'"$font"
printf ' BEGIN:VCALENDAR\r\nthis is no calendar\r\n' >"$cwd/bad.ics"
trap_case holiday-file-bad-calendar 0 5 "warning: HolidayFile 'bad.ics' begins as iCalendar text (BEGIN:VCALENDAR), but the iCalendar plugin cannot read it" \
  "$head_grid"'HolidayFile=bad.ics\n'"$font"
# A byte-order mark counts only at the start of the file: on line 8 it makes no date.
printf '\xef\xbb\xbf# our days\r\n2008-03-14 Pi day\r\n03-32 no such day\r\n\r\nyesterday\r\n12-24\r\n2008-02-30\n\xef\xbb\xbf12-25\n' >"$cwd/list.txt"
trap_case holiday-file-lines 0 5 "note: HolidayFile 'list.txt' is a plain list of 2 dates" "$head_grid"'HolidayFile=list.txt\n'"$font"
for at in 3 5 7 8; do
  grep -qF "list.txt:$at: warning: not a holiday: a line holds YYYY-MM-DD or MM-DD" "$work/out" || fail "holiday-file-lines: no line $at in: $(cat "$work/out")"
done
[ "$(grep -c '^list.txt:' "$work/out")" -eq 4 ] || fail "holiday-file-lines: $(cat "$work/out")"
# Ten skipped lines are shown one by one, the rest counted on the eleventh.
{ printf '01-01\n'; for i in $(seq 13); do printf 'bad %s\r' "$i"; done; } >"$cwd/many.txt"
trap_case holiday-file-many-lines 0 5 "note: HolidayFile 'many.txt' is a plain list of 1 date" "$head_grid"'HolidayFile=many.txt\n'"$font"
grep -qF "many.txt:12: warning: and 3 more lines from here on that are not holidays: a run skips them" "$work/out" &&
  [ "$(grep -c '^many.txt:[0-9]*: warning: not a holiday' "$work/out")" -eq 10 ] &&
  grep -qF "many.txt:11: warning: not a holiday" "$work/out" || fail "holiday-file-many-lines: $(cat "$work/out")"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n' >"$cwd/no-events.ics"
trap_case holiday-file-no-events 0 5 "warning: HolidayFile 'no-events.ics' is iCalendar text, but it holds no event the iCalendar plugin can read: a run colours no days from it" \
  "$head_grid"'HolidayFile=no-events.ics\n'"$font"
# A calendar's colour is read as the [Text] colours are, and an agenda is "an" Agenda.
trap_case event-colors 0 7 "warning: [Events] Color1 'RGB(1, 2' does not read as RGB(red, green, blue): a run draws RGB(1, 2, 0)" \
  "$head_grid"'[Events]\nFile1=no-events.ics\nColor1=RGB(1, 2\nColor2=RGB(300, 0, 0)\nColor3=\n'"$font"
for expected in "event-colors.ini:8: warning: [Events] Color2 'RGB(300, 0, 0)' has a component outside 0-255: a run draws RGB(44, 0, 0) (each number cut to its lowest 8 bits)" \
  "event-colors.ini:9: warning: [Events] Color3 is empty: a run draws that calendar in [Text] Color"; do
  grep -qF -- "$expected" "$work/out" || fail "event-colors: no '$expected' in: $(cat "$work/out")"
done
trap_case agenda-summary 0 "" "a run draws an Agenda picture of" '[Image]\nFile=pics/out.png\n[Contents]\nType=Agenda\n'"$font"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:one@example\r\nDTSTART;VALUE=DATE:20080314\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$cwd/one.ics"
trap_case holiday-file-calendar 0 5 "note: HolidayFile 'one.ics' is iCalendar text with 1 event" "$head_grid"'HolidayFile=one.ics\n'"$font"
grep -q "warning" "$work/out" && fail "holiday-file-calendar: $(cat "$work/out")"
mkfifo "$cwd/holidays-pipe"
trap_case holiday-file-pipe 0 5 "warning: HolidayFile 'holidays-pipe' is not a regular file: a run colours no days from it" \
  "$head_grid"'HolidayFile=holidays-pipe\n'"$font"
trap_case holiday-file-path-join 0 6 "warning: HolidayFile 'list.txt' is joined to [Image] Path 'pics' without a separator: a run looks for 'picslist.txt'" \
  '[Image]\nPath=pics\nFile=pics/out.png\n[Contents]\nType=Calendar\nHolidayFile=list.txt\n'"$font"
# Without the holiday plugins beside the binary.
printf "$head_grid"'Holidays=de-by\nHolidayFile=one.ics\n'"$font" >"$cwd/holidays-no-plugin.ini"
(cd "$cwd" && env -u ORVENDALE_PLUGIN_DIR "$work/lonely/orvendale" --date "$day" --check holidays-no-plugin.ini >"$work/out" 2>&1) ||
  fail "holidays-no-plugin: exit code $?"
for expected in "holidays-no-plugin.ini:5: warning: [Contents] Holidays 'de-by' names a region, but the region plugin orvendale-holidays-kde.so, or a library it needs, does not load (install the package orvendale-holidays-kde): a run colours no public holidays" \
  "holidays-no-plugin.ini:6: warning: HolidayFile 'one.ics' is iCalendar text, but the iCalendar plugin orvendale-ical.so, or a library it needs, does not load (install the package orvendale-ical): a run colours no days from it"; do
  grep -qF -- "$expected" "$work/out" || fail "holidays-no-plugin: no '$expected' in: $(cat "$work/out")"
done
# Plugins of another interface version (left behind by an older installation, say) are
# refused as missing ones are, and --check says which version each is.
stale_plugin="$(dirname "$binary")/tests/plugins/orvendale-probe-v1000.so"
if [ -f "$stale_plugin" ]; then
  mkdir -p "$work/stale"
  for plugin in holidays-kde ical locale-icu; do cp "$stale_plugin" "$work/stale/orvendale-$plugin.so"; done
  printf "$head_grid"'Holidays=de-by\nHolidayFile=one.ics\nLocale=de\n'"$font" >"$cwd/stale-plugins.ini"
  (cd "$cwd" && ORVENDALE_PLUGIN_DIR="$work/stale" "$work/lonely/orvendale" --date "$day" --check stale-plugins.ini \
    >"$work/out" 2>&1) || fail "stale-plugins: exit code $?"
  for expected in "stale-plugins.ini:5: warning: [Contents] Holidays 'de-by' names a region, but the region plugin orvendale-holidays-kde.so is built for plugin interface 1000, this program for 1 (install the package orvendale-holidays-kde of this program's version): a run colours no public holidays" \
    "stale-plugins.ini:6: warning: HolidayFile 'one.ics' is iCalendar text, but the iCalendar plugin orvendale-ical.so is built for plugin interface 1000, this program for 2 (install the package orvendale-ical of this program's version): a run colours no days from it" \
    "stale-plugins.ini:7: warning: [Contents] Locale 'de' cannot be used: the locale plugin orvendale-locale-icu.so is built for plugin interface 1000, this program for 2 (install the package orvendale-locale-icu of this program's version); the built-in English names are used"; do
    grep -qF -- "$expected" "$work/out" || fail "stale-plugins: no '$expected' in: $(cat "$work/out")"
  done
  # A run with them draws as one without any plugin does.
  sed -i 's|^File=.*|File=stale.png|' "$cwd/stale-plugins.ini"
  cp "$cwd/stale-plugins.ini" "$cwd/no-plugins.ini"
  sed -i 's|^File=.*|File=none.png|' "$cwd/no-plugins.ini"
  (cd "$cwd" && ORVENDALE_PLUGIN_DIR="$work/stale" "$work/lonely/orvendale" --date "$day" stale-plugins.ini &&
    env -u ORVENDALE_PLUGIN_DIR "$work/lonely/orvendale" --date "$day" no-plugins.ini) >"$work/out" 2>&1 ||
    fail "stale-plugins run: exit code $?"
  [ -s "$work/out" ] && fail "stale-plugins run printed: $(cat "$work/out")"
  cmp -s "$cwd/stale.png" "$cwd/none.png" || fail "stale-plugins run: the picture differs from one without plugins"
else
  fail "no $stale_plugin: the plugin loader's tests are not built"
fi
# What a run does that the check must tell: links on the output's way, a grid cut by an
# explicit size, Offset cut to 16 bits, a today image that is not drawn, paths as the
# system opens them, region stems, generic font families, swapped letters.
ln -s nowhere/out.png "$cwd/pics/dangling.png"
ln -s loop-b.png "$cwd/pics/loop-a.png"
ln -s loop-a.png "$cwd/pics/loop-b.png"
trap_case output-dangling-link 1 2 "warning: the output folder 'pics/nowhere' (where the link 'pics/dangling.png' leads) does not exist: a run writes no picture" \
  '[Image]\nFile=pics/dangling.png\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case output-link-loop 1 2 "warning: the output 'pics/loop-a.png' is a symbolic link that leads round in a loop: a run writes no picture" \
  '[Image]\nFile=pics/loop-a.png\n[Contents]\nType=Date\nFormat=d\n'"$font"
trap_case grid-width-cut 0 3 "warning: [Image] Width 168 is narrower than the grid's 8 columns of 24 pixels (192): a run cuts off, wholly or in part, the Saturday column" \
  '[Image]\nFile=pics/out.png\nWidth=168\n[Contents]\nType=Calendar\nWeekNumbers=ISO\n'"$font"
trap_case grid-width-cut-margin 0 3 "warning: [Image] Width 140 is narrower than the grid's 7 columns of 24 pixels (168): a run cuts off, wholly or in part, the Friday and Saturday columns" \
  '[Image]\nFile=pics/out.png\nWidth=140\nMarginX=3\n[Contents]\nType=Calendar\n'"$font"
trap_case grid-height-cut 0 3 "warning: [Image] Height 100 is less than the grid's 7 rows of 20 pixels (140): a run cuts off, wholly or in part, week row 5 and week row 6" \
  '[Image]\nFile=pics/out.png\nHeight=100\n[Contents]\nType=Calendar\nFirstDay=Mon\n'"$font"
trap_case grid-height-blank-row 0 "" "a run draws a Calendar picture of 168 x 120" \
  '[Image]\nFile=pics/out.png\nHeight=120\n[Contents]\nType=Calendar\nOffset=1\n'"$font"
grep -q "Height" "$work/out" && fail "grid-height-blank-row: only an empty row is cut: $(cat "$work/out")"
trap_case offset-16-bits 0 5 "warning: [Contents] Offset counts by its low 16 bits as a signed number: 65536 counts as 0" \
  "$head_grid"'Offset=65536\n'"$font"
trap_case image-offset 0 6 "note: TodayImage 'today.png' is 24 x 20 pixels, but today is not in the month drawn (2008-04, by [Contents] Offset): a run does not draw it" \
  "$head_grid"'Offset=1\nTodayImage=today.png\n'"$font"
trap_case image-date 0 6 "note: [Contents] TodayImage is drawn only on a Calendar picture: a run does not draw it here" \
  "$head_date"'Format=d\nTodayImage=today.png\n'"$font"
trap_case path-backslash 1 2 "warning: the output '$cwd/pics' is a folder: a run writes no picture" \
  '[Image]\nFile=%s\\pics\n[Contents]\nType=Date\nFormat=d\n'"$font" "$(printf '%s' "$cwd" | tr / '\\\\')"
trap_case path-backslash-summary 0 "" "a run draws a Date picture of 16 x 14 pixels into '$cwd/pics/out.png'" \
  '[Image]\nFile=%s\\pics\\out.png\n[Contents]\nType=Date\nFormat=d\n'"$font" "$(printf '%s' "$cwd" | tr / '\\\\')"
# A whole GIF of a few bytes whose canvas is 1273 x 49919 pixels: refused before decoding.
printf 'GIF89a\xf9\x04\xff\xc2\x80\x00\x00\xff\x00\x00\x00\x00\xff\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00\x02\x02\x44\x0a\x00\x3b' >"$cwd/canvas.gif"
start=$(date +%s%N)
trap_case image-too-many-pixels 0 5 "warning: TodayImage 'canvas.gif' declares 1273 x 49919 pixels, more than the 4 megapixels (2048 x 2048) a run decodes: a run draws the calendar without it" \
  "$head_grid"'TodayImage=canvas.gif\n'"$font"
[ $(($(date +%s%N) - start)) -lt 2000000000 ] || fail "image-too-many-pixels: the check and the run took over 2 s"
for stem in gb au be ch ba-srp; do
  trap_case "holidays-stem-$stem" 0 5 "warning: [Contents] Holidays '$stem' is not none, JP or a region of the holiday library (or names more than one)" \
    "$head_grid"'Holidays=%s\n'"$font" "$stem"
  grep -qF "; '$stem' is the start of " "$work/out" || fail "holidays-stem-$stem: no list of regions in: $(cat "$work/out")"
  grep -qF "did you mean" "$work/out" && fail "holidays-stem-$stem: $(cat "$work/out")"
done
grep -qF "'ba-srp' is the start of 4 region codes: 'ba-srp_sr', 'ba-srp_sr@ijekavian', 'ba-srp_sr@ijekavianlatin' and 'ba-srp_sr@latin'" "$work/out" ||
  fail "holidays-stem-ba-srp: $(cat "$work/out")"
for generic in sans-serif serif monospace; do
  trap_case "font-generic-$generic" 0 7 "note: the font family '$generic' is a generic family: text is drawn with '" \
    "$head_date"'Format=d\n[Font]\nFace=%s\n' "$generic"
  grep -q "not installed" "$work/out" && fail "font-generic-$generic: $(cat "$work/out")"
done
trap_case key-swapped-letters 0 3 "warning: unknown key 'Widht' in [Image]; did you mean 'Width'?" \
  '[Image]\nFile=pics/out.png\nWidht=100\n[Contents]\nType=Calendar\n'"$font"

# The file as a whole.
trap_case empty 1 "" "warning: the file is empty" ''
trap_case nul-bytes 0 "" "warning: the file holds NUL bytes" "$head_date"'Format=d\n;\0\n'"$font"

# A byte-order mark and UTF-16: the finding says what a run does, whichever that is.
mark_case() { # name, printf format of the file
  printf "$2" >"$cwd/$1.ini"
  (cd "$cwd" && "$binary" "$1.ini")
  local drawn=no
  [ -e "$cwd/pics/out.png" ] && drawn=yes
  rm -f "$cwd/pics/out.png"
  check_file "$1" "$([ $drawn = yes ] && echo 0 || echo 1)"
  if [ $drawn = yes ]; then
    grep -q "^$1.ini:[01]\?:\? *note: .*\(skips it\|reads it as the same text\)" "$work/out" ||
      fail "$1: a run drew the picture, but: $(cat "$work/out")"
  else
    grep -q "^$1.ini:[01]\?:\? *warning: the file \(begins with a UTF-8 byte-order mark, which a run reads as part of the first line\|is UTF-16.*which a run does not read\)" "$work/out" ||
      fail "$1: a run drew no picture, but: $(cat "$work/out")"
  fi
  plain_run "$1"
}
settings='[Image]\r\nFile=pics/out.png\r\n[Contents]\r\nType=Date\r\nFormat=d\r\n'
mark_case utf8-mark "\xef\xbb\xbf$settings"
mark_case utf16-le "$(printf "$settings" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -d ' \n' | sed 's/../\\x&/g; s/^/\\xff\\xfe/')"
mark_case utf16-be "$(printf "$settings" | iconv -f UTF-8 -t UTF-16BE | od -An -v -tx1 | tr -d ' \n' | sed 's/../\\x&/g; s/^/\\xfe\\xff/')"

# Keys that other settings bring are known, and the examples give no warning.
trap_case known-new-keys 0 "" "a run draws a Calendar picture" \
  "$head_grid"'FirstDay=Mon\nWeekNumbers=ISO\nOtherMonthDays=show\nRows=auto\nHolidays=JP\nHolidayFile=\nLocale=de\n[ShortName]\nWeek=Wk\n[Text]\nWeekNumberColor=RGB(1, 2, 3)\nOtherMonthColor=RGB(4, 5, 6)\n'"$font"
grep -q "warning" "$work/out" && fail "known-new-keys: $(cat "$work/out")"
mkdir -p "$cwd/examples" "$cwd/out"
cp -r "$examples"/*.ini "$examples/today.png" "$examples/calendars" "$cwd/examples/"
for example in "$cwd"/examples/*.ini; do
  name=examples/$(basename "$example" .ini)
  check_file "$name" 0
  grep -q "warning\|error" "$work/out" && fail "$name: $(cat "$work/out")"
  grep -q "^$name.ini: a run draws an\? .* picture of [0-9]* x [0-9]* pixels into 'out/.*\.png' with the font" "$work/out" ||
    fail "$name: summary $(tail -n 1 "$work/out")"
done
# The sizes the README states for the examples are those --check gives (on $day, March 2008).
readme=$(dirname "$examples")/README.md
while IFS='|' read -r example stated; do
  check_file "examples/$example" 0
  size=$(sed -n 's/.* picture of \([0-9]* x [0-9]*\) pixels.*/\1/p' "$work/out")
  grep -qF "$stated" "$readme" || fail "README: no '$stated'"
  [[ "$stated" == "$size pixels"* ]] || fail "README states '$stated' for $example, --check gives $size"
done <<'EOF'
calendar_weeks|192 x 140 pixels for March 2008
calendar|168 x 140 pixels when Width and Height
EOF

# Files that are no settings: a clear message and the documented exit code, quickly.
head -c 200000 /dev/urandom >"$cwd/binary.ini"
check_file binary 1
head -c 2000000 /dev/zero | tr '\0' '\n' | sed 's/^/Color=RGB(1, 2, 3)/' >"$cwd/huge.ini"
check_file huge 1
grep -q "huge.ini:257: warning: a file holds at most 256 lines" "$work/out" || fail "huge: $(head -c 500 "$work/out")"
[ "$(wc -l <"$work/out")" -lt 20 ] || fail "huge: $(wc -l <"$work/out") lines of findings"
mkdir "$cwd/folder.ini"
check_file folder 2
grep -q "^folder.ini: error: is a folder" "$work/out" || fail "folder: $(cat "$work/out")"
mkfifo "$cwd/pipe.ini"
check_file pipe 2
grep -q "^pipe.ini: error: is not a regular file" "$work/out" || fail "pipe: $(cat "$work/out")"
check_file absent 2
grep -q "^absent.ini: error: no such file" "$work/out" || fail "absent: $(cat "$work/out")"
check_file no-folder/absent 2
grep -q "^no-folder/absent.ini: error: no such folder" "$work/out" || fail "no folder: $(cat "$work/out")"
for name in binary huge folder pipe; do plain_run "$name"; done
# The settings argument loses its double quotes as in a run: a quoted path with spaces,
# a quote inside a name, and an argument of quotes alone (the default file).
mkdir -p "$cwd/sp ace"
printf "$head_date"'Format=d\n'"$font" >"$cwd/sp ace/my settings.ini"
cp "$cwd/sp ace/my settings.ini" "$cwd/xy.ini"
for argument in '"sp ace/my settings.ini"' 'x"y.ini'; do
  status=0
  (cd "$cwd" && "$binary" --date "$day" --check "$argument" >"$work/out" 2>&1) || status=$?
  [ "$status" -eq 0 ] || fail "--check $argument: exit code $status: $(cat "$work/out")"
  grep -qF -- ": a run draws a Date picture" "$work/out" || fail "--check $argument draws nothing: $(cat "$work/out")"
  (cd "$cwd" && "$binary" --date "$day" "$argument") && [ -s "$cwd/pics/out.png" ] || fail "a run of $argument drew nothing"
  rm -f "$cwd/pics/out.png"
done
status=0
(cd "$cwd" && "$binary" --check '""' >"$work/out" 2>&1) || status=$?
grep -qF -- "default.png" "$work/out" || grep -qF -- "Program Files" "$work/out" ||
  fail "--check '\"\"' does not check the default file: $(cat "$work/out")"
rm -rf "$cwd/sp ace" "$cwd/xy.ini"

# Terminal control bytes from a file are never printed as they are.
printf '[Image]\nFile=pics/out.png\n[Contents]\nType=\033[31mDate\n' >"$cwd/escape.ini"
check_file escape 1
grep -q $'\033' "$work/out" && fail "escape: printed an escape byte"
grep -qF "'\\x1B[31mDate'" "$work/out" || fail "escape: $(cat "$work/out")"

# Permissions, as a user who is not root (root may read and write everything).
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
  shared=$(mktemp -d)
  chmod 755 "$shared"
  printf '[Image]\nFile=%s\n[Contents]\nType=Date\nFormat=d\n' "$shared/locked/out.png" >"$shared/locked.ini"
  printf '[Image]\nFile=%s\n[Contents]\nType=Date\nFormat=d\n' "$shared/open/out.png" >"$shared/open.ini"
  cp "$shared/open.ini" "$shared/secret.ini"
  chmod 644 "$shared"/*.ini
  chmod 600 "$shared/secret.ini"
  mkdir -m 755 "$shared/locked" "$shared/open"
  : >"$shared/open/out.png"
  chmod 644 "$shared/open/out.png"
  user_check() { # name, expected status, expected text
    local status=0
    as_user "$binary" --check "$shared/$1.ini" >"$work/out" 2>&1 || status=$?
    [ "$status" -eq "$2" ] || fail "$1 as a user: exit code $status, expected $2"
    grep -qF -- "$3" "$work/out" || fail "$1 as a user: no '$3' in: $(cat "$work/out")"
  }
  user_check secret 2 "error: cannot be read (no permission)"
  printf '2008-03-14\n' >"$shared/list.txt"
  chmod 600 "$shared/list.txt"
  printf '[Image]\nFile=%s\n[Contents]\nType=Calendar\nHolidayFile=%s\n' "$shared/open/out.png" "$shared/list.txt" >"$shared/list.ini"
  chmod 644 "$shared/list.ini"
  user_check list 1 "list.ini:5: warning: HolidayFile '$shared/list.txt' cannot be read: a run colours no days from it"
  user_check locked 1 "warning: the output folder '$shared/locked' is not writable: a run writes no picture"
  user_check open 1 "warning: the output file '$shared/open/out.png' is read-only: a run leaves it as it is"
  chmod 666 "$shared/open/out.png"
  user_check open 0 "note: the output folder is not writable, but the file '$shared/open/out.png' is: a run rewrites it in place"
  rm -rf "$shared"
else
  echo "SKIP permission cases: they need root and setpriv to act as another user"
fi

finish
