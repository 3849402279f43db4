#!/bin/bash
# Every folder of src/ builds only on the folders below it: a file may include headers of
# its own folder, of the libraries its CMakeLists.txt links (and theirs, in turn), and the
# C interfaces of plugins/. An include that runs upward, or sideways, fails here.
# Usage: include_layers_test.sh SOURCE_DIR
set -u
src="$1/src"
status=0

# The libraries that orvendale_library() of folder $1 links, without the "orvendale_".
direct_links() {
  local file="$src/$1/CMakeLists.txt"
  [ -f "$file" ] || return 0
  sed -n '/orvendale_library(/,/)/p' "$file" | tr ' ()\n' '\n\n\n\n' | grep '^orvendale_' | sed 's/^orvendale_//' |
    grep -vx "$1"
}

# $1 and every folder it builds on.
reachable() {
  local seen=" $1 " queue="$1" next folder
  while [ -n "$queue" ]; do
    next=""
    for folder in $queue; do
      for link in $(direct_links "$folder"); do
        case "$seen" in *" $link "*) ;; *) seen="$seen$link "; next="$next $link" ;; esac
      done
    done
    queue="$next"
  done
  echo "$seen plugins "
}

for folder_path in "$src"/*/; do
  folder=$(basename "$folder_path")
  allowed=$(reachable "$folder")
  while IFS=: read -r file line include; do
    target=$(echo "$include" | sed -E 's/.*#include "([a-z_]+)\/.*/\1/')
    case "$allowed" in
      *" $target "*) ;;
      *) echo "${file#$1/}:$line: includes $target/, which $folder/ does not build on"; status=1 ;;
    esac
  done < <(grep -rnE '^#include "[a-z_]+/' "$folder_path")
done
[ "$status" = 0 ] && echo "every include runs downward"
exit "$status"
