#!/usr/bin/env bash
# The commands of the README's "Install" section work as written on a tree that ./run.sh
# built (which builds the program's target alone): a copy of the sources, built by its own
# ./run.sh, installed into a scratch home folder's ~/.local and packaged with cpack. What
# the README's tables list is then there. Commands that need root (sudo) are not run: the
# files they name must exist. The README's build command is the other way to build the
# tree, taken by ./test.sh itself.
# Usage: readme_install_test.sh SOURCE-FOLDER
set -euo pipefail
source_dir=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# The sources, without any build of them.
tree="$work/orvendale"
mkdir -p "$tree" "$work/home"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git --exclude=./out --exclude=./fuzz/corpus-work -cf - . |
  tar -C "$tree" -xf -
if ! (cd "$tree" && ./run.sh >"$work/run.log" 2>&1); then
  tail -20 "$work/run.log"
  echo "FAIL: ./run.sh failed"
  exit 1
fi

# The section's shell blocks, one command a line, comments dropped.
section=$(sed -n '/^## Install$/,/^## /p' "$tree/README.md")
commands=$(awk '/^```sh$/ {inside = 1; next} /^```$/ {inside = 0} inside' <<<"$section" | sed 's/[[:space:]]\+#.*$//')
[ -n "$commands" ] || { echo "FAIL: no commands in the README's Install section"; exit 1; }
ran=0
while IFS= read -r command; do
  [ -n "$command" ] || continue
  case "$command" in
    "cmake -S "*)
      echo "not run: '$command' (the tree was built by ./run.sh)"
      ;;
    "sudo "*)
      # The packages it installs are there.
      for file in ${command#sudo apt install }; do
        if compgen -G "$tree/${file#./}" >/dev/null; then
          echo "not run: '$command' (needs root); $file is there"
        else
          fail "'$command': no $file"
        fi
      done
      ;;
    *)
      if (cd "$tree" && HOME="$work/home" bash -c "$command") >"$work/command.log" 2>&1; then
        ran=$((ran + 1))
      else
        fail "'$command' failed: $(tail -5 "$work/command.log")"
      fi
      ;;
  esac
done <<<"$commands"
[ "$ran" -ge 2 ] || fail "only $ran of the section's commands ran (an installation and the packages)"

# What the tables say the installation and the packages hold.
installed=$(grep -o '^| `~/[^`]*`' <<<"$section" | sed 's/^| `~\///; s/`$//')
[ -n "$installed" ] || fail "the section lists nothing installed"
for path in $installed; do
  [ -e "$work/home/$path" ] || fail "the installation has no ~/$path"
done
[ -n "$(ls "$work/home/.local/lib/orvendale/"orvendale-*.so 2>/dev/null)" ] || fail "the installation has no plugins"
packages=$(grep -o '^| `orvendale[a-z0-9-]*` |' <<<"$section" | tr -d '|` ')
[ -n "$packages" ] || fail "the section names no packages"
for package in $packages; do
  compgen -G "$tree/build/${package}_*.deb" >/dev/null || fail "cpack made no package $package"
done
made=$(cd "$tree/build" && ls ./*.deb | sed 's|^\./||; s/_.*//' | sort | tr '\n' ' ')
[ "$made" = "$(sort <<<"$packages" | tr '\n' ' ')" ] || fail "the README names the packages '$packages', cpack made: $made"
# The installed program draws, with the plugins of the installation.
printf '[Image]\nFile=%s/cal.png\n[Contents]\nType=Calendar\nHolidays=de-by\nLocale=de\n' "$work" >"$work/cal.ini"
env -u ORVENDALE_PLUGIN_DIR "$work/home/.local/bin/orvendale" --check "$work/cal.ini" >"$work/findings" 2>&1 || true
grep -q 'install the package' "$work/findings" && fail "the installed program misses a plugin: $(cat "$work/findings")"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "ok: $ran commands of the README's Install section; packages: $made"
