#!/usr/bin/env bash
# Sets up, builds, starts the device simulator and then the tool; stops the simulator
# when the tool's window is closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SG_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

log=$(mktemp)
"$build/sim/sgsim" --decode >"$log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 50); do
  grep -q ' -> ' "$log" && break
  sleep 0.1
done
com=$(grep -o 'COM[0-9]*' "$log" | head -n 1 | tr -d 'COM')
echo "run: the simulator answers on COM port number ${com:-?} (type it into the COM box)"
echo "run: simulator log: tail -f $log"
"$build/app/sgsetup"
