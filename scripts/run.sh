#!/usr/bin/env bash
# Sets up, builds, and (once the window exists) starts the tool with the device simulator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
echo "run: built; the window is not there yet"
