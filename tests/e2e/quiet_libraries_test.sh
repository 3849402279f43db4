#!/usr/bin/env bash
# A plain run prints nothing even where the libraries it uses would: fontconfig warns on
# standard error when its cache is stale and cannot be rewritten, when no cache folder is
# writable, and when a cache file cannot be written because the disk is full; a run must
# not be ended by the file-size limit either. Each case: nothing on either stream, exit
# code 0, the picture written (or, where the picture itself cannot be written, the old one
# kept and no temporary file left).
# Usage: quiet_libraries_test.sh path/to/orvendale
set -euo pipefail
binary=$(realpath "$1")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

font=$(fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null || true)
[ -f "$font" ] || font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
mkdir -p "$work/fonts" "$work/cache" "$work/out"
cp "$font" "$work/fonts/"
chmod 777 "$work/out"
printf '[Image]\nFile=out/date.png\n[Contents]\nType=Date\nFormat=dddd, MMMM d, yyyy\n[Font]\nFace=DejaVu Sans\n' \
  >"$work/date.ini"

# fontconfig FILE FONT-FOLDER CACHE-FOLDER...: a configuration of one font folder and the
# given cache folders, tried in that order.
fontconfig() {
  local file=$1 folder=$2; shift 2
  {
    printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n<fontconfig>\n'
    printf '  <dir>%s</dir>\n' "$folder"
    for cache in "$@"; do printf '  <cachedir>%s</cachedir>\n' "$cache"; done
    printf '</fontconfig>\n'
  } >"$file"
}

# quiet_run NAME EXPECTATION COMMAND...: runs the command (which runs the binary on
# date.ini) in $work; EXPECTATION is "picture" (out/date.png must be written) or "kept"
# (out/date.png must be byte for byte the file it was).
quiet_run() {
  local name=$1 expectation=$2; shift 2
  local status=0 printed
  printf 'old picture' >"$work/out/date.png"
  chmod 666 "$work/out/date.png"
  # Both streams are read through a pipe: a file would be subject to the run's own limit
  # on file sizes, and a message would vanish instead of showing.
  printed=$( (cd "$work" && "$@") 2>&1) || status=$?
  [ "$status" -eq 0 ] || fail "$name: exit code $status"
  [ -z "$printed" ] || fail "$name: printed: $(head -c 300 <<<"$printed")"
  if [ "$expectation" = picture ]; then
    [ "$(head -c 8 "$work/out/date.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
      fail "$name: no picture written"
  else
    [ "$(cat "$work/out/date.png")" = "old picture" ] || fail "$name: the old picture was not kept"
  fi
  local stray
  stray=$(find "$work/out" -type f ! -name date.png | head -3)
  [ -z "$stray" ] || fail "$name: left $stray"
  rm -f "$work/out/"*
}

# No cache folder can be written (a path through /dev/null cannot be made even by root):
# fontconfig scans the fonts and cannot save what it found.
fontconfig "$work/unwritable.conf" /usr/share/fonts /dev/null/fontconfig
quiet_run "no writable cache folder" picture \
  env FONTCONFIG_FILE="$work/unwritable.conf" "$binary" date.ini

# The user's cache and home cannot be written, with the system's own configuration.
quiet_run "home and cache folder not writable" picture \
  env HOME=/dev/null XDG_CACHE_HOME=/dev/null/cache "$binary" date.ini

# A stale cache in a folder the user may not write: the fonts changed after the cache
# was made. Needs a user other than root, since root writes any folder.
fontconfig "$work/stale.conf" "$work/fonts" "$work/cache"
(cd "$work" && env FONTCONFIG_FILE="$work/stale.conf" "$binary" date.ini >/dev/null 2>&1) || true
if [ -z "$(ls "$work/cache")" ]; then
  fail "stale cache: the first run made no cache to go stale"
fi
touch -d '+1 minute' "$work/fonts"
chmod 555 "$work/cache"
if [ "$(id -u)" -ne 0 ]; then
  quiet_run "stale cache that cannot be rewritten" picture \
    env FONTCONFIG_FILE="$work/stale.conf" "$binary" date.ini
elif setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$binary" 2>/dev/null; then
  quiet_run "stale cache that cannot be rewritten" picture \
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME=/nonexistent FONTCONFIG_FILE="$work/stale.conf" "$binary" date.ini
else
  echo "skipped: stale cache that cannot be rewritten (user nobody cannot run $binary)"
fi

# A full disk while fontconfig writes its cache: a limit of 1 KiB on file sizes lets the
# picture through and stops every cache file.
fontconfig "$work/full.conf" /usr/share/fonts "$work/full-cache"
quiet_run "disk full for the font cache" picture \
  bash -c 'ulimit -f 1 && exec env FONTCONFIG_FILE="$1" "$2" date.ini' - "$work/full.conf" "$binary"

# A full disk for the picture itself: the write fails, the old picture stays, and the
# process is not ended by the file-size signal.
quiet_run "disk full for the picture" kept \
  bash -c 'ulimit -f 0 && exec "$1" date.ini' - "$binary"

# Bad settings files, with no writable font cache and a full disk at once: each run is
# silent, ends with 0 and leaves the folder as it was.
mkdir -p "$work/bad/folder.ini"
printf '[Image]\nFile=out.png\n[Contents]\nType=calendar\n' >"$work/bad/lower.ini"
printf '[Image]\nFile=out.png\n[Contents]\nType=Date\n' >"$work/bad/no-format.ini"
printf '[Image]\nFile=out.png\n[Contents]\nType=Calendar\nTodayImage=absent.png\n' >"$work/bad/no-image.ini"
printf '[Image]\nFile=absent/out.png\n[Contents]\nType=Calendar\n' >"$work/bad/no-folder.ini"
printf '[Image]\nFile=out.png\nno equals sign\n[Contents]\nType=Calendar\n' >"$work/bad/cut-short.ini"
printf '[Image]\nFile=out.png\n[Contents]\nType=Calendar\n[Font]\nFace=No Such Family\n' >"$work/bad/no-font.ini"
: >"$work/bad/empty.ini"
head -c 4096 /dev/urandom >"$work/bad/garbage.ini"
before=$(cd "$work/bad" && find . | sort)
for settings in absent.ini folder.ini lower.ini no-format.ini no-image.ini no-folder.ini cut-short.ini \
  no-font.ini empty.ini garbage.ini; do
  status=0
  printed=$( (cd "$work/bad" && ulimit -f 0 && FONTCONFIG_FILE="$work/unwritable.conf" exec "$binary" "$settings") 2>&1) ||
    status=$?
  [ "$status" -eq 0 ] || fail "$settings: exit code $status"
  [ -z "$printed" ] || fail "$settings: printed: $(head -c 300 <<<"$printed")"
done
[ "$(cd "$work/bad" && find . | sort)" = "$before" ] || fail "bad settings files: the folder changed"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "ok: every run silent, exit code 0"
