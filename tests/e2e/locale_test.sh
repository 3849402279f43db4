#!/usr/bin/env bash
# Whole runs with [Contents] Locale: each picture is compared with the picture of the same
# text written out literally without a locale (the literal texts hold no pattern letters),
# so what is checked is the text the locale gave. Also: explicit names win, bad locale
# names give the built-in names, the Japanese example needs no names with Locale=ja, and
# a run without Locale never maps the locale library.
# Usage: locale_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
examples=$(realpath "$(dirname "$0")/../../examples")

# same_picture NAME DAY "LINES WITH LOCALE" "LINES WITHOUT": both runs give one picture,
# pixel for pixel. Lines are separated by ";".
same_picture() {
  local name=$1 day=$2 first second
  IFS=';' read -r -a lines <<<"$3"
  render "$day" "${lines[@]}"
  first=$(probe hash)
  IFS=';' read -r -a lines <<<"$4"
  render "$day" "${lines[@]}"
  second=$(probe hash)
  [ -n "$first" ] && [ "$first" != none ] || fail "$name: no picture"
  expect "$name" "$first" "$second"
}

different_picture() {
  local name=$1 day=$2 first
  IFS=';' read -r -a lines <<<"$3"
  render "$day" "${lines[@]}"
  first=$(probe hash)
  IFS=';' read -r -a lines <<<"$4"
  render "$day" "${lines[@]}"
  [ "$first" != "$(probe hash)" ] || fail "$name: the pictures are equal"
}

# Polish declines month names: "20 marca 2026" beside a day number, "marzec 2026" alone.
same_picture "pl Date" 2026-03-20 \
  "[Contents];Type=Date;Locale=pl;Format=dddd, d MMMM yyyy" "[Contents];Type=Date;Format=piątek, 20 marca 2026"
same_picture "pl CalendarHeader" 2026-03-20 \
  "[Contents];Type=CalendarHeader;Locale=pl;Format=MMMM yyyy" "[Contents];Type=CalendarHeader;Format=marzec 2026"
same_picture "pl short month beside a day" 2026-03-20 \
  "[Contents];Type=Date;Locale=pl_PL.UTF-8;Format=dd MMM" "[Contents];Type=Date;Format=20 mar"
same_picture "ru Date" 2026-05-09 \
  "[Contents];Type=Date;Locale=ru;Format=d MMMM" "[Contents];Type=Date;Format=9 мая"
same_picture "ru CalendarHeader" 2026-05-09 \
  "[Contents];Type=CalendarHeader;Locale=ru;Format=MMMM" "[Contents];Type=CalendarHeader;Format=май"
# Austria names January "Jänner"; Germany does not.
same_picture "de-AT January" 2026-01-15 \
  "[Contents];Type=CalendarHeader;Locale=de-AT;Format=MMMM yyyy" "[Contents];Type=CalendarHeader;Format=Jänner 2026"
same_picture "de-AT January date" 2026-01-15 \
  "[Contents];Type=Date;Locale=de_AT;Format=d. MMMM" "[Contents];Type=Date;Format=15. Jänner"
same_picture "de January" 2026-01-15 \
  "[Contents];Type=CalendarHeader;Locale=de;Format=MMMM yyyy" "[Contents];Type=CalendarHeader;Format=Januar 2026"
# Explicit names win over the locale's, in both forms; the others stay the locale's.
same_picture "explicit name" 2026-03-20 \
  "[Contents];Type=Date;Locale=pl;Format=d MMMM, dddd;[LongName];Mar=Wiosna" \
  "[Contents];Type=Date;Format=20 Wiosna, piątek"
same_picture "explicit empty name" 2026-03-20 \
  "[Contents];Type=CalendarHeader;Locale=pl;Format=MMMM|yyyy;[LongName];Mar=" \
  "[Contents];Type=CalendarHeader;Format=|2026"
# Names are cut to their slots between characters: Malayalam's long names run past 15.
different_picture "ml long name" 2026-03-20 \
  "[Contents];Type=Date;Locale=ml;Format=dddd MMMM" "[Contents];Type=Date;Format=dddd MMMM"

