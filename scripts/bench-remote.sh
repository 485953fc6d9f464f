#!/usr/bin/env bash
# Stores one profile into N simulators behind Debian's ser2net, for N = 1, 16 and 99, each
# reached as rfc2217://127.0.0.1:PORT, with one call of the command line, then into 16
# behind relays 300 ms of round trip away; prints the wall time and CPU time of each call
# and how many devices heard both frames.
#   bench-remote.sh native SGSETUP_CLI SGSIM
#   bench-remote.sh wine SGSETUP_CLI_EXE SGSIM     (WINEPREFIX set, wineserver running)
set -euo pipefail
platform=$1 cli=$2 sgsim=$3
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
. "$(dirname "$0")/bench-store.sh"
work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

base=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
base=$((base < 60000 ? base : 40000))
printf '%%YAML 1.1\n---\n' >"$work/ser2net.yaml"
for i in $(seq 99); do
  "$sgsim" >"$work/sim$i.log" 2>&1 </dev/null &
  pids+=($!)
done
for i in $(seq 99); do
  for _ in $(seq 50); do grep -q ' -> ' "$work/sim$i.log" && break; sleep 0.1; done
  printf 'connection: &s%d\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n' \
    "$i" $((base + i)) "$(grep -o '/dev/pts/[0-9]*' "$work/sim$i.log")" >>"$work/ser2net.yaml"
done
ser2net -n -c "$work/ser2net.yaml" -P "$work/ser2net.pid" >"$work/ser2net.log" 2>&1 &
pids+=($!)
sleep 1
echo '{"data": "CAFE", "params": "00 01 00 40 19 0A 03 02"}' >"$work/profile.json"
if [ "$platform" = wine ]; then
  profile="Z:${work//\//\\}\\profile.json" command=("$wine" "$cli")
  "${command[@]}" --version >/dev/null # the first start of a prefix is slower
else
  profile=$work/profile.json command=("$cli")
fi

for n in 1 16 99; do
  ports=()
  for i in $(seq "$n"); do ports+=("rfc2217://127.0.0.1:$((base + i))"); done
  bench_store "remote " "$n" "${command[@]}" store "${ports[@]}" --from "$profile"
  bench_read "remote read --fast  " "$n" "${command[@]}" read "${ports[@]}" --fast
  bench_store "remote store --fast " "$n" "${command[@]}" store "${ports[@]}" --fast --from "$profile"
done

# The same 16 across a slow network: one relay 300 ms of round trip away per port.
ports=()
for i in $(seq 16); do
  /usr/bin/python3 "$(dirname "$0")/../tests/cli/net_servers.py" relay $((base + 200 + i)) \
    $((base + i)) 300 &
  pids+=($!)
  ports+=("rfc2217://127.0.0.1:$((base + 200 + i))")
done
sleep 1
bench_store "300 ms " 16 "${command[@]}" store "${ports[@]}" --from "$profile"
