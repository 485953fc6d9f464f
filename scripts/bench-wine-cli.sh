#!/usr/bin/env bash
# Stores one profile into N simulated devices with one sgsetup-cli.exe call under wine,
# for N = 1, 16 and 99 (COM101 onwards: wine keeps COM1 for the host's ttyS0), and prints the wall time and CPU time of that call
# and how many devices heard both frames; then times 'ports --probe' over the 99, and runs
# bench-remote.sh for the same counts behind ser2net.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SG_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
"$root/scripts/build-windows.sh" >/dev/null
exe=$root/build-win/sgsetup-cli.exe
. "$root/scripts/bench-store.sh"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

work=$(mktemp -d)
chmod 700 "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" XDG_RUNTIME_DIR=$work
sims=()
cleanup() {
  kill "${sims[@]}" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
"$wineserver" -w
"$wineserver" -p >/dev/null 2>&1 # HKLM\HARDWARE lives as long as the server

# Every simulator registered at once, as drivers would list them.
{
  echo REGEDIT4
  echo '[HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM]'
  for i in $(seq 99); do echo "\"\\\\Device\\\\sgsim$i\"=\"COM$((100 + i))\""; done
} >"$work/ports.reg"
for i in $(seq 99); do
  "$build/sim/sgsim" >"$work/sim$i.log" 2>&1 </dev/null &
  sims+=($!)
done
for i in $(seq 99); do
  for _ in $(seq 50); do
    grep -q ' -> ' "$work/sim$i.log" && break
    sleep 0.1
  done
  ln -sfn "$(grep -o '/dev/pts/[0-9]*' "$work/sim$i.log")" "$WINEPREFIX/dosdevices/com$((100 + i))"
done
"$wine" regedit "$work/ports.reg" >/dev/null 2>&1
echo '{"data": "CAFE", "params": "00 01 00 40 19 0A 03 02"}' >"$work/profile.json"
profile="Z:${work//\//\\}\\profile.json"
"$wine" "$exe" --version >/dev/null # the first start of a prefix is slower

for n in 1 16 99; do
  ports=()
  for i in $(seq "$n"); do ports+=("\\\\.\\COM$((100 + i))"); done
  bench_store "" "$n" "$wine" "$exe" store "${ports[@]}" --from "$profile"
  bench_read "read --fast  " "$n" "$wine" "$exe" read "${ports[@]}" --fast
  bench_store "store --fast " "$n" "$wine" "$exe" store "${ports[@]}" --fast --from "$profile"
done

/usr/bin/time -f '%e %U %S' -o "$work/time" "$wine" "$exe" ports --probe >"$work/out" </dev/null ||
  true
read -r wall user sys <"$work/time"
awk -v found="$(grep -c generator "$work/out")" -v wall="$wall" -v user="$user" -v sys="$sys" \
  'BEGIN { printf "ports --probe over 99: %d generators  wall %.2f s  CPU %.0f ms\n",
           found, wall, (user + sys) * 1000 }'
ls -l "$root/build-win/sgsetup.exe" "$exe" | awk '{ printf "%s  %d bytes\n", $NF, $5 }'
kill "${sims[@]}" 2>/dev/null || true
sims=()
"$root/scripts/bench-remote.sh" wine "$exe" "$build/sim/sgsim"