# FirstDay=locale starts the week where the locale does; without a locale, on Sunday.
for pair in de:Mon en-US:Sun en-GB:Mon ar-EG:Sat ja:Sun xx:Sun ../../etc:Sun; do
  locale=${pair%%:*} day=${pair##*:}
  same_picture "FirstDay=locale with $locale" 2026-03-20 \
    "[Contents];Type=Calendar;Locale=$locale;FirstDay=locale" "[Contents];Type=Calendar;Locale=$locale;FirstDay=$day"
done
same_picture "FirstDay=locale without a locale" 2026-03-20 \
  "[Contents];Type=Calendar;FirstDay=LOCALE" "[Contents];Type=Calendar"
different_picture "FirstDay=locale moves the columns" 2026-03-20 \
  "[Contents];Type=Calendar;Locale=de;FirstDay=locale" "[Contents];Type=Calendar;Locale=de"

# Heading names that do not fit their 24-pixel cell (Polish "pon", Chinese "周一") give way
# to the locale's narrow names, all seven; names that fit, wider cells and names a user
# typed stay as they are.
grid='[Contents];Type=Calendar;FirstDay=locale'
same_picture "pl heading: narrow names" 2026-03-20 "$grid;Locale=pl" \
  "$grid;Locale=pl;[ShortName];Sun=N;Mon=P;Tue=W;Wed=Ś;Thu=C;Fri=P;Sat=S"
same_picture "pl heading in 40-pixel cells: short names" 2026-03-20 "$grid;Locale=pl;RasterX=40" \
  "$grid;Locale=pl;RasterX=40;[ShortName];Sun=nie;Mon=pon;Tue=wto;Wed=śro;Thu=czw;Fri=pią;Sat=sob"
same_picture "pl heading with one name typed: short names" 2026-03-20 "$grid;Locale=pl;[ShortName];Mon=pon" \
  "$grid;Locale=pl;[ShortName];Sun=nie;Mon=pon;Tue=wto;Wed=śro;Thu=czw;Fri=pią;Sat=sob"
same_picture "zh heading: narrow names" 2026-03-20 "$grid;Locale=zh" \
  "$grid;Locale=zh;[ShortName];Sun=日;Mon=一;Tue=二;Wed=三;Thu=四;Fri=五;Sat=六"
for pair in "de:So;Mo;Di;Mi;Do;Fr;Sa" "fr:di;lu;ma;me;je;ve;sa" "ru:вс;пн;вт;ср;чт;пт;сб" "ja:日;月;火;水;木;金;土"; do
  locale=${pair%%:*}
  IFS=';' read -r -a names <<<"${pair#*:}"
  same_picture "$locale heading: short names" 2026-03-20 "$grid;Locale=$locale" \
    "$grid;Locale=$locale;[ShortName];Sun=${names[0]};Mon=${names[1]};Tue=${names[2]};Wed=${names[3]};Thu=${names[4]};Fri=${names[5]};Sat=${names[6]}"
done
# The week heading is the locale's name of the week, or its narrow name, or Wk: the first
# that fits. A Week key wins.
weeks='[Contents];Type=Calendar;WeekNumbers=ISO'
for pair in de:W en-US:wk. ja:週 zh:周 fr:Wk pl:Wk ru:Wk de@RasterX=60:Woche; do
  locale=${pair%%:*} heading=${pair#*:} cells=
  case $locale in *@*) cells=";${locale#*@}" locale=${locale%@*} ;; esac
  same_picture "$locale$cells week heading" 2026-03-20 "$weeks$cells;Locale=$locale" \
    "$weeks$cells;Locale=$locale;[ShortName];Week=$heading"
done
same_picture "a Week key wins over the locale" 2026-03-20 "$weeks;Locale=de;[ShortName];Week=KW" \
  "$weeks;[ShortName];Week=KW;Mon=Mo;Tue=Di;Wed=Mi;Thu=Do;Fri=Fr;Sat=Sa;Sun=So"

# Bad or unknown locale names give the built-in English names, silently.
for value in '../../etc' '' '-' '__' 'de--AT' $'de\tAT' 'de AT' 'xx' 'und' 'C' '/etc/passwd' \
  'de-AT-toolongsub' "$(printf 'a%.0s' {1..70})" "$(printf 'de-%.0s' {1..90})" $'\xff\xfe' '%s%n'; do
  same_picture "Locale=$value" 2026-03-20 \
    "[Contents];Type=Date;Locale=$value;Format=dddd d MMMM ddd MMM" \
    "[Contents];Type=Date;Format=dddd d MMMM ddd MMM"
done

# The Japanese example without its names and with Locale=ja is the same picture.
japanese() { # example, [name section to drop or ""], extra line
  sed -e "s#^File=.*#File=out.png#" -e "s#^TodayImage=examples/#TodayImage=$examples/#" \
    "$examples/$1.ini" >"$work/s.ini"
  if [ -n "$2" ]; then
    awk -v drop="[$2]" '/^\[/ { skip = ($0 == drop) } !skip' "$work/s.ini" >"$work/t.ini"
    sed -e "s#^\[Contents\]#[Contents]\n$3#" "$work/t.ini" >"$work/s.ini"
    rm -f "$work/t.ini"
  fi
  rm -f "$work/out.png"
  (cd "$work" && TZ=UTC faketime "2026-03-20 12:00:00" "$binary" s.ini)
  probe hash
}
for pair in calendar_ja:ShortName date_ja:LongName; do
  example=${pair%%:*} section=${pair##*:}
  with_names=$(japanese "$example" "" "")
  grep -q "^\[$section\]" "$examples/$example.ini" || fail "$example has no [$section]"
  without_names=$(japanese "$example" "$section" "Locale=ja")
  grep -q "^\[$section\]" "$work/s.ini" && fail "$example: [$section] not dropped"
  [ "$with_names" != none ] || fail "$example: no picture"
  expect "$example with Locale=ja" "$without_names" "$with_names"
done

# A run without Locale maps no ICU library; with one, it does (the check can see it).
mapped_libraries() { # settings lines...
  printf '%s\n' "$@" >"$work/s.ini"
  rm -f "$work"/ld.*
  (cd "$work" && LD_DEBUG=files LD_DEBUG_OUTPUT="$work/ld" "$binary" s.ini)
  cat "$work"/ld.* | grep -o 'file=[^ ]*' | sort -u
  rm -f "$work"/ld.*
}
default_run=$(mapped_libraries '[Image]' 'File=out.png' '[Contents]' 'Type=Calendar')
[ -n "$default_run" ] || fail "no libraries seen: the check does not work"
if grep -q icu <<<"$default_run"; then fail "a default run maps: $(grep icu <<<"$default_run" | tr '\n' ' ')"; fi
for value in '' '../../etc'; do
  if mapped_libraries '[Image]' 'File=out.png' '[Contents]' 'Type=Calendar' "Locale=$value" | grep -q icu; then
    fail "Locale=$value maps ICU"
  fi
done
mapped_libraries '[Image]' 'File=out.png' '[Contents]' 'Type=Calendar' 'Locale=de' | grep -q 'libicuuc' ||
  fail "Locale=de does not map ICU: the check cannot see it"

finish
