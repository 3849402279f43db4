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
ls -1 docs/*.png
