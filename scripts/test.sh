#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build (unit,
# window and end-to-end tests), then the whole program again with AddressSanitizer
# and UndefinedBehaviorSanitizer, where every test runs once more, with a short
# fuzz run (the build sets the sanitizers' options for its tests). Both builds
# treat compiler warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh -DQEL_WERROR=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQEL_WERROR=ON -DQEL_SANITIZE=ON -DQEL_FUZZ=ON >/dev/null
cmake --build build-asan --parallel "$(nproc)"
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
