#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over every source file of the
# program, its tools and companions, using the compile commands of a build
# directory; fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-test}"
if [[ ! -f "$build/compile_commands.json" ]]; then
    echo "No $build/compile_commands.json: configure $build first." >&2
    exit 2
fi
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
git ls-files 'src/*.cpp' 'tools/*.cpp' 'companions/*.cpp' |
    xargs -P2 -n4 clang-tidy -p "$build" --quiet >"$out" 2>/dev/null || true
if grep -q "warning:\|error:" "$out"; then
    grep -A3 "warning:\|error:" "$out" >&2
    echo "clang-tidy: $(grep -c "warning:\|error:" "$out") finding(s)." >&2
    exit 1
fi
echo "clang-tidy: no findings in $(git ls-files 'src/*.cpp' 'tools/*.cpp' 'companions/*.cpp' | wc -l) files."
