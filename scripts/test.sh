#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build (unit,
# window and end-to-end tests), then the model library and its tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, with a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQEL_MODEL_ONLY=ON -DQEL_SANITIZE=ON -DQEL_FUZZ=ON >/dev/null
cmake --build build-asan --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
