# Sourced by the bench scripts. bench_store LABEL N COMMAND...: runs one store call into
# the simulators whose logs are $work/sim1.log to simN.log, and prints its wall and CPU
# time, how many devices it reported ok and how many heard both frames.
bench_store() {
  local label=$1 n=$2 i wall user sys ok both=0
  shift 2
  for i in $(seq "$n"); do : >"$work/sim$i.log"; done
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >"$work/out" </dev/null || true
  read -r wall user sys <"$work/time"
  sleep 0.2
  ok=$(grep -c ' ok ' "$work/out" || true)
  for i in $(seq "$n"); do
    grep -q 'write data' "$work/sim$i.log" && grep -q 'write params' "$work/sim$i.log" &&
      both=$((both + 1))
  done
  awk -v label="$label" -v n="$n" -v ok="$ok" -v both="$both" -v wall="$wall" -v user="$user" \
    -v sys="$sys" 'BEGIN { printf "%sN=%-2d  %2d ok  %2d heard both frames  wall %.2f s  CPU %.0f ms\n",
                           label, n, ok, both, wall, (user + sys) * 1000 }'
}

# bench_read LABEL N COMMAND...: runs one read call and prints its wall time and how many
# devices it reported ok.
bench_read() {
  local label=$1 n=$2 wall ok
  shift 2
  /usr/bin/time -f '%e' -o "$work/time" "$@" >"$work/out" </dev/null || true
  wall=$(cat "$work/time")
  ok=$(grep -c ' ok ' "$work/out" || true)
  awk -v label="$label" -v n="$n" -v ok="$ok" -v wall="$wall" \
    'BEGIN { printf "%sN=%-2d  %2d ok  wall %.2f s\n", label, n, ok, wall }'
}
