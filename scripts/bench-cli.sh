#!/usr/bin/env bash
# Stores one profile into N simulated devices with one sgsetup-cli call, for N = 1, 16 and
# 99, and prints the wall time, peak resident memory and CPU time of that call; then the
# same devices read and stored with --fast.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SG_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null

work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work # only this run's simulators are listed after the host's ports
sims=()
trap 'kill "${sims[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
echo '{"data": "CAFE", "params": "00 01 00 40 19 0A 03 02"}' >"$work/profile.json"
. "$root/scripts/bench-store.sh"

for n in 1 16 99; do
  sims=()
  for _ in $(seq "$n"); do
    "$build/sim/sgsim" >/dev/null &
    sims+=($!)
  done
  coms=()
  for _ in $(seq 50); do
    mapfile -t coms < <("$build/app/sgsetup-cli" ports --json |
      sed -n 's/^{"com":[^,]*,"description":"sgsim device simulator","device":"\([^"]*\)".*/\1/p')
    [ "${#coms[@]}" -eq "$n" ] && break
    sleep 0.1
  done
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" \
    "$build/app/sgsetup-cli" store "${coms[@]}" --from "$work/profile.json" >"$work/out" || true
  read -r wall rss user sys <"$work/time"
  ok=$(grep -c ' ok ' "$work/out" || true)
  awk -v n="$n" -v ok="$ok" -v wall="$wall" -v rss="$rss" -v user="$user" -v sys="$sys" \
    'BEGIN { printf "N=%-2d  %2d ok  wall %.2f s  peak RSS %.1f MB  CPU %.0f ms\n",
             n, ok, wall, rss / 1024, (user + sys) * 1000 }'
  bench_read "read --fast  " "$n" "$build/app/sgsetup-cli" read "${coms[@]}" --fast
  bench_read "store --fast " "$n" "$build/app/sgsetup-cli" store "${coms[@]}" --fast \
    --from "$work/profile.json"
  kill "${sims[@]}"
  wait "${sims[@]}" 2>/dev/null || true
done

"$root/scripts/bench-remote.sh" native "$build/app/sgsetup-cli" "$build/sim/sgsim"
