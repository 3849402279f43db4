#!/usr/bin/env bash
# A run that makes no picture leaves an existing output file byte for byte as it was.
# Usage: existing_output_test.sh path/to/orvendale
set -euo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf 'keep me\r\n\x00\xff' >"$work/out.png"
cp "$work/out.png" "$work/expected"
for type in calendar DATE Calendars ''; do
  # The folder is given with forward slashes and the file name relative to it.
  printf '[Image]\nPath=%s\nFile=out.png\nWidth=70000\n[Contents]\nType=%s\n' "$work" "$type" >"$work/s.ini"
  output=$("$binary" "$work/s.ini" 2>&1)
  [ -z "$output" ] || { echo "FAIL: printed: $output"; exit 1; }
  cmp -s "$work/out.png" "$work/expected" || { echo "FAIL: output changed for Type '$type'"; exit 1; }
done
[ "$(find "$work" -type f | wc -l)" -eq 3 ] || { echo "FAIL: files were created"; exit 1; }
