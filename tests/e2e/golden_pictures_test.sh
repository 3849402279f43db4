#!/usr/bin/env bash
# Golden pictures: renders every case of tests/golden/cases.txt on its day and compares
# the PNG byte for byte with the committed one in tests/golden/pictures/. A settings file
# without any newer key must keep drawing exactly these pictures.
# Usage: golden_pictures_test.sh path/to/orvendale path/to/png_probe
#
# ORVENDALE_GOLDEN_UPDATE=missing draws the pictures of new cases and leaves the others;
# ORVENDALE_GOLDEN_UPDATE=all redraws every one (only for a change meant to alter them).
source "$(dirname "$0")/picture_support.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
golden=$root/tests/golden
update=${ORVENDALE_GOLDEN_UPDATE:-}
# A picture that differs is kept here to be looked at.
differs=${TMPDIR:-/tmp}/orvendale-golden-differs

# The examples find today's image as examples/today.png, relative to the working folder.
ln -s "$root/examples" "$work/examples"
mkdir -p "$golden/pictures"
declare -A seen_examples=() seen_names=()
cases=0
while IFS='|' read -r name day example lines; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  cases=$((cases + 1))
  [ -z "${seen_names[$name]:-}" ] || fail "$name: named twice"
  seen_names[$name]=1
  seen_examples[$example]=1
  IFS=';' read -r -a extra <<<"$lines"
  {
    printf '[Image]\nFile=picture.png\n'
    [ ${#extra[@]} -eq 0 ] || printf '%s\n' "${extra[@]}"
    cat "$root/examples/$example"
  } >"$work/settings.ini"
  rm -f "$work/picture.png"
  (cd "$work" && faketime "$day 12:00:00" "$binary" settings.ini >"$work/output" 2>&1) ||
    fail "$name: exit code $?"
  [ -s "$work/output" ] && fail "$name: printed $(head -c 200 "$work/output")"
  if [ ! -s "$work/picture.png" ]; then
    fail "$name: no picture"
    continue
  fi
  expected=$golden/pictures/$name.png
  if [ "$update" = all ] || { [ "$update" = missing ] && [ ! -e "$expected" ]; }; then
    cp "$work/picture.png" "$expected"
    echo "drew $expected"
  elif [ ! -e "$expected" ]; then
    fail "$name: no golden picture (ORVENDALE_GOLDEN_UPDATE=missing draws it)"
  elif ! cmp -s "$work/picture.png" "$expected"; then
    mkdir -p "$differs"
    cp "$work/picture.png" "$differs/$name.png"
    fail "$name: differs from $expected (drawn now: $differs/$name.png)"
  fi
done <"$golden/cases.txt"

# Every example is covered, and every golden picture belongs to a case.
for settings in "$root"/examples/*.ini; do
  [ -n "${seen_examples[$(basename "$settings")]:-}" ] || fail "$(basename "$settings"): no case"
done
for picture in "$golden"/pictures/*.png; do
  [ -n "${seen_names[$(basename "$picture" .png)]:-}" ] || fail "$picture: no case draws it"
done
[ "$cases" -ge 5 ] || fail "only $cases cases read"

finish
echo "$cases pictures as committed"
