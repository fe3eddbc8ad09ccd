#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Qel-Viewer needs.
# Only missing packages are installed, so a second run is quick.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  openjdk-17-jdk-headless
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool x11-apps imagemagick libx11-dev libxcb1-dev
  fonts-dejavu-core
  jq # tests/each_alone.sh reads the list of tests with it
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
