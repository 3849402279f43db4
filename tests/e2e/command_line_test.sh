#!/usr/bin/env bash
# The options of the command line as a user meets them: what each prints on which
# stream, its exit code, and that none of them leaves a file behind; --date pictures
# equal the pictures of a run on that day.
# Usage: command_line_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
# The examples run in a copy, with their out/ folder.
source_dir=$work/examples-copy
mkdir -p "$source_dir/out"
cp -r "$(dirname "$0")/../../examples" "$source_dir/examples"

# run NAME EXPECTED_STATUS ARGUMENTS...: runs in $work/cwd; the streams go to $work/stdout
# and $work/stderr. The working folder must hold afterwards what it held before.
run() {
  local name=$1 expected=$2; shift 2
  local before after status=0
  before=$(cd "$work/cwd" && find . -printf '%p %s\n' | sort)
  (cd "$work/cwd" && timeout 60 "$binary" "$@" >"$work/stdout" 2>"$work/stderr") || status=$?
  after=$(cd "$work/cwd" && find . -printf '%p %s\n' | sort)
  [ "$status" -eq "$expected" ] || fail "$name: exit code $status, expected $expected"
  [ -n "${writes:-}" ] || [ "$before" = "$after" ] || fail "$name: the working folder changed"
}

# usage_error NAME PATTERN ARGUMENTS...: exit code 2, nothing on standard output, a message
# on standard error that matches PATTERN and points to --help.
usage_error() {
  local name=$1 pattern=$2; shift 2
  run "$name" 2 "$@"
  [ ! -s "$work/stdout" ] || fail "$name: printed on standard output"
  grep -q -- "$pattern" "$work/stderr" || fail "$name: message '$(cat "$work/stderr")' lacks '$pattern'"
  grep -q -- "orvendale --help" "$work/stderr" || fail "$name: no pointer to --help"
}

mkdir -p "$work/cwd/pics"
printf '[Image]\nFile=pics/out.png\n[Contents]\nType=Date\nFormat=yyyy-MM-dd dddd\n[Font]\nFace=DejaVu Sans\nHeight=-12\n' \
  >"$work/cwd/date.ini"

# --help and -h: the usage on standard output, nothing on standard error, exit 0.
for option in --help -h; do
  run "$option" 0 "$option"
  grep -q '^Usage: orvendale' "$work/stdout" || fail "$option: no usage line"
  grep -q -- '--check' "$work/stdout" || fail "$option: --check not listed"
  grep -q -- './--name.ini' "$work/stdout" || fail "$option: does not tell how to reach a file named --name.ini"
  [ ! -s "$work/stderr" ] || fail "$option: printed on standard error"
done
run "--help after --version" 0 --version --help
grep -q '^Usage: orvendale' "$work/stdout" || fail "--version --help: no usage"

# --version: the program name and the project version, one line.
run "--version" 0 --version
grep -Eq '^orvendale [0-9]+\.[0-9]+\.[0-9]+( \(git [^)]+\))?$' "$work/stdout" ||
  fail "--version printed '$(cat "$work/stdout")'"
[ "$(wc -l <"$work/stdout")" -eq 1 ] || fail "--version: more than one line"
[ ! -s "$work/stderr" ] || fail "--version: printed on standard error"

# Wrong options and values: a message naming the fault, exit 2, nothing drawn.
usage_error "unknown option" "unknown option '--frobnicate'" --frobnicate date.ini
usage_error "unknown short option" "unknown option '---'" --- date.ini
usage_error "--date without a value" "needs a date" --date
usage_error "--date=" "not a date of the form YYYY-MM-DD" --date= date.ini
usage_error "--date twice" "given twice" --date 2008-03-20 --date 2008-03-21 date.ini
usage_error "--check twice" "given twice" --check --check date.ini
usage_error "--help with a value" "takes no value" --help=all
usage_error "--check with a value" "takes no value" --check=date.ini
usage_error "--version with a settings file" "takes no settings file" --version date.ini
usage_error "an argument after the settings file" "unexpected argument 'extra'" --date 2008-03-20 date.ini extra
usage_error "an option after the settings file" "options go before it" --check date.ini --date 2008-03-20
while IFS='|' read -r value pattern; do
  usage_error "--date $value" "$pattern" --date "$value" date.ini
  usage_error "--date $value with --check" "$pattern" --date "$value" --check date.ini
done <<'TABLE'
2032-01-01|dates run from 1904-01-01 to 2031-12-31
1903-12-31|dates run from 1904-01-01 to 2031-12-31
2008-02-30|February 2008 has 29 days
2009-02-29|February 2009 has 28 days
2008-04-31|April 2008 has 30 days
2008-13-01|there is no month 13
2008-00-10|there is no month 0
2008-01-00|January 2008 has 31 days
tomorrow|not a date of the form YYYY-MM-DD
2008-3-20|not a date of the form YYYY-MM-DD
2008-03-20x|not a date of the form YYYY-MM-DD
+008-03-20|not a date of the form YYYY-MM-DD
 2008-03-2|not a date of the form YYYY-MM-DD
