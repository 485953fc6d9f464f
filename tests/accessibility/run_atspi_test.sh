#!/usr/bin/env bash
# Starts the window on a private display and accessibility bus, and reads it as a screen
# reader does.   run_atspi_test.sh SGSETUP
set -euo pipefail
sgsetup=$1 here=$(cd "$(dirname "$0")" && pwd)
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  "$0" >/dev/null 2>&1 &
  window=$!
  status=0
  /usr/bin/python3 "$1" sgsetup || status=$?
  kill "$window"
  exit "$status"' "$sgsetup" "$here/read_windows.py"
