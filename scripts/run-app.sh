#!/usr/bin/env bash
# Set-up, build and start the utility on the virtual mouse (velq540b-demo): the mouse "plugs
# in" a moment after start and keeps its memory in the user's data folder between runs.
# Without a desktop (no DISPLAY or WAYLAND_DISPLAY) the command-line tool shows the virtual
# mouse instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DVELQ_FOLDERS= -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target velq540b-demo velq540b velqctl

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/app/velq540b-demo/velq540b-demo "$@"
fi

data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/velq540b"
mkdir -p "$data_dir"
echo "No desktop to show the window on: the virtual mouse ($data_dir/virtual-mouse.bin) through velqctl."
build/app/velqctl/velqctl --virtual "$data_dir/virtual-mouse.bin" status
echo "== the mouse's first 255 bytes"
build/app/velqctl/velqctl --virtual "$data_dir/virtual-mouse.bin" read 0 255
