# Rows for ports behind a network serial server, sourced by cli_table.sh: Debian's ser2net
# on this machine in front of simulators, as a rack's terminal server would be.
python=/usr/bin/python3

free_ports() { # count: TCP ports nothing listens on now
  "$python" -c 'import socket, sys; held = [socket.socket() for _ in range(int(sys.argv[1]))]
[s.bind(("127.0.0.1", 0)) for s in held]; print(*(s.getsockname()[1] for s in held))' "$1"
}
start_ser2net() { # name, then "accepter connector" pairs
  local name=$1 n=0
  shift
  : >"$work/$name.yaml"
  while [ $# -gt 0 ]; do
    n=$((n + 1))
    printf 'connection: &c%s\n  accepter: %s\n  connector: %s\n' "$n" "$1" "$2" >>"$work/$name.yaml"
    shift 2
  done
  ser2net -n -c "$work/$name.yaml" -P "$work/$name.pid" >"$work/$name.log" 2>&1 &
  pids+=($!)
  server_pid=$!
}
await_listening() { # port...: each listed as listening in /proc/net/tcp
  for port in "$@"; do
    for _ in $(seq 50); do grep -qi ":$(printf '%04X' "$port") 00000000:0000 0A" /proc/net/tcp && break; sleep 0.1; done
  done
}

start_sim net
start_sim net_store
read -r p_tel p_raw p_tel2 p_raw2 p_kill p_refused p_mute <<<"$(free_ports 7)"
line=9600n81,local
start_ser2net ser2net "telnet(rfc2217),tcp,127.0.0.1,$p_tel" "serialdev,${sim_dev[net]},$line" \
  "tcp,127.0.0.1,$p_raw" "serialdev,${sim_dev[net]},$line" \
  "telnet(rfc2217),tcp,127.0.0.1,$p_tel2" "serialdev,${sim_dev[net_store]},$line" \
  "tcp,127.0.0.1,$p_raw2" "serialdev,${sim_dev[net_store]},$line"
await_listening "$p_tel" "$p_raw" "$p_tel2" "$p_raw2"
tel=rfc2217://127.0.0.1:$p_tel raw=socket://127.0.0.1:$p_raw
tel2=rfc2217://127.0.0.1:$p_tel2 raw2=socket://127.0.0.1:$p_raw2
blocks='ok data 01020304 params 00 01 00 40 19 0A 00 04'

row "read through RFC 2217" 0 "^$tel $tel $blocks$" '^$' -- read "$tel"
check "the simulator heard 9600 8N1 raw, as asked" test -z "$(grep noise "$work/net.log")"
row "read through raw TCP" 0 "^$raw $raw $blocks$" '^$' -- read "$raw"
row "FF, 0D, 11 and 13 through RFC 2217" 0 \
  "^$tel2 $tel2 ok verified data FF0D1113 params FF 0D 11 13 0D 0A 03 04$" '^$' -- \
  store "$tel2" --data FF0D1113 --params "FF 0D 11 13 0D 0A 03" --verify
row "store through raw TCP" 0 "^$raw2 $raw2 ok verified data 0102 params 00 01 00 40 19 0A 00 02$" \
  '^$' -- store "$raw2" --data 0102 --params "00 01 00 40 19 0A 00" --verify
row "--json and --trace name the address, with no COM number" 0 \
  "^\{\"com\":null,\"data\":\"01020304\",\"device\":\"$raw\",\"elapsedMs\":3[0-9]{3},\"error\":null,\"ok\":true,\"params\":\"${blocks#*params }\",\"port\":\"$raw\"\}$" \
  " $raw opened$" -- read "$raw" --json --trace
row "the probe asks through the server" 0 "generator, 9615 baud$" '^$' -- ports --probe "$tel"

# Another client that asks the server for 19200 baud: the simulator hears noise, as a
# device would.
"$python" -c 'import socket, sys, time; s = socket.create_connection(("127.0.0.1", int(sys.argv[1])))
s.sendall(bytes([255, 251, 44, 255, 250, 44, 1, 0, 0, 0x4B, 0, 255, 240])); time.sleep(0.5)
s.sendall(bytes([0x44, 0x05, 0x18, 0x00, 0x59])); time.sleep(0.5)' "$p_tel"
check "a client that asks for 19200 baud is heard as noise" \
  grep -q 'line is 19200 8N1, not 9600 8N1 raw: noise' "$work/net.log"

row "a refused connection" 2 \
  "ERROR! Check COM settings \(127.0.0.1:$p_refused: connection refused: is the serial server running\?\)$" \
  '^$' -- read "rfc2217://127.0.0.1:$p_refused"
row "an unknown host" 2 "\(nosuch.invalid:4001: unknown host 'nosuch.invalid' \(.+\)\)$" '^$' -- \
  read socket://nosuch.invalid:4001

"$python" -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(8)
held = []
while True: held.append(s.accept())' "$p_mute" & # accepts and never speaks
pids+=($!)
await_listening "$p_mute"
start=$(date +%s%N)
row "a mute listener fails RFC 2217 at once" 2 \
  "127.0.0.1:$p_mute: the server said nothing after the connection: is this an RFC 2217 port\? For a raw TCP port, use socket://\)$" \
  '^$' -- read "rfc2217://127.0.0.1:$p_mute"
elapsed=$((($(date +%s%N) - start) / 1000000))
check "within seconds (${elapsed} ms)" test "$elapsed" -lt 3000
row "a mute listener on raw TCP is a silent device" 1 'nothing came back \(0 of 16 bytes\)' '^$' -- \
  read "socket://127.0.0.1:$p_mute"

# The servers users run, each before its own simulator: Debian's ser2net as its package
# configures it (a banner on every port), sredird, and python3-serial's PortManager with
# its line left at 19200 8N2 XON/XOFF, which the program must set.
servers=$(dirname "$0")/net_servers.py
for name in deb_raw deb_tel sredird portmanager text suspend late banner nocomport; do start_sim "$name"; done
read -r p_deb_raw p_deb_tel p_sredird p_pm p_text p_suspend p_late p_banner p_nocomport p_endless \
  p_busy p_relay3 p_relay6 <<<"$(free_ports 13)"
debian_ser2net() { # name, accepter: the package's first connection, moved onto a simulator
  awk '/^define/ || /^connection: &con0096/ { p = 1 } /^connection: &con1096/ { p = 0 } p' \
    /etc/ser2net.yaml | sed "s|accepter: tcp,localhost,2000|accepter: $2|; s|/dev/ttyS0|${sim_dev[$1]}|"
}
{ debian_ser2net deb_raw "tcp,127.0.0.1,$p_deb_raw"
  debian_ser2net deb_tel "telnet(rfc2217),tcp,127.0.0.1,$p_deb_tel" | sed 's/&con0096/\&con1/; /^define/d'; } \
  >"$work/debian.yaml"
ser2net -n -c "$work/debian.yaml" -P "$work/debian.pid" >"$work/debian.log" 2>&1 &
pids+=($!)
socat "TCP-LISTEN:$p_sredird,bind=127.0.0.1,reuseaddr,fork" \
  "EXEC:/usr/sbin/sredird 5 ${sim_dev[sredird]} $work/sredird.lock" >/dev/null 2>&1 &
pids+=($!)
"$python" "$servers" portmanager "$p_pm" "${sim_dev[portmanager]}" >"$work/pm.log" 2>&1 &
pids+=($!)
for mode in text suspend late banner nocomport; do
  eval "port=\$p_$mode"
  "$python" "$servers" telnet "${mode/nocomport/no-comport}" "$port" "${sim_dev[$mode]}" &
  pids+=($!)
done
"$python" "$servers" telnet endless-sub "$p_endless" - &
pids+=($!)
"$python" "$servers" telnet busy "$p_busy" - &
pids+=($!)
"$python" "$servers" relay "$p_relay3" "$p_deb_tel" 300 &
pids+=($!)
"$python" "$servers" relay "$p_relay6" "$p_deb_raw" 600 &
pids+=($!)
await_listening "$p_deb_raw" "$p_deb_tel" "$p_sredird" "$p_pm" "$p_text" "$p_suspend" "$p_late" \
  "$p_banner" "$p_nocomport" "$p_endless" "$p_busy" "$p_relay3" "$p_relay6"
stored='ok verified data 0D0A11FF params 00 0D 0A 13 FF 11 00 04'
stores_everywhere() { # row name, then addresses: each stores and reads back what it stored
  local name=$1 line
  shift
  run store "$@" --data 0D0A11FF --params "00 0D 0A 13 FF 11 00" --verify
  for address in "$@"; do line+="$address $address $stored"$'\n'; done
  check "$name" test "$status:$out" = "0:${line%$'\n'}"
}
stores_everywhere "Debian's ser2net, banner on, both forms; sredird; PortManager from 19200 8N2" \
  "socket://127.0.0.1:$p_deb_raw" "rfc2217://127.0.0.1:$p_deb_tel" \
  "rfc2217://127.0.0.1:$p_sredird" "rfc2217://127.0.0.1:$p_pm"
start=$(date +%s%N)
stores_everywhere "BINARY refused, flow suspended, a late line, a greeting; 300 and 600 ms away" \
  "rfc2217://127.0.0.1:$p_text" "rfc2217://127.0.0.1:$p_suspend" "rfc2217://localhost:$p_late" \
  "rfc2217://127.0.0.1:$p_banner" "rfc2217://127.0.0.1:$p_relay3" "socket://127.0.0.1:$p_relay6"
elapsed=$((($(date +%s%N) - start) / 1000000))
check "the slowest open plus two transfers (${elapsed} ms)" test "$elapsed" -lt 9000
start=$(date +%s%N)
row "no COM-PORT, or a subnegotiation without end: words, and no frame" 2 \
  "^rfc2217://127.0.0.1:$p_nocomport .*the server did not agree to RFC 2217 \(the COM port option\): for a raw TCP port, use socket://\)
rfc2217://127.0.0.1:$p_endless .*127.0.0.1:$p_endless: the server sent a Telnet subnegotiation longer than 1024 bytes\)$" \
  '^$' -- read "rfc2217://127.0.0.1:$p_nocomport" "rfc2217://127.0.0.1:$p_endless"
elapsed=$((($(date +%s%N) - start) / 1000000))
check "within the line's bound (${elapsed} ms), the device unasked" \
  test "$elapsed" -lt 2500 -a -z "$(grep -E 'read|write' "$work/nocomport.log")"
# Its words and its close may reach the program together; the words still make the message.
busy_tel=rfc2217://127.0.0.1:$p_busy busy_raw=socket://127.0.0.1:$p_busy
busy="ERROR! Check COM settings (127.0.0.1:$p_busy: the server closed the connection (it said: \
Port's device already in use))"
run read "$busy_tel" "$busy_raw"
check "a server that says why it closes, in both forms" test "$status:$out" = \
  "2:$busy_tel $busy_tel $busy"$'\n'"$busy_raw $busy_raw $busy"
if [ "$platform" = native ]; then
  /usr/bin/time -q -f %M -o "$work/peak" "$cli" read "rfc2217://127.0.0.1:$p_endless" >/dev/null 2>&1
  check "whatever the server sends, memory stays bounded ($(cat "$work/peak") KB)" \
    test "$(cat "$work/peak")" -lt 100000
  cc -shared -fPIC -o "$work/slow_lookup.so" "$(dirname "$0")/slow_lookup.c" -ldl
  start=$(date +%s%N)
  # A sanitized build wants its runtime first; the shim only sleeps, then calls on.
  LD_PRELOAD=$work/slow_lookup.so ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 \
    run read socket://bench.slow.invalid:1 "$raw"
  elapsed=$((($(date +%s%N) - start) / 1000000))
  check "a 3 s lookup fails its port alone, as unknown, and holds nothing (${elapsed} ms)" test \
    "$status:$(head -n 1 <<<"$out" | grep -c "unknown host 'bench.slow.invalid'"):$(tail -n 1 <<<"$out")" \
    = "2:1:$raw $raw $blocks" -a "$elapsed" -lt 4500
fi

# The server dies during a transfer: as an adapter pulled out.
start_ser2net killed "telnet(rfc2217),tcp,127.0.0.1,$p_kill" "serialdev,${sim_dev[net]},$line"
await_listening "$p_kill"
start_run read "rfc2217://127.0.0.1:$p_kill"
sleep 0.8
kill -9 "$server_pid"
wait "$server_pid" 2>/dev/null
end_run
check "the server killed mid-transfer" grep -q \
  "ERROR! Check COM settings (127.0.0.1:$p_kill: the server closed the connection)$" <<<"$out"

# The ports file: the user's own numbers, a clash with a local port and a bad line.
if [ "$platform" = wine ]; then
  appdata=$("$wine" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
  ports_file=$("$wine" winepath -u "$appdata\\sgsetup\\ports.txt" 2>/dev/null)
  shown_file="$appdata\\sgsetup\\ports.txt"
else
  ports_file=$XDG_CONFIG_HOME/sgsetup/ports shown_file=$ports_file
fi
mkdir -p "$(dirname "$ports_file")"
run ports --json
local_com=$(grep -o '"com":[0-9]*' <<<"$out" | head -n 1 | cut -d: -f2)
printf '# the rack\n77 %s  bench net\n%s socket://127.0.0.1:1\nx socket://127.0.0.1:2\n' \
  "$tel" "$local_com" >"$ports_file"
row "ports lists the remote port" 0 "^COM77  $tel  bench net$" '^$' -- ports
check "and says which lines it left out, and why" test "$(tail -n 2 <<<"$out" |
  grep -Fc -e "$shown_file line 3: $local_com is already this computer's " \
    -e "$shown_file line 4: 'x' is not a port number from 1 to 99")" = 2
row "read by the file's number" 0 "^COM77 $tel $blocks$" '^$' -- read 77
rm -f "$ports_file"
