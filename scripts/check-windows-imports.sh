#!/usr/bin/env bash
# Fails when an exe imports a function that Windows 7 SP1 lacks: such an exe does not
# start there at all ("entry point not found"). Those must be looked up at run time.
#   check-windows-imports.sh EXE...
set -euo pipefail
newer='^(GetDpiFor.*|.*ForDpi|.*DpiAwarenessContext.*|GetDpiForMonitor|EnableNonClientDpiScaling|SetProcessDpiAwareness|GetSystemTimePreciseAsFileTime)$'
status=0
for exe in "$@"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" |
    awk '/DLL Name/ { dll = $3; next } dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print dll ":" $3 }')
  if found=$(grep -E "${newer/^/^[^:]*:}" <<<"$imports"); then
    echo "$exe imports what Windows 7 lacks: $(tr '\n' ' ' <<<"$found")"
    status=1
  else
    echo "$exe: $(wc -l <<<"$imports") imports, none newer than Windows 7"
  fi
done
exit "$status"
