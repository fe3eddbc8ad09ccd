#!/usr/bin/env bash
# Runs every test function of every Qt Test executable on its own, in a process of
# its own, as `ctest` would run the executable (same environment and folder), and
# every row of a data-driven function on its own as well: a test that only passes
# after another one has run fails here. Then runs every executable once more with
# its functions in reverse order: a test that leaves something behind for the next
# one fails there.
#
#   bash tests/each_alone.sh [build folder ...]   (default: build, and build-asan if built)
#
# Prints each run that fails or hangs, with the end of its output (every run with
# EACH_ALONE_VERBOSE=1), and a summary per build; the exit code is 1 when any run
# failed. Needs jq.
set -euo pipefail
cd "$(dirname "$0")/.."

builds=("$@")
if [ ${#builds[@]} -eq 0 ]; then
  builds=(build)
  [ -d build-asan ] && builds+=(build-asan)
fi
limit=${EACH_ALONE_TIMEOUT:-120} # seconds for one run
jobs=${EACH_ALONE_JOBS:-$(( $(nproc) / 2 > 0 ? $(nproc) / 2 : 1 ))}

# One run of the functions (or function:row) listed in $4, apart by \036: prints
# "ok", "FAIL" or "HANG" with its time, then the end of its output if it failed.
run_one() {
  local dir=$1 env_file=$2 exe=$3 fns=$4 start end rc out
  local -a list
  IFS=$'\036' read -r -a list <<<"$fns"
  out=$(mktemp)
  start=$(date +%s.%N)
  set +e
  # The braces keep the shell's own note of a crashed child out of the listing.
  { (cd "$dir" && mapfile -t vars <"$env_file" && exec env "${vars[@]}" timeout "$limit" "$exe" "${list[@]}") >"$out" 2>&1; } 2>/dev/null
  rc=$?
  set -e
  end=$(date +%s.%N)
  local status=ok
  [ $rc -ne 0 ] && status=FAIL
  [ $rc -eq 124 ] && status=HANG
  printf '%s %6.2fs %s %s\n' "$status" "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$(basename "$exe")" "${list[*]}"
  if [ $status != ok ]; then
    tail -n 15 "$out" | sed 's/^/    | /'
  fi
  rm -f "$out"
}
export -f run_one
export limit

failed=0
for build in "${builds[@]}"; do
  work=$(mktemp -d)
  # Every test whose command is one executable: the Qt Test programs.
  ctest --test-dir "$build" --show-only=json-v1 | jq -r '
    .tests[] | select(.command | length == 1)
    | [.name, .command[0],
       ((.properties[] | select(.name == "WORKING_DIRECTORY") | .value) // "."),
       ([(.properties[] | select(.name == "ENVIRONMENT") | .value[])] | join("\u001f"))]
    | join("\t")' >"$work/tests"
  : >"$work/runs"
  : >"$work/results"
  while IFS=$'\t' read -r name exe dir env; do
    printf '%s\n' "$env" | tr '\037' '\n' >"$work/$name.env"
    if ! functions=$(cd "$dir" && mapfile -t vars <"$work/$name.env" && env "${vars[@]}" "$exe" -functions 2>/dev/null); then
      echo "FAIL  0.00s $(basename "$exe") (cannot list its test functions)" >>"$work/results"
      continue
    fi
    job() { printf '%s\t%s\t%s\t%s\n' "$dir" "$work/$name.env" "$exe" "$1" >>"$work/runs"; }
    reversed=""
    for fn in $functions; do
      job "${fn%()}"
      reversed="${fn%()}"$'\036'"$reversed"
    done
    job "${reversed%$'\036'}"
    # -datatags: "<class> <function>" or "<class> <function> <row>" per line.
    (cd "$dir" && mapfile -t vars <"$work/$name.env" && env "${vars[@]}" "$exe" -datatags 2>/dev/null) |
      while read -r _ fn tag; do
        if [ -n "$tag" ]; then job "$fn:$tag"; fi
      done
  done <"$work/tests"

  echo "== $build: $(wc -l <"$work/runs") runs: each test function and each data row alone," \
    "each executable last function first"
  tr '\t' '\0' <"$work/runs" | tr '\n' '\0' |
    xargs -0 -n 4 -P "$jobs" bash -c 'run_one "$@"' _ >>"$work/results"
  if [ "${EACH_ALONE_VERBOSE:-0}" = 1 ]; then
    sort -k3,3 "$work/results"
  else
    grep -v '^ok ' "$work/results" || true
  fi
  bad=$(grep -c -E '^(FAIL|HANG) ' "$work/results" || true)
  echo "== $build: $(grep -c '^ok ' "$work/results" || true) passed, $bad failed"
  [ "$bad" -gt 0 ] && failed=1
  rm -rf "$work"
done
exit $failed
