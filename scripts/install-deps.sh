#!/usr/bin/env bash
# Installs the Debian packages the program, its build and its tests need.
# Idempotent: installs only what is missing. Usage: scripts/install-deps.sh [run|test]
set -euo pipefail
mode=${1:-test}

build_pkgs=(cmake g++ make ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-serialport-dev qt6-qpa-plugins
  libqt6multimedia6 flite1-dev libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us
  libxtst-dev libx11-dev)
# The trainer's tools adapt the recogniser to the family's voices.
run_pkgs=(pulseaudio-utils fonts-dejavu-core fonts-liberation2 sphinxtrain sphinxbase-utils pocketsphinx)
test_pkgs=(python3 python3-pyatspi at-spi2-core dbus-x11 xvfb xauth xdotool x11-utils imagemagick pulseaudio pulseaudio-utils
  flite espeak-ng sox dbus clang libclang-rt-14-dev
  poppler-utils dpkg-dev file lintian appstream weston qt6-wayland)

pkgs=("${build_pkgs[@]}" "${run_pkgs[@]}")
[ "$mode" = test ] && pkgs+=("${test_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
