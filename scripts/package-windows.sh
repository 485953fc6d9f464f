#!/usr/bin/env bash
# Cross-builds both programs and leaves, in build/, sgsetup-<version>-win64.zip (the two
# exes and a read-me) and sgsetup-<version>-x64.msi (a per-user installer of the same).
# SG_MSI_VERSION builds the installer under another version, for the upgrade test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=${SG_WIN_BUILD_DIR:-$root/build-win}
SG_WIN_BUILD_DIR=$win "$root/scripts/build-windows.sh" >/dev/null
version=$(sed -n 's/^project(sgsetup VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
msi_version=${SG_MSI_VERSION:-$version}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$win/sgsetup.exe" "$win/sgsetup-cli.exe" "$win/win32/sgsetup.ico" "$stage/"
sed 's/$/\r/' "$root/package/windows/README.txt" >"$stage/README.txt"
mkdir -p "$root/build"

zip="$root/build/sgsetup-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -9 "$zip" sgsetup.exe sgsetup-cli.exe README.txt)

# wixl has no Environment element: the PATH entry goes in as a table of its own, with
# the two actions that write it on install and take it out on uninstall.
msi="$root/build/sgsetup-$msi_version-x64.msi"
(cd "$stage" && wixl -a x64 -D Version="$msi_version" -o "$msi" \
  "$root/package/windows/sgsetup.wxs")
printf 'Environment\tName\tValue\tComponent_\ns72\tl255\tL255\ts72\nEnvironment\tEnvironment\n%s\n' \
  $'PathEntry\t=-PATH\t[~];[INSTALLDIR]\tPathEntry' >"$stage/Environment.idt"
msibuild "$msi" -i "$stage/Environment.idt" \
  -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('RemoveEnvironmentStrings', 3300)" \
  -q "INSERT INTO InstallExecuteSequence (Action, Sequence) VALUES ('WriteEnvironmentStrings', 5200)"
echo "$zip"
echo "$msi"
