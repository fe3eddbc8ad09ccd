#!/usr/bin/env bash
# Start-up time of the real program: from its launch until its main window is
# visible on an X display, polling every 5 ms. Prints `startup_ms <median>`.
# Run it under Xvfb:  xvfb-run -a bash bench/startup.sh build/app/qel-viewer [runs]
set -euo pipefail
program="${1:?usage: startup.sh <qel-viewer> [runs]}"
runs="${2:-20}"
times=()
for _ in $(seq 1 "$runs"); do
  start=$(date +%s%N)
  env -u QT_QPA_PLATFORM "$program" >/dev/null 2>&1 &
  pid=$!
  while ! xdotool search --onlyvisible --name '^Qel-Viewer$' >/dev/null 2>&1; do
    sleep 0.005
  done
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( ${#sorted[@]} / 2 ))]}
awk -v us="$median" 'BEGIN { printf "startup_ms %.1f\n", us / 1000 }'
