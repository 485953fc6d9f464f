#!/usr/bin/env bash
# Sets up and runs every test: a short fuzz run, the whole suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, the Debian package, then the whole suite in the normal
# build, then the Windows build under wine: the core's unit tests, the window, the command
# line, and the installer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SG_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"

"$root/scripts/fuzz.sh" "${SG_FUZZ_SECONDS:-5}"

SG_BUILD_DIR="$root/build-asan" "$root/scripts/build.sh" -DSG_SANITIZE=ON >/dev/null
UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir "$root/build-asan" --output-on-failure \
  -j "$(nproc)"

deb=$("$root/scripts/package.sh" | tail -n 1)
"$root/scripts/check-package.sh" "$deb"

"$root/scripts/build.sh" >/dev/null
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

"$root/scripts/build-windows.sh" >/dev/null
"$root/scripts/check-windows-imports.sh" "$root/build-win/sgsetup.exe" "$root/build-win/sgsetup-cli.exe"
ctest --test-dir "$root/build-win" --output-on-failure -j "$(nproc)"
"$root/tests/win32/run_wine_tests.sh" "$root/build-win/sgsetup.exe" \
  "$root/build-win/tests/win32/wine_driver.exe" "$build/sim/sgsim" \
  "$root/build-win/sgsetup-cli.exe" "$build/app/sgsetup-cli"

msi=$("$root/scripts/package-windows.sh" | tail -n 1)
version=$(basename "$msi" | sed 's/^sgsetup-\(.*\)-x64.msi$/\1/')
newer=$(SG_MSI_VERSION=$version.1 "$root/scripts/package-windows.sh" | tail -n 1)
"$root/tests/win32/msi_test.sh" "$msi" "$newer"
