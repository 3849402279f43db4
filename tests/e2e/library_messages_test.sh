#!/usr/bin/env bash
# What the font library prints never reaches a run's output: a plain run and a run with
# --date print nothing, and --check prints its findings only, while fontconfig complains
# on standard error. Two ways make it complain: no cache folder it may write (as for a
# user whose home has no writable font cache) and a configuration with an element it
# does not know. fc-list, run in the same setting, shows that it does complain.
# Usage: library_messages_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"

mkdir -p "$work/fonts" "$work/cwd"
cp "$(fc-match -f '%{file}' 'DejaVu Sans')" "$work/fonts/"
# Fonts of a folder no cache holds, and a cache folder no one may write.
cat >"$work/no-cache.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>$work/fonts</dir><cachedir>/proc/no-cache-here</cachedir></fontconfig>
CONF
cat >"$work/unknown-element.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><include ignore_missing="yes">/etc/fonts/fonts.conf</include><no-such-element/></fontconfig>
CONF
base_settings >"$work/cwd/s.ini"
printf '[Contents]\nType=Calendar\n' >>"$work/cwd/s.ini"

for config in no-cache unknown-element; do
  export FONTCONFIG_FILE="$work/$config.conf"
  complaint=$(HOME=/nonexistent XDG_CACHE_HOME=/nonexistent fc-list 2>&1 >/dev/null | head -1)
  [ -n "$complaint" ] || fail "$config: fontconfig does not complain here, so this case proves nothing"
  while IFS='|' read -r name arguments; do
    rm -f "$work/cwd/out.png"
    status=0
    # shellcheck disable=SC2086 # the arguments are words
    (cd "$work/cwd" && HOME=/nonexistent XDG_CACHE_HOME=/nonexistent faketime '2008-03-20 12:00:00' "$binary" \
      $arguments s.ini >"$work/stdout" 2>"$work/stderr") || status=$?
    expect "$config, $name: exit code" "$status" 0
    [ -s "$work/stderr" ] && fail "$config, $name: printed on standard error: $(head -c 200 "$work/stderr")"
    if [ "$name" = check ]; then
      # Findings only: each line names the settings file.
      [ -s "$work/stdout" ] || fail "$config, check: no findings"
      others=$(grep -v '^s\.ini' "$work/stdout" || true)
      [ -z "$others" ] || fail "$config, check: printed besides its findings: $others"
      [ -e "$work/cwd/out.png" ] && fail "$config, check: wrote the picture"
    else
      [ -s "$work/stdout" ] && fail "$config, $name: printed $(head -c 200 "$work/stdout")"
      [ -s "$work/cwd/out.png" ] || fail "$config, $name: drew no picture"
    fi
  done <<'RUNS'
plain|
date|--date 2008-03-21
check|--check
RUNS
done
unset FONTCONFIG_FILE

finish
