#!/usr/bin/env bash
# Set-up, build and every test: what CI runs on a fresh machine.
# Three configurations: the whole program with warnings as errors; the Qt-free core again with
# AddressSanitizer and UndefinedBehaviorSanitizer; and the device link, the flows and the window
# with ThreadSanitizer, running the tests where the device thread and the window thread meet.
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
core="architecture;common;device;buttons;macros;fire;image;config;settings;shell;flows;capture"
cmake -S . -B build-sanitize -DVELQ_WERROR=ON -DVELQ_SANITIZE=ON "-DVELQ_FOLDERS=$core" \
    -DCMAKE_BUILD_TYPE=Debug
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

echo "== build and test: device, flows and window with ThreadSanitizer"
# Only what the threaded tests need: the core, the window and the flows inside it, and the
# tests of the device link, the flows, the window and the capture's thread. Qt and fontconfig
# are not instrumented; the suppressions name only what happens inside them (see the file). Any
# report fails the run.
threaded="common;device;buttons;macros;fire;image;config;settings;shell;flows;capture;ui"
cmake -S . -B build-tsan -DVELQ_WERROR=ON -DVELQ_TSAN=ON "-DVELQ_FOLDERS=$threaded" \
    "-DVELQ_TESTS=device;flows;capture;gui;gui_flows" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-tsan -j"$jobs"
TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp" \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-tsan --output-on-failure -j"$jobs"
