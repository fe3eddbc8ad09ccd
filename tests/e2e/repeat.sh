#!/usr/bin/env bash
# Runs the end-to-end tests again and again to find the ones that fail only now
# and then. Each run goes through CTest, so every test sees exactly what CI gives
# it: its own X server, the platform and the sanitizers' options.
#   bash tests/e2e/repeat.sh <build dir> <rounds> [test_name ...]
# Prints a line for each failed run (its output and scratch folder are kept under
# <build dir>/e2e-repeat/) and the count of runs and failures; fails if any failed.
# Two of these may run side by side on different build folders, not on one.
set -uo pipefail
build="$(cd "$1" && pwd)"
rounds="$2"
shift 2
names=("$@")
[ ${#names[@]} -gt 0 ] || names=($(cd "$(dirname "$0")" && ls test_*.sh | sed 's/\.sh$//'))

out="$build/e2e-repeat"
rm -rf "$out"
mkdir -p "$out"
runs=0 failures=0
for round in $(seq 1 "$rounds"); do
  for name in "${names[@]}"; do
    runs=$((runs + 1))
    log="$out/$name.$round.log"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -R "^e2e_$name\$" --output-on-failure >"$log" 2>&1 &&
      grep -q "100% tests passed" "$log" && { rm -f "$log"; continue; }
    failures=$((failures + 1))
    cp -r "$build/tests/e2e/$name" "$out/$name.$round" 2>/dev/null
    echo "round $round, $name: $(grep -m1 '^FAIL' "$log" || echo "did not pass, see $log")"
  done
done
echo "$runs runs, $failures failed"
[ "$failures" = 0 ]
