#!/usr/bin/env bash
# Set-up, build and every test: what CI runs on a fresh machine.
# Two configurations: the whole program with warnings as errors, then the Qt-free core again
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)

echo "== build and test: all"
cmake -S . -B build -DVELQ_WERROR=ON -DVELQ_SANITIZE=OFF -DVELQ_FOLDERS= \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== build and test: core with AddressSanitizer and UndefinedBehaviorSanitizer"
core="architecture;common;device;buttons;macros;fire;image;config;settings;shell;flows"
cmake -S . -B build-sanitize -DVELQ_WERROR=ON -DVELQ_SANITIZE=ON "-DVELQ_FOLDERS=$core" \
    -DCMAKE_BUILD_TYPE=Debug
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
