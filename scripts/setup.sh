#!/usr/bin/env bash
# Installs everything needed to build, run and test Tessiva on Debian 12.
# Safe to run again; it only installs what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  librtmidi-dev liblo-dev
  libbenchmark-dev
  jackd2
  xvfb xauth x11-utils imagemagick xdotool
  dpkg-dev file lintian appstream desktop-file-utils
  clang libclang-rt-14-dev
  clang-format
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  # jackd2 asks about realtime limits during install; answer it up front so
  # the install never waits for a terminal.
  echo 'jackd2 jackd/tweak_rt_limits boolean false' | $SUDO debconf-set-selections
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
