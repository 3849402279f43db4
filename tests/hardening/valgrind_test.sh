#!/usr/bin/env bash
# Whole runs of the binary under valgrind's memcheck, one per kind of picture (the shipped
# examples, with the output in a temporary folder; calendar_de loads the locale plugin):
# no invalid access, no use of uninitialised memory and not one byte definitely or
# indirectly lost. Memory the font and locale libraries keep reachable until exit is fine;
# nothing is suppressed.
# Usage: valgrind_test.sh path/to/orvendale path/to/source. Skipped (77) without valgrind.
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
if ! command -v valgrind >/dev/null; then
  echo "valgrind is not installed: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

for example in date calendar_header calendar calendar_ja date_ja calendar_de holidays_jp; do
  sed -e "s#^File=out/#File=$work/#" -e "s#^TodayImage=examples/#TodayImage=$source_dir/examples/#" \
    "$source_dir/examples/$example.ini" >"$work/$example.ini"
  status=0
  valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --track-origins=yes --error-exitcode=99 \
    --log-file="$work/$example.log" "$binary" "$work/$example.ini" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL $example: memcheck reported errors (exit code $status)"
    cat "$work/$example.log"
    failures=$((failures + 1))
  elif ! grep -q "definitely lost: 0 bytes" "$work/$example.log" && ! grep -q "All heap blocks were freed" "$work/$example.log"; then
    echo "FAIL $example: leak summary missing"
    cat "$work/$example.log"
    failures=$((failures + 1))
  elif [ ! -s "$work/$example.png" ]; then
    echo "FAIL $example: no picture written"
    failures=$((failures + 1))
  else
    echo "ok $example: $(grep -E 'ERROR SUMMARY|in use at exit' "$work/$example.log" | sed 's/^==[0-9]*== //' | tr '\n' ' ')"
  fi
done
exit $((failures > 0))
