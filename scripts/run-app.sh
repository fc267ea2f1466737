#!/usr/bin/env bash
# Set-up, build and start the utility. Where no real mouse is connected it runs on the virtual
# mouse, whose memory is kept in the user's data folder between runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DVELQ_FOLDERS= -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target velqctl

data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/velq540b"
mkdir -p "$data_dir"

if build/app/velqctl/velqctl status 2>/dev/null; then
    echo "== the mouse's first 255 bytes"
    exec build/app/velqctl/velqctl read 0 255
fi
echo "No mouse connected: using the virtual mouse ($data_dir/virtual-mouse.bin)"
build/app/velqctl/velqctl --virtual "$data_dir/virtual-mouse.bin" status
echo "== the mouse's first 255 bytes"
exec build/app/velqctl/velqctl --virtual "$data_dir/virtual-mouse.bin" read 0 255
