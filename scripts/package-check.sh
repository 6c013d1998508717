#!/usr/bin/env bash
# Builds the Debian package in Release and checks it as a shop would meet it:
# unpacked into an empty directory tree, it holds the program, its companions,
# the help texts, the demo shop, the commands and the menu entry, and its
# dependencies resolve; zorvi-new-shop sets up a shop, and run again refreshes
# the program files without touching the data; zorvi-backup backs the shop up
# and restores it elsewhere; the installed program starts (offscreen) and
# writes its start record into Results.dat.
#
# With --apt (root, on a disposable machine) the package is also installed
# with apt and removed again.
set -euo pipefail
cd "$(dirname "$0")/.."
# Usage: package-check.sh [--apt] [BUILD_DIR]
with_apt=no
build=build-pkg
for arg in "$@"; do
    if [ "$arg" = "--apt" ]; then with_apt=yes; else build=$arg; fi
done

scripts/setup.sh
# The test command hands over its Release build; alone, the check makes its own.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
        $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
fi
cmake --build "$build" -j2
rm -f "$build"/zorvi_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(readlink -f "$build"/zorvi_*_*.deb)

# Short path components: a longer one would switch docket printing off and
# stop the program at a message before it writes its start record.
work=$(mktemp -d /tmp/zpkgXXXX)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}

echo "== contents of $(basename "$deb")"
root="$work/root"
dpkg-deb -x "$deb" "$root"
opt="$root/opt/zorvi"
for f in program/zorvi program/Slipjet.exe program/Devcheck.exe bin/zorvi bin/zorvi-new-shop bin/zorvi-backup bin/zorvi-export bin/zorvi-printer bin/zorvi-collect bin/zorvi-script; do
    [ -x "$opt/$f" ] || fail "/opt/zorvi/$f missing or not executable"
done
for f in program/hlpf.{1..7} share/{examples,newshop}/{Configur,Pricelist,Inventory,Printer}.dat; do
    [ -f "$opt/$f" ] || fail "/opt/zorvi/$f missing"
done
for f in usr/share/applications/zorvi.desktop usr/share/icons/hicolor/scalable/apps/zorvi.svg; do
    [ -f "$root/$f" ] || fail "/$f missing"
done
for c in zorvi zorvi-new-shop zorvi-backup zorvi-verify zorvi-export zorvi-printer zorvi-collect zorvi-script; do
    [ "$(readlink "$root/usr/bin/$c")" = "/opt/zorvi/bin/$c" ] || fail "/usr/bin/$c is no link to /opt/zorvi/bin/$c"
done
desktop="$root/usr/share/applications/zorvi.desktop"
grep -qx 'Exec=/opt/zorvi/bin/zorvi' "$desktop" || fail "menu entry does not start /opt/zorvi/bin/zorvi"
grep -qx 'Icon=zorvi' "$desktop" || fail "menu entry has no icon"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libqt6charts6 qt6-qpa-plugins libarchive13 libsodium23 fonts-liberation; do
    [[ ",$depends," == *[\ ,]$p[\ ,]* ]] || fail "dependency on $p not declared"
done
for program in program/zorvi bin/zorvi-backup bin/zorvi-export; do
    if ldd "$opt/$program" | grep -q 'not found'; then fail "$program misses libraries"; fi
done
if command -v apt-get >/dev/null; then
    apt-get install -s -qq "$deb" >/dev/null 2>"$work/apt.err" || { cat "$work/apt.err" >&2; fail "dependencies do not resolve"; }
fi

echo "== a new shop"
shop="$work/shop"
"$opt/bin/zorvi-new-shop" "$shop" >/dev/null
for f in zorvi Slipjet.exe Devcheck.exe hlpf.{1..7} Configur.dat Pricelist.dat Inventory.dat Printer.dat; do
    [ -f "$shop/$f" ] || fail "the new shop has no $f"
done
cmp -s "$shop/Configur.dat" "$opt/share/newshop/Configur.dat" || fail "the new shop's configuration is not the empty shop's"
[ "$(cat "$shop/Pricelist.dat")" = "$(printf ' SAMPLE___CODE Sample entry of an article       0.00       0.00  0\r')" ] ||
    fail "the new shop's price list is not the one sample line"
[ "$(cat "$shop/Inventory.dat")" = "$(printf ' SAMPLE___CODE          0        0.0          0.0             0.0            0.00\r')" ] ||
    fail "the new shop's inventory has history"
