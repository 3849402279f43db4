#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need.
# Idempotent: asks apt only for what dpkg does not already report installed.
# Usage: scripts/install-deps.sh [extra-package ...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libpng-dev zlib1g-dev libstb-dev
  fonts-dejavu-core fonts-ipafont-gothic fontconfig
  faketime
  libkf5holidays-dev libkf5holidays-data qtbase5-dev libical-dev libicu-dev
  libraqm-dev libharfbuzz-dev libfribidi-dev fonts-noto-core libharfbuzz-bin pango1.0-tools
  dpkg-dev file systemd groff-base man-db lintian
  # The smooth-text and background tests: a reference renderer and a PNG optimiser.
  python3-pil optipng
  # The events tests: an independent expansion of the calendars.
  python3-icalendar python3-dateutil
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
