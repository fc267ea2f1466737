#!/usr/bin/env bash
# Set-up, build and every test: what CI runs on a fresh machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DVELQ_WERROR=ON -DVELQ_FOLDERS= -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
