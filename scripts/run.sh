#!/usr/bin/env bash
# Builds Zorvi, lays out its program directory build/shop/ and starts it there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

with_xvfb=""
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then with_xvfb="--with-xvfb"; fi
scripts/setup.sh $with_xvfb

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2

shop="$root/build/shop"
scripts/layout.sh build "$shop"

cd "$shop"
if [ -n "$with_xvfb" ]; then
    echo "No display found: Zorvi runs on a virtual display (xvfb-run)."
    exec xvfb-run -a ./zorvi
fi
exec ./zorvi
