#!/usr/bin/env bash
# Renders the example pictures shown in README.md into docs/, as on 20 March 2008 (a
# Thursday and a public holiday, the vernal equinox day), so that they come out the same
# on every machine. Builds build/orvendale first if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target orvendale >/dev/null

# The examples write to out/ and find today's image under examples/, both relative to
# the working folder: run them in a scratch folder so that out/ stays untouched.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
ln -s "$root/examples" "$scratch/examples"
mkdir -p "$scratch/out" docs
for settings in examples/*.ini; do
  # The example calendars hold events of December 2026: their pictures are drawn as on
  # Tuesday, 8 December 2026.
  day='2008-03-20'
  case $settings in examples/events_*) day='2026-12-08' ;; esac
  (cd "$scratch" && TZ=UTC faketime "$day 12:00:00" "$root/build/orvendale" "$settings")
done
cp "$scratch"/out/*.png docs/

# The grid of calendar.ini monochrome and smooth, side by side on a light and a dark
# background, each drawn by the tool with [Image] Background (the dark one with light
# ordinary text). The lines go in front of the example's own, so they count first.
for variant in "onebit calendar.ini" "smooth calendar_smooth.ini"; do
  read -r look example <<<"$variant"
  for shade in "light 255, 255, 255|" "dark 40, 40, 40|[Text];Color=RGB(230, 230, 230)"; do
    IFS='|' read -r name_and_colour more <<<"$shade"
    read -r name colour <<<"$name_and_colour"
    IFS=';' read -r -a lines <<<"$more"
    {
      printf '[Image]\nFile=out/screens-%s-%s.png\nScale=1\nBackground=RGB(%s)\n' "$look" "$name" "$colour"
      [ ${#lines[@]} -eq 0 ] || printf '%s\n' "${lines[@]}"
      cat "examples/$example"
    } >"$scratch/screens.ini"
    (cd "$scratch" && TZ=UTC faketime '2008-03-20 12:00:00' "$root/build/orvendale" screens.ini)
  done
done
cp "$scratch"/out/screens-*.png docs/
ls -1 docs/*.png
