#!/usr/bin/env bash
# An X server of its own for the tests that need one: `start FILE` runs Xvfb on a free display
# and writes its name to FILE (the tests read it there), `stop FILE` ends that server. The
# server never resets: a reset when the last client leaves refuses the next test's connection.
set -euo pipefail
action=$1
file=$2
case "$action" in
start)
    rm -f "$file" "$file.pid" "$file.number"
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 640x480x24 3>"$file.number" >/dev/null 2>&1 &
    echo $! >"$file.pid"
    for _ in $(seq 100); do
        if [ -s "$file.number" ]; then
            echo ":$(head -n1 "$file.number")" >"$file"
            exit 0
        fi
        if ! kill -0 "$(cat "$file.pid")" 2>/dev/null; then
            echo "Xvfb ended at start" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "Xvfb gave no display in 10 s" >&2
    kill "$(cat "$file.pid")" || true
    exit 1
    ;;
stop)
    if [ -f "$file.pid" ]; then
        kill "$(cat "$file.pid")" 2>/dev/null || true
    fi
    rm -f "$file" "$file.pid" "$file.number"
    ;;
esac
