#!/usr/bin/env bash
# Checks a built package without installing it: its file list, and that the programs it
# carries start from a folder it was unpacked into.
set -euo pipefail
deb=$1
listing=$(dpkg-deb -c "$deb")
for path in usr/bin/sgsetup usr/bin/sgsetup-cli usr/bin/sgsim \
            usr/share/applications/sgsetup.desktop \
            usr/share/icons/hicolor/scalable/apps/sgsetup.svg \
            usr/share/icons/hicolor/32x32/apps/sgsetup.png \
            usr/share/man/man1/sgsetup.1.gz usr/share/man/man1/sgsetup-cli.1.gz \
            usr/share/man/man1/sgsim.1.gz usr/share/doc/sgsetup/copyright; do
  grep -q " \./$path\$" <<<"$listing" || { echo "package: $path is missing from $deb"; exit 1; }
done
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
version=$("$unpacked/usr/bin/sgsetup-cli" --version | head -n 1)
[ "$version" = "sgsetup-cli 1.0" ] || { echo "package: --version says '$version'"; exit 1; }
"$unpacked/usr/bin/sgsetup-cli" decode 00 01 00 40 19 0A 00 04 | grep -q "= 9615 baud" ||
  { echo "package: decode does not explain the divisor"; exit 1; }
echo "package: $(basename "$deb") holds all three programs and they start"
