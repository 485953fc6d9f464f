#!/usr/bin/env bash
# Builds a release with Debian's hardening flags and leaves build/sgsetup_<version>_<arch>.deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
release=${SG_RELEASE_DIR:-$root/build-release}
"$root/scripts/setup.sh"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
  cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$release" --parallel "$(nproc)" >/dev/null
mkdir -p "$root/build"
cpack --config "$release/CPackConfig.cmake" -B "$root/build" >"$release/cpack.log" 2>&1 ||
  { cat "$release/cpack.log"; exit 1; }
rm -rf "$root/build/_CPack_Packages"
ls "$root"/build/sgsetup_*.deb
