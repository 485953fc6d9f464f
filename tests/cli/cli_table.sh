#!/usr/bin/env bash
# The command line's black-box table, one set of rows for both programs: sgsetup-cli on
# Linux, and sgsetup-cli.exe under wine, with sgsim devices found the platform's way.
#   cli_table.sh native SGSETUP_CLI SGSIM
#   cli_table.sh wine SGSETUP_CLI_EXE SGSIM [REFERENCE_CLI]
# wine needs WINEPREFIX set and a wineserver kept running (HKLM\HARDWARE lives with it).
# REFERENCE_CLI is the Linux program, whose decode and divisor bytes the exe must match.
set -uo pipefail
platform=$1 cli=$2 sgsim=$3 reference=${4:-}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work # the native catalog sees this run's simulators only
export XDG_CONFIG_HOME=$work/config # and no ports file but the one the rows write
declare -A sim_pid sim_dev com
pids=()
failures=0
next_com=21

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  if [ "$platform" = wine ]; then
    for n in $(seq 21 "$next_com"); do unregister "$n"; done
  fi
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A driver may name its device at length (the window's table uses short names).
driver_name() { printf '\\Device\\sgsim%s-%0300d' "$1" 0; }
register() { # COM number, pseudo-terminal or nothing: as a serial driver would
  [ -n "$2" ] && ln -sfn "$2" "$WINEPREFIX/dosdevices/com$1"
  "$wine" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "$(driver_name "$1")" /t REG_SZ \
    /d "COM$1" /f >/dev/null 2>&1
}
unregister() {
  rm -f "$WINEPREFIX/dosdevices/com$1"
  "$wine" reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "$(driver_name "$1")" /f \
    >/dev/null 2>&1
}

start_sim() { # name, sgsim options...
  local name=$1
  shift
  "$sgsim" "$@" >"$work/$name.log" 2>&1 </dev/null &
  sim_pid[$name]=$!
  pids+=($!)
  for _ in $(seq 50); do
    grep -q ' -> ' "$work/$name.log" && break
    sleep 0.1
  done
  sim_dev[$name]=$(grep -o '/dev/pts/[0-9]*' "$work/$name.log" | head -n 1)
  if [ "$platform" = wine ]; then
    com[$name]=$next_com
    register "$next_com" "${sim_dev[$name]}"
    next_com=$((next_com + 1))
  fi
}

# Linux numbers the catalog in order, so numbers are read off it once every port is there.
number_sims() {
  [ "$platform" = native ] || return 0
  local ports name number
  ports=$("$cli" ports)
  for name in "${!sim_dev[@]}"; do
    number=$(awk -v d="${sim_dev[$name]}" '$2 == d { print substr($1, 4) }' <<<"$ports")
    [ -z "$number" ] || com[$name]=$number # a stopped one keeps the number it was given
  done
}

stop_sim() { # name: its port is gone, as an unplugged adapter's is
  kill "${sim_pid[$1]}"
  wait "${sim_pid[$1]}" 2>/dev/null
  if [ "$platform" = wine ]; then
    unregister "${com[$1]}"
  else
    sleep 0.2 # sgsim removes its entry as it ends
    com[$1]=$(($("$cli" ports --json | wc -l) + 1))
  fi
}

# A path as the program takes it: Windows programs see the Linux root as drive Z:.
native_path() {
  if [ "$platform" = wine ]; then echo "Z:${1//\//\\}"; else echo "$1"; fi
}

start_run() { # arguments...: the program in the background; leaves reader
  if [ "$platform" = wine ]; then
    "$wine" "$cli" "$@" >"$work/out" 2>"$work/err" </dev/null &
  else
    "$cli" "$@" >"$work/out" 2>"$work/err" </dev/null &
  fi
  reader=$!
}
end_run() { # waits for it; leaves status, out and err
  wait "$reader"
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}
run() { # arguments...; leaves status, out and err
  start_run "$@"
  end_run
}

ok() { echo "ok - $platform: $1"; }
not_ok() {
  echo "not ok - $platform: $1"
  echo "  status $status; stdout: $out"
  echo "  stderr: $err"
  failures=$((failures + 1))
}

# row NAME STATUS STDOUT_PATTERN STDERR_PATTERN -- arguments...
row() {
  local name=$1 want=$2 out_pattern=$3 err_pattern=$4
  shift 5
  run "$@"
  if [ "$status" = "$want" ] && grep -Eq -- "$out_pattern" <<<"$out" &&
    grep -Eq -- "$err_pattern" <<<"$err"; then
    ok "$name"
  else
    not_ok "$name (wanted status $want)"
  fi
}

check() { # name, shell test...
  local name=$1
  shift
  if "$@"; then ok "$name"; else not_ok "$name"; fi
}

start_sim good
start_sim silent --silent
start_sim other --no-echo --answer-length 16 # 16 bytes, none of them an answer
start_sim short --answer-length 3
start_sim busy --busy-ms 300 # as a device that writes its memory
start_sim gone
stop_sim gone
number_sims # after the stop, which renumbers the simulators listed after it
good=${com[good]} silent=${com[silent]} other=${com[other]} short=${com[short]} gone=${com[gone]}
busy=${com[busy]}
mkdir -p "$work/Zoë"
profile=$work/Zoë/profile.json

# Usage errors: exit 64, nothing sent.
echo '{"data": 1234, "params": "00 01 00 40 19 0A 00 02"}' >"$work/number.json"
row "read 100: two digits at most" 64 '^$' 'COM: expected' -- read 100
row "store --from with --data" 64 '^$' 'not both' -- \
  store "$good" --from "$(native_path "$work/number.json")" --data 01
row "decode takes no --json" 64 '^$' 'json' -- decode 00 01 00 40 19 0A 00 04 --json
row "ports takes no argument" 64 '^$' "ports: takes no arguments, got 'x'" -- ports x
row "divisor takes one rate" 64 '^$' 'BAUD' -- divisor 9600 19200
row "a profile's data must be a string" 64 '^$' '"data" must be a string' -- \
  store "$good" --from "$(native_path "$work/number.json")"
if [ "$platform" = wine ]; then good_device="\\\\.\\COM$good"; else good_device=${sim_dev[good]}; fi
row "the same port twice" 64 '^$' "COM$good and .* are the same port" -- read "$good" "$good_device"

row "--help" 0 '^usage: sgsetup-cli' '^$' -- --help
check "--help lists every verb" test "$(grep -Ec '^  (ports|read|store|decode|divisor) ' <<<"$out")" = 5
row "--version" 0 '^MIT License' '^$' -- --version
check "--version says the version and the licence, alone" \
  grep -Pzq '\Asgsetup-cli \d+(\.\d+)+\r?\nMIT License\r?\n\z' <<<"$out"

row "divisor out of reach" 1 '115200 baud cannot be reached within 2%' '^$' -- divisor 115200
row "divisor in reach" 0 '^00 40 \(divisor 64\): 9615 baud, \+0\.16%$' '^$' -- divisor 9600
if [ -n "$reference" ]; then
  for arguments in "divisor 19200" "divisor 115200" "decode 00 01 01 40 19 0A 00 04"; do
    run $arguments
    check "'$arguments' prints what the Linux program prints" \
      cmp -s "$work/out" <("$reference" $arguments 2>&1)
  done
fi

# Three devices at once, one silent: three lines in the order given, exit 1.
start=$(date +%s%N)
row "one of three silent" 1 '' '^$' -- read "$good" "$silent" "$other" --json
elapsed=$((($(date +%s%N) - start) / 1000000))
check "three devices took one device's time (${elapsed} ms)" test "$elapsed" -lt 4500
check "the lines come in the order given, with the device's data" grep -q \
  "^{\"com\":$good,\"data\":\"01020304\",.*\"ok\":true,\"params\":\"00 01 00 40 19 0A 00 04\"" \
  <<<"$(sed -n 1p <<<"$out")"
check "the silent device says so" grep -q "\"com\":$silent,.*\"error\":\"ERROR! No response.\",\"ok\":false" <<<"$(sed -n 2p <<<"$out")"
check "and what came back: only its echo" grep -q \
  "only the request's own echo: the device did not answer\",\"received\":\"4405180059\"}$" \
  <<<"$(sed -n 2p <<<"$out")"
row "a short answer is counted and shown" 1 \
  "No response. \(COM$short: 8 of 16 bytes came back: 44 05 18 00 59 44 0B 00\)$" '^$' -- read "$short"
row "--trace shows each frame and chunk, timed" 0 "ok data" \
  "^sgsetup-cli: [0-9]+ ms .* sent 44 05 18 00 59$" -- read "$good" --trace
# The line may split the echo from the answer anywhere, so the chunks are joined.
check "and what came back" test "$(sed -En 's/^sgsetup-cli: [0-9]+ ms .* received //p' <<<"$err" | tr '\n' ' ')" \
  = "44 05 18 00 59 44 0B 00 01 00 40 19 0A 00 04 19 44 05 18 10 49 44 0B 01 02 03 04 00 00 00 00 4B "

# --fast: each step once the line allows. The same answer, at once; a write that outruns a
# busy device fails its read-back, and a settle past its busy time stores.
timed_row() { # bound in ms, then row's arguments
  local bound=$1 start elapsed
  shift
  start=$(date +%s%N)
  row "$@"
  elapsed=$((($(date +%s%N) - start) / 1000000))
  check "in ${elapsed} ms" test "$elapsed" -lt "$bound"
}
timed_row 1000 "read --fast prints what the paced read prints" 0 \
  "^COM$good [^ ]+ ok data 01020304 params 00 01 00 40 19 0A 00 04$" '^$' -- read "$good" --fast
timed_row 1000 "a probe --fast of a generator ends at its answer" 0 "generator, 9615 baud$" '^$' -- \
  ports --probe "$good" --fast
row "store --fast with a settle shorter than the device's write" 1 \
  "^COM$busy .*No response. \(COM$busy: 5 of 16 bytes came back, only the request's own echo" '^$' -- \
  store "$busy" --fast --settle 50 --data 0102 --params "00 01 00 40 19 0A 00"
timed_row 2500 "and with one longer" 0 "^COM$busy [^ ]+ ok verified data 0102 params 00 01 00 40 19 0A 00 02$" \
  '^$' -- store "$busy" --fast --settle 400 --data 0102 --params "00 01 00 40 19 0A 00"

row "read --save" 0 "^COM$good .* ok data 01020304" '^$' -- read "$good" --save "$(native_path "$profile")"
check "the profile holds data and params in their fields" \
  grep -Pzq '"data": "01020304",\n    "params": "00 01 00 40 19 0A 00 04"' "$profile"
row "a profile that cannot be written is an error" 64 "^COM$good .* ok" '^sgsetup-cli: ' -- \
  read "$good" --save "$(native_path "$work/no-such-folder/profile.json")"
mkdir "$work/taken"
row "a profile over a folder is an error" 64 "^COM$good .* ok" '^sgsetup-cli: ' -- \
  read "$good" --save "$(native_path "$work/taken")"
check "and leaves no temporary file behind" test -z "$(find "$work" -name '*.tmp')"
row "a silent read saves nothing" 1 'No response' '^$' -- \
  read "$silent" --save "$(native_path "$work/silent.json")"
check "no profile from a silent device" test ! -e "$work/silent.json"
row "an unusable port outweighs a silent device" 2 'Check COM settings' '^$' -- \
  read "$good" "$silent" "$gone"
row "verify against a device that answers other bytes" 3 'verify mismatch' '^$' -- \
  store "$other" --data 0102 --params "00 01 00 40 19 0A 00" --verify
row "--verify --json says it verified" 0 '"ok":true,.*"verified":true}$' ' opened$' -- \
  store "$good" --data 0102 --params "00 01 00 40 19 0A 00" --verify --json --trace
check "and read back on the port it stored through" \
  test "$(grep -c ' opened$' <<<"$err"):$(grep -c ' closed$' <<<"$err")" = 1:1
row "16 data digits and 7 parameter bytes" 0 'params 00 01 00 40 19 0A 00 08$' '^$' -- \
  store "$good" --data 0123456789ABCDEF --params "0001004019 0A00"
# Bytes a line discipline would turn, swallow or act on come back as they went.
row "control bytes make the round trip" 0 'ok verified data 00030A0D11131A1C params 7F FF 11 13 0D 0A 03 08$' \
  '^$' -- store "$good" --data 00030A0D11131A1C --params "7F FF 11 13 0D 0A 03" --verify
row "store --from a profile under a non-ASCII folder" 0 "ok verified data 01020304" '^$' -- \
  store "$good" --from "$(native_path "$profile")" --verify

# A port by its own name, reported the way it was given.
if [ "$platform" = wine ]; then
  names=("\\\\.\\COM$good" "com$good")
else
  ln -s "${sim_dev[good]}" "$work/usb-sim-by-id"
  names=("${sim_dev[good]}" "$work/usb-sim-by-id")
fi
for name in "${names[@]}"; do
  expected=$name
  [[ $name == com* ]] && expected=COM$good
  row "read $name" 0 "\"com\":$good,\"data\":\"01020304\".*\"port\":\"${expected//\\/\\\\\\\\}\"" '^$' -- \
    read "$name" --json
done

# The probe: every port at once, one read-parameters request each, never a write.
if [ "$platform" = wine ]; then
  register 29 "" # listed, but nothing behind it
else
  ln -s / "$work/sgsetup/ports/zz-not-a-port"
  # Held as a running simulator holds its entry's lock, or the entry would not be listed.
  exec {held}>"$work/sgsetup/ports/zz-not-a-port.lock"
  flock "$held"
fi
for sim in good silent other short; do : >"$work/$sim.log"; done
row "ports lists the ports" 0 "^COM$good " '^$' -- ports
sleep 0.2
check "and asks no device anything" test -z "$(cat "$work"/{good,silent,other,short}.log)"
for sim in good silent other short; do : >"$work/$sim.log"; done
start=$(date +%s%N)
row "ports --probe finds the generator" 0 "^COM$good  .*generator, 9615 baud$" '^$' -- ports --probe
first_ms=$((($(date +%s%N) - start) / 1000000))
check "exactly the two generators" test "$(grep -c generator <<<"$out")" = 2
check "well-formed answers only" grep -q "^COM$other  .*no answer$" <<<"$out"
check "a short answer is no answer" grep -q "^COM$short  .*no answer$" <<<"$out"
check "a port that cannot be opened is unusable" grep -q "unusable (" <<<"$out"
sleep 0.2
for sim in good silent other short; do
  check "$sim heard one request and no write" \
    test "$(grep -c 'read params' "$work/$sim.log"):$(grep -c write "$work/$sim.log")" = 1:0
done
row "ports --probe exits 1 when no generator answers" 1 "^COM$silent  .*no answer$" '^$' -- \
  ports --probe "$silent"
row "ports --probe COM asks only the port named" 0 "^COM$good  .*generator, 9615 baud$" '^$' -- \
  ports --probe "$good"
check "one line for one port named" test "$(wc -l <<<"$out")" = 1
start=$(date +%s%N)
row "ports --probe --json" 0 "\"bitRate\":9615\.[0-9]+,\"com\":$good,.*\"probe\":\"generator\"" '^$' -- \
  ports --probe --json
second_ms=$((($(date +%s%N) - start) / 1000000))
# A loaded machine can stall one run; a probe that waits a tick per port is slow in both.
check "the probe took under 2 s (${first_ms} ms, then ${second_ms} ms)" \
  test "$((first_ms < second_ms ? first_ms : second_ms))" -lt 2000

# Ctrl+C during a transfer (wine turns SIGINT into the console's Ctrl+C): the ports are
# closed and the exit status says so.
start_run read "$silent"
sleep 1
kill -INT "$reader"
end_run
check "Ctrl+C exits 130 and closes the ports" test "$status:$err" = \
  "130:sgsetup-cli: interrupted; every port is closed"

. "$(dirname "$0")/remote_rows.sh"

echo "$platform: $failures failed"
[ "$failures" = 0 ]
