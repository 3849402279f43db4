#!/usr/bin/env bash
# The installation and the Debian packages of a build: cpack makes the program's package
# and one per plugin, which are unpacked into a scratch folder (nothing is installed on
# the system); their control data names each package, its version, its maintainer and
# the libraries it needs (the program's none of the plugins'); each has a copyright file
# and a changelog, and lintian finds no error. The unpacked program draws an example
# exactly as the built one does, runs silently without the plugin packages (and --check
# names them), finds its plugins where their packages put them, and checks another
# example when it has --check. An installation into a home folder's
# ~/.local gets units that name the program there.
# Usage: package_test.sh BUILD-FOLDER PNG-PROBE SOURCE-FOLDER
set -euo pipefail
build=$(realpath "$1")
probe=$(realpath "$2")
source_dir=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
for tool in cpack dpkg-deb dpkg-shlibdeps faketime; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "FAIL: the build has no project version"; exit 1; }

# The packages: the program's, and one per plugin, as the build lists its parts.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack made no package"
  exit 1
fi
architecture=$(dpkg --print-architecture)
parts=$(sed -n 's/^set(CPACK_COMPONENTS_ALL "\(.*\)")$/\1/p' "$build/CPackConfig.cmake" | tr ';' ' ')
plugins=${parts/orvendale/}
[ -n "${plugins// /}" ] || fail "the build lists no plugin packages: '$parts'"
deb_of() { echo "$work/package/${1}_${version}_${architecture}.deb"; }
deb=$(deb_of orvendale)
for package in orvendale ${plugins// / orvendale-}; do
  [ -f "$(deb_of "$package")" ] || { echo "FAIL: no $(basename "$(deb_of "$package")") among: $(ls "$work/package")"; exit 1; }
done
made=$(cd "$work/package" && ls ./*.deb | wc -l)
[ "$made" -eq $((1 + $(wc -w <<<"$plugins"))) ] || fail "cpack made $made packages: $(ls "$work/package")"

# Their control data.
maintainer=$(sed -n 's/^ORVENDALE_PACKAGE_MAINTAINER:STRING=//p' "$build/CMakeCache.txt")
field() { dpkg-deb --field "$deb" "$1"; }
for deb in "$work"/package/*.deb; do
  package=$(basename "$deb" "_${version}_${architecture}.deb")
  [ "$(field Package)" = "$package" ] || fail "$package: Package is '$(field Package)'"
  [ "$(field Version)" = "$version" ] || fail "$package: Version is '$(field Version)', not $version"
  [ "$(field Architecture)" = "$architecture" ] || fail "$package: Architecture is '$(field Architecture)'"
  [ -n "$(field Section)" ] || fail "$package: no Section"
  [[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "$package: Maintainer '$(field Maintainer)' is not 'Name <address>'"
  [ "$(field Maintainer)" = "$maintainer" ] || fail "$package: Maintainer '$(field Maintainer)', not the build's '$maintainer'"
  [ "$(field Description | wc -l)" -ge 2 ] || fail "$package: no long Description"
  # Each package has its own copyright file and a changelog of this version by its maintainer.
  [ -n "$(dpkg-deb --contents "$deb" | grep " ./usr/share/doc/$package/copyright$")" ] || fail "$package: no copyright file"
  changelog=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/doc/$package/changelog.gz" 2>/dev/null | zcat 2>/dev/null || true)
  [[ "$(head -1 <<<"$changelog")" == "orvendale ($version) "* ]] || fail "$package: the changelog's first entry is not $version: $(head -1 <<<"$changelog")"
  grep -qF -- " -- $maintainer  " <<<"$changelog" || fail "$package: the changelog is not signed by $maintainer"
done
deb=$(deb_of orvendale)
depends=$(field Depends)
# dpkg-shlibdeps names the package of every library the program links; the libraries of
# the plugins are theirs alone.
for library in 'libpng16-16 ' 'libfreetype6 ' 'libfontconfig1 ' 'libc6 '; do
  [[ "$depends, " == *"$library("* ]] || fail "Depends lacks ${library% }: $depends"
done
[[ "$depends" =~ libqt|libkf5|libical|libicu ]] && fail "orvendale depends on a plugin's library: $depends"
for plugin in $plugins; do
  [[ ", $(field Suggests), " == *", orvendale-$plugin,"* ]] || fail "orvendale does not suggest orvendale-$plugin: $(field Suggests)"
done
# The library package each plugin needs, for the plugins the settings below ask for.
declare -A plugin_library=([holidays-kde]='libkf5holidays5 ' [ical]='libical3 ' [locale-icu]='libicu' [text-layout]='libraqm0 ')
for plugin in $plugins; do
  deb=$(deb_of "orvendale-$plugin")
  plugin_depends=$(field Depends)
  [[ "$plugin_depends" == "orvendale (= $version)"* ]] || fail "orvendale-$plugin does not depend on orvendale (= $version): $plugin_depends"
  library=${plugin_library[$plugin]:-}
  [ -z "$library" ] || [[ "$plugin_depends" == *"$library"* ]] || fail "orvendale-$plugin: Depends lacks ${library% }: $plugin_depends"
  files=$(dpkg-deb --contents "$deb" | awk '$NF !~ /\/$/ {print $NF}' | grep -v "^./usr/share/doc/orvendale-$plugin/" || true)
  [ "$files" = "./usr/lib/orvendale/orvendale-$plugin.so" ] || fail "orvendale-$plugin holds: $files"
done
deb=$(deb_of orvendale)

# lintian finds no error in any package; its warnings are shown. (It exits with 1 for an
# error, with more for a failure of its own.)
if command -v lintian >/dev/null; then
  status=0
  lintian "$work"/package/*.deb >"$work/lintian" 2>&1 || status=$?
  [ "$status" -le 1 ] || fail "lintian failed ($status): $(cat "$work/lintian")"
  grep -q '^E: ' "$work/lintian" && fail "lintian: $(grep '^E: ' "$work/lintian")"
  grep '^W: ' "$work/lintian" | sed 's/^/lintian /' || true
else
  fail "lintian is not installed"
fi

# Its files, unpacked into a scratch folder.
root="$work/root"
dpkg-deb --extract "$deb" "$root"
program="$root/usr/bin/orvendale"
[ -x "$program" ] || fail "no usr/bin/orvendale"
for file in usr/share/man/man1/orvendale.1.gz usr/share/doc/orvendale/README.md \
  usr/share/doc/orvendale/orvendale.cron usr/share/systemd/user/orvendale@.service \
  usr/share/systemd/user/orvendale@.timer; do
  [ -s "$root/$file" ] || fail "no $file"
done
for example in "$source_dir"/examples/*; do
  # The example calendars are folders of files.
  diff -rq "$example" "$root/usr/share/doc/orvendale/examples/$(basename "$example")" >/dev/null 2>&1 ||
    fail "example $(basename "$example") missing or changed"
done
# The manual page formats without a single warning.
if [ -s "$root/usr/share/man/man1/orvendale.1.gz" ]; then
  warnings=$(zcat "$root/usr/share/man/man1/orvendale.1.gz" | groff -man -ww -z 2>&1 || echo "groff failed")
  [ -z "$warnings" ] || fail "the manual page: $warnings"
fi
grep -qx 'ExecStart=/usr/bin/orvendale %E/orvendale/%i.ini' "$root/usr/share/systemd/user/orvendale@.service" ||
  fail "the service does not run /usr/bin/orvendale: $(grep ExecStart "$root/usr/share/systemd/user/orvendale@.service")"

# The unpacked program draws an example, byte for byte as the built program does.
export TZ=UTC
draw() { # program, folder
  mkdir -p "$2/out" "$2/examples"
  cp -r "$root/usr/share/doc/orvendale/examples/"* "$2/examples/"
  (cd "$2" && faketime '2008-03-20 12:00:00' "$1" examples/calendar.ini >"$2/printed" 2>&1) ||
    fail "$1 ended with exit code $?"
  [ -s "$2/printed" ] && fail "$1 printed: $(head -c 200 "$2/printed")"
  return 0
}
draw "$program" "$work/unpacked"
draw "$build/orvendale" "$work/built"
[ "$("$probe" size "$work/unpacked/out/calendar.png" 2>/dev/null || echo none)" = "168 140" ] ||
  fail "the unpacked program drew no 168 x 140 month grid"
cmp -s "$work/unpacked/out/calendar.png" "$work/built/out/calendar.png" ||
  fail "the unpacked program's picture differs from the built program's"

# --check on another example, where the program has the option.
if "$program" --help 2>/dev/null | grep -q -- '--check'; then
  mkdir -p "$work/check/out"
  status=0
  (cd "$work/check" && "$program" --check "$root/usr/share/doc/orvendale/examples/date.ini" \
    >"$work/check/findings" 2>&1) || status=$?
  [ "$status" -eq 0 ] || fail "--check date.ini: exit code $status: $(cat "$work/check/findings")"
  grep -Eq 'warning|error' "$work/check/findings" && fail "--check date.ini warns: $(cat "$work/check/findings")"
  [ -z "$(ls "$work/check/out")" ] || fail "--check wrote a file"
else
  echo "skipped: --check (this program has no such option)"
fi

# Without the plugin packages, a run whose settings ask for every optional part draws
# silently as without those keys' parts, and --check names the package each part needs.
printf '[Image]\nFile=out/plugins.png\n[Contents]\nType=Calendar\nHolidays=de-by\nHolidayFile=h.ics\nLocale=de\n[ShortName]\nSun=\xd7\x90\n' \
  >"$work/unpacked/plugins.ini"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n' >"$work/unpacked/h.ics"
status=0
(cd "$work/unpacked" && env -u ORVENDALE_PLUGIN_DIR faketime '2008-03-20 12:00:00' "$program" plugins.ini \
  >"$work/printed" 2>&1) || status=$?
[ "$status" -eq 0 ] && [ ! -s "$work/printed" ] || fail "a run without the plugin packages: exit code $status: $(cat "$work/printed")"
[ -s "$work/unpacked/out/plugins.png" ] || fail "a run without the plugin packages drew nothing"
(cd "$work/unpacked" && env -u ORVENDALE_PLUGIN_DIR "$program" --check plugins.ini >"$work/findings" 2>&1) || true
for plugin in $plugins; do
  [ -n "${plugin_library[$plugin]+named}" ] || continue  # a part these settings do not ask for
  grep -qF "(install the package orvendale-$plugin)" "$work/findings" ||
    fail "--check without orvendale-$plugin does not name the package: $(cat "$work/findings")"
done
rm -f "$work/unpacked/out/plugins.png"
for plugin in $plugins; do dpkg-deb --extract "$(deb_of "orvendale-$plugin")" "$root"; done

# The unpacked program finds the plugins of the packages where they were unpacked: a run
# whose settings ask for every optional library loads each plugin from there.
plugins=$(cd "$root" && find . -name 'orvendale-*.so' | sort)
if [ -n "$plugins" ]; then
  (cd "$work/unpacked" && env -u ORVENDALE_PLUGIN_DIR LD_DEBUG=files LD_DEBUG_OUTPUT="$work/loads" \
    faketime '2008-03-20 12:00:00' "$program" plugins.ini) || fail "the run asking for every plugin failed"
  # The loader logs each file it maps as "file=PATH [0];  generating link map". A plugin
  # whose name the program does not hold is one no run of it loads (a build can make
  # plugins before the code that uses them is in): it is named, not failed.
  for plugin in $plugins; do
    name=$(basename "$plugin" .so)
    if ! grep -qaF "${name#orvendale-}" "$program"; then
      echo "skipped: $name (the program never names it)"
      continue
    fi
    loaded=$(cat "$work"/loads.* 2>/dev/null |
      sed -n "s|.*file=\([^ ]*/$name\.so\) \[0\];  generating link map.*|\1|p" | head -1)
    [ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$(realpath "$root/$plugin")" ] ||
      fail "the unpacked program did not load $plugin from the package (loaded: ${loaded:-nothing})"
  done
else
  echo "skipped: plugin lookup (this build makes no plugins)"
fi

# An installation into a home folder: the units name the program installed there.
home="$work/home"
cmake --install "$build" --prefix "$home/.local" >/dev/null
[ -x "$home/.local/bin/orvendale" ] || fail "cmake --install put no bin/orvendale under the prefix"
grep -qx "ExecStart=$home/.local/bin/orvendale %E/orvendale/%i.ini" "$home/.local/share/systemd/user/orvendale@.service" ||
  fail "the installed service does not run the installed program"
[ -s "$home/.local/share/man/man1/orvendale.1.gz" ] || fail "cmake --install put no manual page"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "ok: $(basename "$deb"), Depends: $depends"
