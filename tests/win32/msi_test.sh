#!/usr/bin/env bash
# Installs, upgrades and uninstalls the MSI under wine on a fresh prefix, silently, as an
# administrator's script would, and checks what each step leaves behind.
#   msi_test.sh MSI NEWER_MSI
set -uo pipefail
msi=$1 newer=$2
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix "$wineserver" -k 2>/dev/null; rm -rf "$work"' EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
# A new prefix goes on setting itself up after wineboot returns; an install that races it
# once lost its PATH entry. Let it settle, then keep one server for every step.
"$wineserver" -w
"$wineserver" -p >/dev/null 2>&1
user_dir=$WINEPREFIX/drive_c/users/$(id -un)
folder=$user_dir/AppData/Local/Programs/sgsetup
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/sgsetup.lnk"
failures=0

check() { # name, command...
  local name=$1
  shift
  if "$@"; then echo "ok - msi: $name"; else echo "not ok - msi: $name" && failures=$((failures + 1)) && return 1; fi
}
msiexec() { "$wine" msiexec "$@" >/dev/null 2>&1; }
user_path() { "$wine" reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r'; }
# The entries "Apps & features" shows for sgsetup, as "version publisher" lines.
listed() {
  for root in HKCU HKLM; do
    "$wine" reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s \
      2>/dev/null | tr -d '\r'
  done | awk '/^HKEY/ { if (name == "sgsetup") print version, publisher; name = version = publisher = "" }
              $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 }
              $1 == "Publisher" { publisher = $3 " " $4 }
              END { if (name == "sgsetup") print version, publisher }'
}
installed_version() { "$wine" "$folder/sgsetup-cli.exe" --version 2>/dev/null | tr -d '\r'; }

table() { msiinfo export "$msi" "$1" 2>/dev/null | tail -n +4; }
check "the Shortcut, Environment and Upgrade tables are filled" \
  test -n "$(table Shortcut)" -a -n "$(table Environment)" -a -n "$(table Upgrade)"

check "silent install" msiexec /i "Z:${msi//\//\\}" /qn
check "both programs and the read-me are in the folder" \
  test -f "$folder/sgsetup.exe" -a -f "$folder/sgsetup-cli.exe" -a -f "$folder/README.txt"
check "the Start menu has the shortcut" test -f "$shortcut"
check "the folder is on the user's PATH" grep -q 'AppData\\Local\\Programs\\sgsetup' <<<"$(user_path)" ||
  echo "# PATH after install: $(grep PATH <<<"$(user_path)")"
check "sgsetup-cli --version runs from the folder" grep -q '^sgsetup-cli ' <<<"$(installed_version)"
check "Apps & features lists it with version and publisher" \
  test "$(listed)" = "$(basename "$msi" | sed 's/^sgsetup-\(.*\)-x64.msi$/\1/') sgsetup developers"

newer_version=$(basename "$newer" | sed 's/^sgsetup-\(.*\)-x64.msi$/\1/')
check "silent upgrade" msiexec /i "Z:${newer//\//\\}" /qn
check "one copy is listed, the new version" test "$(listed)" = "$newer_version sgsetup developers"
check "the PATH holds the folder once" \
  test "$(grep -o 'Programs\\sgsetup' <<<"$(user_path)" | wc -l)" = 1
check "an older version does not install over a newer one" bash -c '! "$0" msiexec /i "$1" /qn >/dev/null 2>&1' \
  "$wine" "Z:${msi//\//\\}"
check "and the newer one stays" test "$(listed)" = "$newer_version sgsetup developers"

check "silent uninstall" msiexec /x "Z:${newer//\//\\}" /qn
check "no file is left" test ! -e "$folder"
check "no shortcut is left" test ! -e "$shortcut"
check "no PATH entry is left" bash -c '! grep -q "Programs\\\\sgsetup" <<<"$0"' "$(user_path)"
check "nothing is listed" test -z "$(listed)"
echo "msi: $failures failed"
exit $((failures > 0))
