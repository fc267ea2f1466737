#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its figures beside its target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DVELQ_FOLDERS= -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
build/bench/velq-bench-protocol
[ -x build/bench/velq-bench-startup ] && build/bench/velq-bench-startup
build/bench/velq-bench-device plug 2>/dev/null
build/bench/velq-bench-device idle 30 2>/dev/null
