#!/usr/bin/env bash
# The user units and the cron line of contrib/. systemd-analyze verifies the units as the
# user's service manager would load them (the program named by ExecStart must exist, so
# the built program stands in for /usr/bin/orvendale, and the manual page they name must
# be there); any complaint fails, warnings included. The cron command, run by a shell as
# cron runs it, draws the picture of each settings file of ~/.config/orvendale/.
# Usage: systemd_units_test.sh path/to/orvendale SOURCE-FOLDER
set -euo pipefail
binary=$(realpath "$1")
source_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
command -v systemd-analyze >/dev/null || { echo "FAIL: systemd-analyze is not installed"; exit 1; }

# The units under an instance name, as `systemctl --user enable orvendale@calendar.timer`
# loads them, and under the template's own name.
mkdir -p "$work/units" "$work/man/man1" "$work/runtime"
chmod 700 "$work/runtime"
cp "$source_dir/man/orvendale.1" "$work/man/man1/"
for unit in service timer; do
  grep -q '^ExecStart=/usr/bin/orvendale ' "$source_dir/contrib/systemd/orvendale@.$unit" ||
    [ "$unit" = timer ] || fail "orvendale@.service does not run /usr/bin/orvendale"
  sed "s#/usr/bin/orvendale#$binary#" "$source_dir/contrib/systemd/orvendale@.$unit" >"$work/units/orvendale@.$unit"
  cp "$work/units/orvendale@.$unit" "$work/units/orvendale@calendar.$unit"
done
# verify UNIT-FILE...: true when systemd-analyze accepts the units without a word.
verify() {
  local status=0
  (cd "$work/units" && XDG_RUNTIME_DIR="$work/runtime" MANPATH="$work/man" \
    systemd-analyze --user verify "$@" >"$work/verify.log" 2>&1) || status=$?
  [ "$status" -eq 0 ] && [ ! -s "$work/verify.log" ]
}
verify ./orvendale@calendar.service ./orvendale@calendar.timer ||
  fail "verify orvendale@calendar: $(cat "$work/verify.log")"
verify ./orvendale@.service ./orvendale@.timer || fail "verify orvendale@: $(cat "$work/verify.log")"

# The check itself fails on a unit that names a program that is not there, and on a
# timer it cannot read: otherwise the checks above would prove nothing.
sed "s#$binary#$work/absent#" "$work/units/orvendale@calendar.service" >"$work/units/broken@calendar.service"
sed 's/^OnCalendar=.*/OnCalendar=*-*-* 25:00:05/' "$work/units/orvendale@calendar.timer" >"$work/units/broken@calendar.timer"
verify ./broken@calendar.service && fail "verify accepted a service whose program is absent"
cp "$work/units/orvendale@calendar.service" "$work/units/broken@calendar.service"
verify ./broken@calendar.timer && fail "verify accepted a timer with a bad calendar"

# The timer fires just after midnight, also for a midnight missed while off or asleep.
grep -qx 'OnCalendar=\*-\*-\* 00:00:05' "$work/units/orvendale@.timer" || fail "the timer does not fire after midnight"
grep -qx 'Persistent=true' "$work/units/orvendale@.timer" || fail "the timer is not persistent"

# The cron lines: each command, with the built program, draws the pictures of
# ~/.config/orvendale/ in the home folder.
home="$work/home"
mkdir -p "$home/.config/orvendale" "$home/out"
sed -e "s#^File=out/#File=$home/out/#" -e 's#^TodayImage=.*##' "$source_dir/examples/calendar.ini" \
  >"$home/.config/orvendale/calendar.ini"
sed "s#^File=out/#File=$home/out/#" "$source_dir/examples/date.ini" >"$home/.config/orvendale/date.ini"
lines=$(grep -v '^#' "$source_dir/contrib/cron/orvendale.cron" | grep -c .)
[ "$lines" -eq 2 ] || fail "the cron file has $lines lines, expected the midnight and the start-up line"
grep -v '^#' "$source_dir/contrib/cron/orvendale.cron" | grep . | while read -r minute hour rest; do
  # "1 0 * * * command" or "@reboot command": the command is what follows the schedule.
  if [ "$minute" = "@reboot" ]; then command="$hour $rest"; else command=$(echo "$rest" | cut -d' ' -f4-); fi
  rm -f "$home/out/"*
  (cd "$home" && HOME="$home" sh -c "${command//\/usr\/bin\/orvendale/$binary}") ||
    echo "FAIL cron command failed: $command"
  [ -s "$home/out/calendar.png" ] && [ -s "$home/out/date.png" ] ||
    echo "FAIL cron command drew not both pictures: $command"
done | tee "$work/cron.log"
grep -q FAIL "$work/cron.log" && failures=$((failures + 1))

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "ok: units verified, cron lines draw"
