#!/usr/bin/env bash
# Runs scripts/two-tills-demo.sh in a fresh folder with the built programs.
# Usage: two-tills-demo-test.sh BIN_DIR DEMO_SCRIPT
# Exit 77 (skipped) when Syncthing is not installed.
set -uo pipefail
if ! command -v syncthing >/dev/null; then
    echo "syncthing is not installed (scripts/setup.sh installs it): the two-tills demo is skipped"
    exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ZORVI_BIN="$1" "$2" "$work/demo" >"$work/out" 2>&1
status=$?
cat "$work/out"
if [ "$status" -ne 0 ]; then
    for log in "$work"/demo/*.err "$work"/demo/sync-*.log; do
        [ -f "$log" ] && { echo "== $log"; tail -n 20 "$log"; }
    done
    exit "$status"
fi
# The last two lines, as the demo promises them.
tail -n 2 "$work/out" | head -n 1 | grep -Eq '^tills: -?[0-9]+\.[0-9]{2} \+ -?[0-9]+\.[0-9]{2}$' &&
    tail -n 1 "$work/out" | grep -Eq '^office: -?[0-9]+\.[0-9]{2}$'
