#!/usr/bin/env bash
# Cross-builds sgsetup.exe and leaves build/sgsetup-<version>-win64.zip with it and a read-me.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=${SG_WIN_BUILD_DIR:-$root/build-win}
SG_WIN_BUILD_DIR=$win "$root/scripts/build-windows.sh" >/dev/null
version=$(sed -n 's/^project(sgsetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$win/sgsetup.exe" "$stage/"
sed 's/$/\r/' "$root/package/windows/README.txt" >"$stage/README.txt"
mkdir -p "$root/build"
zip="$root/build/sgsetup-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -9 "$zip" sgsetup.exe README.txt)
echo "$zip"
