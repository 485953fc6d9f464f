#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given seconds (default 60).
# Corpora and crash files stay in the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${SG_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DSG_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
for target in fuzz_normalize fuzz_frames fuzz_receive fuzz_rfc2217 fuzz_address fuzz_ports_file; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  (cd "$build" && "./tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
      "$corpus" 2>"$build/$target.log") || { tail -n 30 "$build/$target.log"; exit 1; }
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$target.log" | grep -o '[0-9]*$')
  echo "fuzz: $target ran ${runs:-?} inputs in ${seconds}s without a broken property"
done
