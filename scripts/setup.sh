#!/usr/bin/env bash
# Installs what building, running and testing sgsetup needs; quiet when all is there.
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev qt6-serialport-dev qt6-svg-dev libxcb1-dev
          libgl-dev fonts-wine xvfb xauth clang time
          libclang-rt-14-dev libcli11-dev nlohmann-json3-dev doctest-dev
          python3-pyatspi at-spi2-core dbus ser2net sredird socat python3-serial
          g++-mingw-w64-x86-64-posix wine64 librsvg2-bin imagemagick zip wixl msitools)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
