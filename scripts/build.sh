#!/usr/bin/env bash
# Configures and builds the viewer, its tests and its benchmark in build/. Any
# arguments go to the configure step (scripts/test.sh passes -DQEL_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build --parallel "$(nproc)"
