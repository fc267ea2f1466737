#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its figures beside its target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DVELQ_FOLDERS= -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
build/bench/velq-bench-protocol
if [ -x build/bench/velq-bench-startup ]; then
    # On the offscreen platform and on an X server of its own (Xvfb), stopped afterwards.
    if command -v xvfb-run >/dev/null; then
        xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM \
            build/bench/velq-bench-startup --platform offscreen --platform xcb
    else
        build/bench/velq-bench-startup --platform offscreen
    fi
fi
if [ -x build/bench/velq-bench-recorder ] && command -v xvfb-run >/dev/null; then
    # The capture reads an X server of its own; the window itself stays offscreen.
    xvfb-run -a -s "-screen 0 640x480x24" build/bench/velq-bench-recorder 2>/dev/null
fi
build/bench/velq-bench-device plug 2>/dev/null
build/bench/velq-bench-device idle 30 2>/dev/null
