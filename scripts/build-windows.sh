#!/usr/bin/env bash
# Cross-builds the Windows front end with mingw-w64 into build-win/ (or $SG_WIN_BUILD_DIR):
# sgsetup.exe and sgsetup-cli.exe, each statically linked, and the driver the window's
# tests run under wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SG_WIN_BUILD_DIR:-$root/build-win}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
x86_64-w64-mingw32-strip "$build/app/sgsetup.exe"
x86_64-w64-mingw32-strip "$build/app/sgsetup-cli.exe"
cp "$build/app/sgsetup.exe" "$build/app/sgsetup-cli.exe" "$build/"
