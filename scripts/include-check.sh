#!/usr/bin/env bash
# The layers' include rules, checked before anything is built (the build
# itself would quietly move a logic file that includes Qt into the user
# interface library):
#  - logic, that is every file outside src/forms, src/platform and src/app
#    that is not a screen (*Screen.h, *Screen.cpp), includes no Qt header, no
#    header of ours that includes Qt, no platform/Dialogs.h or
#    platform/Services.h (logic returns notices; screens show them) and no
#    screen;
#  - src/store, src/takings and src/till include no platform/Dialogs.h,
#    platform/Services.h or screen at all.
# Prints each offending file with the rule it breaks and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# Every include of the sources, one "file kind name" a line: kind < or ".
mapfile -t includes < <(
    grep -rHE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' src |
        sed -nE 's/^([^:]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^">]+)[">].*/\1 \2 \3/p' |
        LC_ALL=C sort
)

# Our headers that include Qt, directly or through each other.
declare -A qt_header=()
changed=1
while [ "$changed" = 1 ]; do
    changed=0
    for line in "${includes[@]}"; do
        read -r file kind name <<<"$line"
        [[ $file == *.h && -z ${qt_header[${file#src/}]:-} ]] || continue
        if [[ ($kind == "<" && $name == Q*) || ($kind == '"' && -n ${qt_header[$name]:-}) ]]; then
            qt_header[${file#src/}]=1
            changed=1
        fi
    done
done

is_screen() { [[ $1 == *Screen.h || $1 == *Screen.cpp ]]; }
is_dialogs() { [[ $1 == platform/Dialogs.h || $1 == platform/Services.h ]]; }
faults=0
fault() {
    echo "$1: $2" >&2
    faults=$((faults + 1))
}

for line in "${includes[@]}"; do
    read -r f kind included <<<"$line"
    logic=1
    if [[ $f == src/forms/* || $f == src/platform/* || $f == src/app/* ]] || is_screen "$f"; then
        logic=0
    fi
    strict=0
    [[ $f == src/store/* || $f == src/takings/* || $f == src/till/* ]] && strict=1

    if [ "$kind" = "<" ]; then
        if [ "$logic" = 1 ] && [[ $included == Q* ]]; then
            fault "$f" "includes <$included>: logic never includes Qt"
        fi
        continue
    fi
    if [ "$logic" = 1 ] && [ -n "${qt_header[$included]:-}" ]; then
        fault "$f" "includes $included, which includes Qt: logic never includes Qt"
    fi
    if is_dialogs "$included"; then
        if [ "$strict" = 1 ]; then
            fault "$f" "includes $included: src/store, src/takings and src/till show nothing"
        elif [ "$logic" = 1 ]; then
            fault "$f" "includes $included: logic returns notices, only screens show them"
        fi
    fi
    if is_screen "$included" && { [ "$logic" = 1 ] || [ "$strict" = 1 ]; }; then
        fault "$f" "includes the screen $included: logic never includes a screen"
    fi
done

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) break the layers' rules." >&2
    exit 1
fi
