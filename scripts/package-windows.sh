#!/usr/bin/env bash
# Cross-builds both programs and leaves build/sgsetup-<version>-win64.zip with them and a read-me.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=${SG_WIN_BUILD_DIR:-$root/build-win}
SG_WIN_BUILD_DIR=$win "$root/scripts/build-windows.sh" >/dev/null
version=$(sed -n 's/^project(sgsetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$win/sgsetup.exe" "$win/sgsetup-cli.exe" "$stage/"
sed 's/$/\r/' "$root/package/windows/README.txt" >"$stage/README.txt"
mkdir -p "$root/build"
zip="$root/build/sgsetup-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -9 "$zip" sgsetup.exe sgsetup-cli.exe README.txt)
echo "$zip"
