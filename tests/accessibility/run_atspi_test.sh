#!/usr/bin/env bash
# Starts the window on a private display and accessibility bus, and reads it as a screen
# reader does.   run_atspi_test.sh SGSETUP
set -euo pipefail
sgsetup=$1 here=$(cd "$(dirname "$0")" && pwd)
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -S "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  # The window asks for the accessibility bus once, as it starts: the bus must be up first.
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
      org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
  done
  "$0" >/dev/null 2>&1 &
  window=$!
  status=0
  /usr/bin/python3 "$1" sgsetup || status=$?
  kill "$window"
  exit "$status"' "$sgsetup" "$here/read_windows.py"
