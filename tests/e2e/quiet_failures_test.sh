#!/usr/bin/env bash
# Whole runs of the binary on bad input: each ends with exit code 0, prints nothing and
# creates no file. Usage: quiet_failures_test.sh path/to/orvendale
set -euo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Runs the binary in an empty working folder with the given arguments and checks the
# exit code, the silence and that the folder stays empty apart from what it held before.
check() { # name, arguments...
  local name=$1; shift
  local before after status=0
  before=$(cd "$work/cwd" && find . | sort)
  (cd "$work/cwd" && "$binary" "$@" >"$work/stdout" 2>"$work/stderr") || status=$?
  after=$(cd "$work/cwd" && find . | sort)
  if [ "$status" -ne 0 ]; then echo "FAIL $name: exit code $status"; failures=$((failures + 1)); fi
  if [ -s "$work/stdout" ] || [ -s "$work/stderr" ]; then
    echo "FAIL $name: printed something"; failures=$((failures + 1))
  fi
  if [ "$before" != "$after" ]; then echo "FAIL $name: files changed"; failures=$((failures + 1)); fi
}

mkdir -p "$work/cwd" "$work/folder.ini"
long_line=$(head -c 10000 /dev/zero | tr '\0' 'x')
printf '[Image]\nFile=out.png\n[Contents]\nType=calendar\n' >"$work/lower.ini"
printf '[Image]\nFile=out.png\n[Contents]\nType=CalendarHeaderCalendarHeaderCalendarHeader\n' >"$work/long-type.ini"
printf '[Image]\nFile=out.png\n[Contents]\n' >"$work/no-type.ini"
printf '[Image]\r\nFile=out.png\r\n%s\r\n[Contents]\r\nType=Dates\r\n' "$long_line" >"$work/long-line.ini"
: >"$work/empty.ini"
head -c 65536 /dev/urandom >"$work/garbage.ini"

check "no argument (built-in settings file)"
check "empty argument" ""
check "missing settings file" "$work/absent.ini"
check "a folder as settings file" "$work/folder.ini"
check "empty settings file" "$work/empty.ini"
check "binary garbage" "$work/garbage.ini"
check "Type in lower case" "$work/lower.ini"
check "Type longer than 31 characters" "$work/long-type.ini"
check "no Type" "$work/no-type.ini" "second argument"
check "a 10,000-byte line" "$work/long-line.ini"
check "argument longer than 255 characters" "$work/$(head -c 300 /dev/zero | tr '\0' 'a').ini"

[ "$failures" -eq 0 ]