demo="$work/demo"
"$opt/bin/zorvi-new-shop" --demo "$demo" >/dev/null
for f in Configur Pricelist Inventory Printer; do
    cmp -s "$demo/$f.dat" "$opt/share/examples/$f.dat" || fail "the demo shop's $f.dat is not the demo's"
done

echo "== refreshing a shop with data of its own"
printf 'tcp:10.0.0.9:9100\r\n' >"$shop/Printer.dat"
printf 'XShop owner\r\n' >>"$shop/Configur.dat"
mv "$shop/hlpf.3" "$shop/HLPF.3"
echo old >"$shop/Slipjet.exe"
rm "$shop/Devcheck.exe"
(cd "$shop" && md5sum ./*.dat) >"$work/data.md5"
"$opt/bin/zorvi-new-shop" "$shop" >/dev/null
(cd "$shop" && md5sum --quiet -c "$work/data.md5") || fail "zorvi-new-shop changed the shop's data"
cmp -s "$shop/Slipjet.exe" "$opt/program/Slipjet.exe" || fail "an old companion was not replaced"
[ -x "$shop/Devcheck.exe" ] || fail "a missing companion was not put back"
[ -f "$shop/HLPF.3" ] && [ ! -e "$shop/hlpf.3" ] || fail "a help file under another spelling got a twin"
own="$work/own"
mkdir "$own"
printf 'AAnn\r\n' >"$own/configur.DAT"
"$opt/bin/zorvi-new-shop" "$own" >/dev/null
[ ! -e "$own/Pricelist.dat" ] && [ ! -e "$own/Configur.dat" ] || fail "demo data were copied into a shop with data"
if "$opt/bin/zorvi-new-shop" "$opt/program" >/dev/null 2>&1; then fail "a shop was made inside the installed program"; fi

echo "== a backup of the shop, restored elsewhere"
"$opt/bin/zorvi-backup" now "$shop" >/dev/null || fail "zorvi-backup now failed"
backup=$(ls "$shop"/Backup/zorvi-*-Z0.tar.zst)
(cd "$shop/Backup" && sha256sum --quiet -c "$(basename "$backup").sha256") || fail "the backup does not match its side file"
"$opt/bin/zorvi-backup" restore "$backup" "$work/back" >/dev/null || fail "zorvi-backup restore failed"
(cd "$work/back" && md5sum --quiet -c "$work/data.md5") || fail "the restored shop differs"

echo "== an export of the shop"
"$opt/bin/zorvi-export" csv "$shop" "$work/csv" >/dev/null || fail "zorvi-export csv failed"
[ -f "$work/csv/sales.csv" ] && [ -f "$work/csv/stock.csv" ] || fail "zorvi-export csv wrote no files"
"$opt/bin/zorvi-export" html "$shop" "$work/report.html" >/dev/null || fail "zorvi-export html failed"
grep -q '</html>' "$work/report.html" || fail "zorvi-export html wrote no page"

echo "== starting the installed program"
# A 640 x 480 screen, so the program starts without its advice on display
# settings, which would wait for OK before the start record.
printf '{"screens":[{"name":"till","x":0,"y":0,"width":640,"height":480,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}\n' >"$work/screen.json"
rm -f "$shop/Results.dat"
QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" "$opt/bin/zorvi" "$shop" >"$work/run.log" 2>&1 &
pid=$!
started=no
for _ in $(seq 1 60); do
    if grep -q $'^\* START of SALE   .*\r$' "$shop/Results.dat" 2>/dev/null; then started=yes; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
done
if [ "$started" = no ]; then cat "$work/run.log" >&2; fail "the installed program wrote no start record"; fi
kill -0 "$pid" 2>/dev/null || fail "the installed program ended on its own"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""

if [ "$with_apt" = yes ]; then
    echo "== apt install and remove"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq "$deb" >/dev/null
    [ -x /opt/zorvi/program/zorvi ] && command -v zorvi-new-shop >/dev/null || fail "apt did not install the program"
    apt-get remove -y -qq zorvi >/dev/null
    [ ! -e /opt/zorvi ] && [ ! -e /usr/bin/zorvi ] && [ ! -e /usr/share/applications/zorvi.desktop ] ||
        fail "apt remove left files behind"
fi
echo "package check passed: $(basename "$deb")"