TABLE
[ ! -e "$work/cwd/pics/out.png" ] || fail "a wrong option drew a picture"

# --date draws the picture a run draws on that day, byte for byte, for the edges of the
# range, a leap day and a holiday; both forms of the option.
for day in 1904-01-01 2008-02-29 2008-03-20 2031-12-31; do
  for example in date calendar calendar_header; do
    (cd "$source_dir" && timeout 60 faketime "$day 12:00:00" "$binary" "examples/$example.ini")
    mkdir -p "$work/reference"
    cp "$source_dir/out/$example.png" "$work/reference/$example.png"
    rm -f "$source_dir/out/$example.png"
    status=0
    if [ "$example" = calendar ]; then
      (cd "$source_dir" && "$binary" --date="$day" "examples/$example.ini" >"$work/stdout" 2>&1) || status=$?
    else
      (cd "$source_dir" && "$binary" --date "$day" "examples/$example.ini" >"$work/stdout" 2>&1) || status=$?
    fi
    [ "$status" -eq 0 ] || fail "--date $day $example: exit code $status"
    [ ! -s "$work/stdout" ] || fail "--date $day $example: printed $(head -c 200 "$work/stdout")"
    cmp -s "$source_dir/out/$example.png" "$work/reference/$example.png" ||
      fail "--date $day $example: picture differs from the one drawn on that day"
  done
done
# On another day the picture differs, so the comparison above can fail.
(cd "$source_dir" && "$binary" --date 2008-03-21 examples/date.ini)
cmp -s "$source_dir/out/date.png" "$work/reference/date.png" && fail "--date 2008-03-21 drew 2031-12-31's picture"

# A settings file named like an option is reached as ./--name.ini, or after "--".
cp "$work/cwd/date.ini" "$work/cwd/--odd.ini"
writes=1 run "plain run of ./--odd.ini" 0 ./--odd.ini
[ -e "$work/cwd/pics/out.png" ] || fail "./--odd.ini drew no picture"
rm -f "$work/cwd/pics/out.png"
writes=1 run "-- --odd.ini" 0 --date 2008-03-20 -- --odd.ini
[ -e "$work/cwd/pics/out.png" ] || fail "-- --odd.ini drew no picture"
rm -f "$work/cwd/pics/out.png" "$work/cwd/--odd.ini"

# --check: exit 0 when a picture would be written, 1 when none would, 2 when the
# settings cannot be read; standard error stays empty, and nothing is written.
run "--check" 0 --check date.ini
[ ! -s "$work/stderr" ] || fail "--check printed on standard error"
tail -n 1 "$work/stdout" | grep -q "^date.ini: a run draws a Date picture of [0-9]* x [0-9]* pixels into 'pics/out.png' with the font 'DejaVu Sans' (.*\.ttf)$" ||
  fail "--check summary: $(tail -n 1 "$work/stdout")"
printf '[Image]\nFile=pics/out.png\n[Contents]\nType=Dates\n' >"$work/cwd/none.ini"
run "--check, no picture" 1 --check none.ini
tail -n 1 "$work/stdout" | grep -q '^none.ini: no picture: ' || fail "--check none.ini: $(tail -n 1 "$work/stdout")"
run "--check, missing file" 2 --check absent.ini
grep -q '^absent.ini: error: no such file' "$work/stdout" || fail "--check absent.ini: $(cat "$work/stdout")"
# With --date, the check reads Offset from that day.
printf '[Image]\nFile=pics/out.png\n[Contents]\nType=Calendar\nOffset=1\n' >"$work/cwd/offset.ini"
run "--check --date at the end of the range" 0 --date 2031-12-31 --check offset.ini
grep -q "offset.ini:5: warning: \[Contents\] Offset 1 moves 2031-12 outside" "$work/stdout" ||
  fail "--check --date 2031-12-31: $(cat "$work/stdout")"
run "--check --date inside the range" 0 --date 2031-11-30 --check offset.ini
grep -q "warning" "$work/stdout" && fail "--check --date 2031-11-30 warned: $(cat "$work/stdout")"
rm -f "$work/cwd/none.ini" "$work/cwd/offset.ini"

# A plain run is unchanged: silent, exit 0, also with extra arguments.
writes=1 run "plain run" 0 date.ini extra --bogus
[ ! -s "$work/stdout" ] && [ ! -s "$work/stderr" ] || fail "plain run printed something"

finish
