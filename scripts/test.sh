#!/usr/bin/env bash
# Everything CI checks: the formatting; the layers' include rules; a Release
# build with warnings as errors; every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings as errors too) and run on Qt's
# offscreen platform, then in Release, with the core's line coverage; the
# clang-tidy checks; the screens' places under a real window manager; and the
# Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --with-wm

mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests companions bench -name '*.cpp' -o -name '*.h')
if ! clang-format --dry-run --Werror "${sources[@]}"; then
    echo "Formatting differs from .clang-format: run clang-format -i on the files above." >&2
    exit 1
fi
scripts/include-check.sh

launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DZORVI_TESTS=ON -DZORVI_BENCH=ON -DZORVI_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-release -j2
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DZORVI_TESTS=ON -DZORVI_SANITIZE=ON -DZORVI_COVERAGE=ON -DZORVI_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j2
scripts/tidy.sh build-test
find build-test -name '*.gcda' -delete

for build in build-test build-release; do
    echo "== Tests in $build"
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j2 --timeout 120)
done
# Line coverage of the core (the logic, without screens and Qt platform code).
# The report goes to a file of the build: gcovr replaces the file it is given,
# and given /dev/null it would put a plain file in the device's place.
gcovr --root . --filter 'src/' --exclude '.*Screen.*' --exclude 'src/forms/' \
    --exclude 'src/platform/Qt.*' --exclude 'src/app/main.cpp' --print-summary \
    --output build-test/coverage.txt build-test | grep -i '^lines'
scripts/wm-check.sh build-release
scripts/package-check.sh build-release
