#!/usr/bin/env bash
# Runs end-to-end tests again and again to find the ones that fail only now and
# then: each test <rounds> times, on an X server of its own that stays up for all
# of them, so that several of these can run side by side.
#   bash tests/e2e/repeat.sh <build dir> <rounds> [test_name ...]
# Prints a line for each failed run (its log and scratch folder are kept under
# <build dir>/e2e-repeat/) and the count of runs and failures; fails if any failed.
set -uo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$1" && pwd)"
rounds="$2"
shift 2
tests=("$@")
[ ${#tests[@]} -gt 0 ] || tests=($(cd "$source_dir/tests/e2e" && ls test_*.sh | sed 's/\.sh$//'))

displayfile=$(mktemp)
Xvfb -displayfd 4 -screen 0 1600x1200x24 -nolisten tcp -noreset 4>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 1 600); do
  [ -s "$displayfile" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(tr -d '\n' <"$displayfile")"
export QT_QPA_PLATFORM=offscreen # as under ctest; each test starts the program on X

out="$build/e2e-repeat/${DISPLAY#:}"
rm -rf "$out"
mkdir -p "$out"
runs=0 failures=0
for round in $(seq 1 "$rounds"); do
  for name in "${tests[@]}"; do
    runs=$((runs + 1))
    scratch="$out/$name"
    if ! bash "$source_dir/tests/e2e/$name.sh" "$build/app/qel-viewer" "$source_dir" "$scratch" \
      >"$out.$name.log" 2>&1; then
      failures=$((failures + 1))
      mv "$out.$name.log" "$out/$name.$round.log"
      cp -r "$scratch" "$out/$name.$round"
      echo "round $round, $name: $(grep -m1 '^FAIL' "$out/$name.$round.log")"
    fi
  done
done
rm -f "$out".*.log
echo "$runs runs, $failures failed"
[ "$failures" = 0 ]
