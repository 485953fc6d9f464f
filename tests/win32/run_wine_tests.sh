#!/usr/bin/env bash
# Runs the real sgsetup.exe under wine on a private prefix and display, against sgsim
# pseudo-terminals linked as COM ports, and drives it with wine_driver.exe; then the
# command line's table against sgsetup-cli.exe, beside the Linux program it must match;
# last the help sheet's ink, read back at 96 and 144 DPI.
#   run_wine_tests.sh SGSETUP_EXE WINE_DRIVER_EXE SGSIM SGSETUP_CLI_EXE SGSETUP_CLI
set -euo pipefail
exe=$1 driver=$2 sgsim=$3 cli_exe=$4 cli=$5
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    pkill -P "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
  done
  WINEPREFIX=$work/prefix "$wineserver" -k 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" XDG_RUNTIME_DIR=$work

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
# HKLM\HARDWARE, where the table registers its ports, lives as long as the wineserver.
mkdir -p "$WINEPREFIX"
"$wineserver" -p >/dev/null 2>&1
"$wine" wineboot -i >/dev/null 2>&1

# Each simulator's lines, stamped with the time they came, in its own log.
start_sim() { # name, options...
  local name=$1
  shift
  ("$sgsim" "$@" | while IFS= read -r line; do echo "$(date +%s.%N) $line"; done) \
    >"$work/$name.log" 2>&1 </dev/null &
  pids+=($!)
}
pts_of() {
  for _ in $(seq 50); do
    grep -q ' -> ' "$work/$1.log" && break
    sleep 0.1
  done
  grep -o '/dev/pts/[0-9]*' "$work/$1.log" | head -n 1
}
start_sim answering
start_sim silent --silent
start_sim unplugging --unplug-after 1
# Two-digit numbers: only the \\.\COMn form opens them.
ln -s "$(pts_of answering)" "$WINEPREFIX/dosdevices/com11"
ln -s "$(pts_of silent)" "$WINEPREFIX/dosdevices/com12"
ln -s "$(pts_of unplugging)" "$WINEPREFIX/dosdevices/com13"
# A driver that does not list its port: the answering simulator again, by another number.
ln -s "$(pts_of answering)" "$WINEPREFIX/dosdevices/com14"
# Listed as a driver would list them: the window finds its ports there.
for n in 11 12 13; do
  "$wine" reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "\\Device\\sgsim$n" /t REG_SZ \
    /d "COM$n" /f >/dev/null 2>&1
done

# The answering simulator once more, behind ser2net, by the number the ports file gives it.
remote_port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf 'connection: &c\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,9600n81,local\n' \
  "$remote_port" "$(pts_of answering)" >"$work/ser2net.yaml"
ser2net -n -c "$work/ser2net.yaml" -P "$work/ser2net.pid" >"$work/ser2net.log" 2>&1 &
pids+=($!)
appdata=$("$wine" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
ports_file=$("$wine" winepath -u "$appdata\\sgsetup\\ports.txt" 2>/dev/null)
mkdir -p "$(dirname "$ports_file")"
echo "15 rfc2217://127.0.0.1:$remote_port  the answering simulator" >"$ports_file"

"$wine" "$exe" >"$work/sgsetup.log" 2>&1 &
pids+=($!)
status=0
"$wine" "$driver" 11 12 13 42 14 15 | tr -d '\r' || status=$?
rm -f "$ports_file"
for n in 11 12 13; do
  "$wine" reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "\\Device\\sgsim$n" /f >/dev/null 2>&1
done

# The store's two frames went out one tick apart.
data_at=$(awk '/write data/ { print $1; exit }' "$work/answering.log")
params_at=$(awk '/write params/ { print $1; exit }' "$work/answering.log")
if [ -n "$data_at" ] && [ -n "$params_at" ] &&
  awk -v a="$data_at" -v b="$params_at" 'BEGIN { d = b - a; exit !(d > 1.35 && d < 1.8) }'; then
  echo "ok - the store's frames went out $(awk -v a="$data_at" -v b="$params_at" 'BEGIN { printf "%.2f", b - a }') s apart"
else
  echo "not ok - the store's frames were not 1.5 s apart:"
  cat "$work/answering.log"
  status=1
fi
if grep -q 'write' "$work/silent.log"; then
  echo "not ok - the silent device was written to by a Read"
  status=1
fi
"$(dirname "$0")/../cli/cli_table.sh" wine "$cli_exe" "$sgsim" "$cli" || status=$?

# The help sheet at 96 DPI and, after the wineserver restarts with it, at 144.
help_at() { # DPI, face
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  "$wineserver" -p >/dev/null 2>&1
  "$wine" "$exe" >/dev/null 2>&1 &
  local window=$!
  "$wine" "$driver" help "LogPixels $1 $2" | tr -d '\r' || status=1
  wait "$window" || true
}
# This wine does not find its own Tahoma: the prefix draws in the face fontconfig puts in,
# wider than Tahoma. Then in wine's Tahoma, put where Windows keeps its fonts.
help_at 96 "without Tahoma"
help_at 144 "without Tahoma"
tahoma=(/usr/share/wine/fonts/tahoma*.ttf)
if [ -f "${tahoma[0]}" ]; then
  cp "${tahoma[@]}" "$WINEPREFIX/drive_c/windows/Fonts/"
  help_at 96 "in wine's Tahoma"
  help_at 144 "in wine's Tahoma"
else
  echo "ok - # skip no wine Tahoma (fonts-wine) to draw the help sheet in"
fi
exit "$status"
