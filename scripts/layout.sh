#!/usr/bin/env bash
# Lays out a program directory: the program, its companion programs and help
# texts, and the demo shop's data when the directory holds no data yet.
# Usage: layout.sh BUILD_DIR PROGRAM_DIR
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
shop="$2"
mkdir -p "$shop"
install -m 755 "$build/zorvi" "$shop/zorvi"
for companion in Slipjet.exe Devcheck.exe; do
    [ -f "$build/$companion" ] && install -m 755 "$build/$companion" "$shop/$companion"
done
for help in "$src"/data/help/hlpf.*; do
    install -m 644 "$help" "$shop/$(basename "$help")"
done
# A shop's own data are never overwritten.
if ! ls "$shop" | grep -qi -e '^configur\.dat$' -e '^pricelist\.dat$'; then
    for f in "$src"/data/demo/*; do install -m 644 "$f" "$shop/"; done
    [ -f "$shop/Printer.dat" ] || printf 'file:printer.out\r\n' > "$shop/Printer.dat"
fi
