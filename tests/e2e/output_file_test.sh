#!/usr/bin/env bash
# Where the picture goes when the output is not a plain file in a writable folder, run as
# a user who is not root (as root, the runs drop to the user "nobody"): a symbolic link
# (its target gets the picture, the link stays), a dangling link, a read-only file (left
# alone), a writable file in a read-only folder (rewritten in place), and a file size
# limit or a full disk while writing (the old file stays whole). Every case compares the
# bytes on disk afterwards with what they must be, and looks for temporary files left
# anywhere in the test's folders.
# Usage: output_file_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
chmod 755 "$work"
skipped=()

# The unprivileged user the runs are made as, with a home of its own: fontconfig
# complains on stderr when it finds no cache folder it may write.
mkdir -p "$work/home"
if [ "$(id -u)" -eq 0 ]; then
  if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    chown 65534:65534 "$work/home"
    as_user() { HOME=$work/home XDG_CACHE_HOME=$work/home/.cache setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
    user_owns() { chown -R 65534:65534 "$@"; }
    # The user may not enter the folders above the build (a checkout in /root, in a home
    # folder of mode 700, in a mktemp -d folder): it runs a copy of the program in this
    # test's own folder, which it may enter wherever the temporary folders are.
    mkdir -p "$work/program"
    cp "$binary" "$work/program/orvendale"
    chmod 755 "$work/program" "$work/program/orvendale"
    binary=$work/program/orvendale
    if ! as_user test -x "$binary"; then
      echo "SKIP: the user nobody cannot enter this test's folder $work (a TMPDIR it may enter helps)"
      exit 77
    fi
  else
    echo "SKIP: running as root and cannot drop to the user nobody (setpriv failed)"
    exit 77
  fi
else
  as_user() { "$@"; }
  user_owns() { :; }
fi

# settings FILE-VALUE [TYPE]: a settings file in $work, readable by the user.
settings() {
  local type=${2:-Calendar}
  printf '[Image]\nFile=%s\n[Contents]\nType=%s\nFormat=dddd, MMMM d, yyyy\nRasterX=80\nRasterY=60\n' \
    "$1" "$type" >"$work/s.ini"
  printf '[Font]\nFace=DejaVu Sans\nHeight=-40\n[Text]\nColor=RGB(10, 20, 30)\nSundayColor=RGB(200, 0, 0)\n' \
    >>"$work/s.ini"
  chmod 644 "$work/s.ini"
}

# What the run printed, less what fontconfig prints when the machine's font cache is
# stale and its own cache cannot be written (under a file size limit it cannot): the font
# library's messages are not what these cases test.
printed() {
  cat "$work/stdout" "$work/stderr" | { grep -v -e '^Fontconfig ' -e '^write cache: ' || true; } | head -c 300
}

# run_user FILE-VALUE [TYPE]: one run as the user on a fixed day, in $work; it must end
# with exit code 0 and print nothing.
run_user() {
  settings "$@"
  local status=0
  (cd "$work" && as_user timeout 120 faketime "2008-03-20 12:00:00" "$binary" "$work/s.ini" \
    >"$work/stdout" 2>"$work/stderr") || status=$?
  [ "$status" -eq 0 ] || fail "$1: exit code $status"
  if [ -s "$work/stdout" ] || [ -s "$work/stderr" ]; then fail "$1: printed $(head -c 300 "$work/stderr")"; fi
}

# no_temporary NAME: no temporary file anywhere under $work.
no_temporary() {
  local left
  left=$(find "$work" -name '.image-*' | head -3)
  [ -z "$left" ] || fail "$1: left $left"
}

same_bytes() { # name, file, expected file
  cmp -s "$2" "$3" || fail "$1: $2 is not byte for byte $3 ($(stat -c %s "$2" 2>/dev/null || echo absent) bytes)"
}

# The reference pictures: plain files in a writable folder.
mkdir "$work/ref"
user_owns "$work/ref"
for type in Calendar Date; do
  run_user "$work/ref/$type.png" "$type"
  [ -s "$work/ref/$type.png" ] || { echo "FAIL: no reference $type picture"; exit 1; }
done
reference=$work/ref/Calendar.png
printf 'old picture\n' >"$work/old"
reset() { # folder...: fresh folders owned by the user
  for folder in "$@"; do
    chmod -R u+w "$work/$folder" 2>/dev/null || true
    rm -rf "${work:?}/$folder"
    mkdir -p "$work/$folder"
  done
}

# 1. A relative link to an existing picture, and a chain of two links, one absolute.
reset links pics
cp "$work/old" "$work/pics/target.png"
ln -s ../pics/target.png "$work/links/out.png"
ln -s "$work/links/out.png" "$work/links/chain.png"
user_owns "$work/links" "$work/pics"
run_user "$work/links/out.png"
[ -L "$work/links/out.png" ] && [ "$(readlink "$work/links/out.png")" = ../pics/target.png ] ||
  fail "link: the link was replaced"
same_bytes "link" "$work/pics/target.png" "$reference"
cp "$work/old" "$work/pics/target.png"
run_user "$work/links/chain.png" Date
[ -L "$work/links/chain.png" ] && [ -L "$work/links/out.png" ] || fail "chain: a link was replaced"
same_bytes "chain" "$work/pics/target.png" "$work/ref/Date.png"
expect "link folders" "$(cd "$work" && find links pics | sort | tr '\n' ' ')" \
  "links links/chain.png links/out.png pics pics/target.png "
no_temporary "links"

# 2. A dangling link: the file it names is made (as writing through the link would); a
# link into a missing folder makes nothing.
reset links pics
ln -s ../pics/new.png "$work/links/out.png"
ln -s ../missing/new.png "$work/links/nowhere.png"
user_owns "$work/links" "$work/pics"
run_user "$work/links/out.png"
[ -L "$work/links/out.png" ] || fail "dangling link: the link was replaced"
same_bytes "dangling link" "$work/pics/new.png" "$reference"
run_user "$work/links/nowhere.png"
[ "$(readlink "$work/links/nowhere.png")" = ../missing/new.png ] || fail "link into a missing folder: link changed"
[ ! -e "$work/missing" ] || fail "link into a missing folder: made $work/missing"
expect "dangling link folders" "$(cd "$work" && find links pics | sort | tr '\n' ' ')" \
  "links links/nowhere.png links/out.png pics pics/new.png "
no_temporary "dangling link"

# 3. A read-only file in a writable folder, directly and through a link: left alone.
reset open
cp "$work/old" "$work/open/out.png"
ln -s out.png "$work/open/link.png"
user_owns "$work/open"
chmod 444 "$work/open/out.png"
run_user "$work/open/out.png"
run_user "$work/open/link.png"
same_bytes "read-only file" "$work/open/out.png" "$work/old"
expect "read-only file mode" "$(stat -c %a "$work/open/out.png")" 444
[ -L "$work/open/link.png" ] || fail "read-only file: the link was replaced"
expect "read-only file folder" "$(ls -A "$work/open" | tr '\n' ' ')" "link.png out.png "
no_temporary "read-only file"

# 4. A writable file in a read-only folder: rewritten in place (same file, same mode),
# whether the old file is shorter or longer than the picture; a new file cannot be made.
reset closed
cp "$work/old" "$work/closed/short.png"
{ cat "$reference"; head -c 5000 /dev/zero; } >"$work/closed/long.png"
user_owns "$work/closed"
chmod 640 "$work/closed/short.png"
inode=$(stat -c %i "$work/closed/short.png")
chmod 555 "$work/closed"
run_user "$work/closed/short.png"
run_user "$work/closed/long.png"
run_user "$work/closed/new.png"
same_bytes "read-only folder, short file" "$work/closed/short.png" "$reference"
same_bytes "read-only folder, long file" "$work/closed/long.png" "$reference"
expect "read-only folder: same file" "$(stat -c %i "$work/closed/short.png")" "$inode"
expect "read-only folder: same mode" "$(stat -c %a "$work/closed/short.png")" 640
expect "read-only folder entries" "$(ls -A "$work/closed" | tr '\n' ' ')" "long.png short.png "
no_temporary "read-only folder"

# 5. A file size limit below the picture's size (a full disk for this process): in a
# read-only folder, the file is not rewritten at all; in a writable folder, the temporary
# file is removed. Both keep the old file whole. The limit is in blocks of 1024 bytes.
[ "$(stat -c %s "$reference")" -gt 1024 ] || fail "the reference picture is too small for the limit"
reset closed open
cp "$work/old" "$work/closed/out.png"
cp "$work/old" "$work/open/out.png"
user_owns "$work/closed" "$work/open"
chmod 555 "$work/closed"
for folder in closed open; do
  settings "$work/$folder/out.png"
  status=0
  (cd "$work" && ulimit -f 1 && as_user faketime "2008-03-20 12:00:00" "$binary" "$work/s.ini" \
    >"$work/stdout" 2>"$work/stderr") || status=$?
  expect "size limit, $folder folder: exit code" "$status" 0
  [ -z "$(printed)" ] || fail "size limit, $folder folder: printed $(printed)"
  same_bytes "size limit, $folder folder" "$work/$folder/out.png" "$work/old"
  expect "size limit, $folder folder entries" "$(ls -A "$work/$folder")" out.png
done
no_temporary "size limit"

# 6. A full disk: a small filesystem of its own, filled up, whose folder the user may not
# write; the picture needs more room than is left. Needs a mount namespace (root).
if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
  reset disk
  export binary work reference
  export -f as_user user_owns settings 2>/dev/null || true
  status=0
  unshare -m bash -c '
    set -euo pipefail
    mount -t tmpfs -o size=64k,mode=755 tmpfs "$work/disk"
    printf "old picture\n" >"$work/disk/out.png"
    chown -R 65534:65534 "$work/disk"
    # Fill the disk; what is left is less than the picture needs.
    dd if=/dev/zero of="$work/disk/filler" bs=1024 count=1000 2>/dev/null || true
    chmod 555 "$work/disk"
    free=$(( $(stat -f -c "%a * %S" "$work/disk") ))
    # The old file holds one page; the picture needs more.
    [ "$free" -lt 4096 ] && [ "$(stat -c %s "$reference")" -gt 4096 ] ||
      { echo "disk not full enough: $free bytes free"; exit 3; }
    settings "$work/disk/out.png"
    as_user faketime "2008-03-20 12:00:00" "$binary" "$work/s.ini" >"$work/stdout" 2>"$work/stderr"
    cp "$work/disk/out.png" "$work/disk-after"
    ls -A "$work/disk" >"$work/disk-entries"
  ' || status=$?
  expect "full disk: exit code" "$status" 0
  [ -z "$(printed)" ] || fail "full disk: printed $(printed)"
  same_bytes "full disk" "$work/disk-after" "$work/old"
  expect "full disk entries" "$(tr '\n' ' ' <"$work/disk-entries")" "filler out.png "
else
  skipped+=("full disk: cannot mount a small filesystem (needs root and a mount namespace)")
fi

finish
for reason in "${skipped[@]}"; do echo "SKIP $reason"; done
[ "${#skipped[@]}" -eq 0 ] || exit 77
