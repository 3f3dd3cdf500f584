#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need; only
# the missing ones, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git
  libsdl1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev fonts-liberation libfreetype-dev
  libsdl1.2-compat
  libcairo2-dev libsndfile1-dev
  libgtest-dev libbenchmark-dev
  libx11-dev xvfb xauth xdotool openbox x11-utils imagemagick valgrind dpkg-dev file
  lintian appstream desktop-file-utils man-db
  sway xwayland grim x11-xserver-utils libwayland-dev libxkbcommon-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
