#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs them all on Qt's offscreen platform, then checks the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DZORVI_TESTS=ON -DZORVI_SANITIZE=ON $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
cmake --build build-test -j2
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 120)
scripts/package-check.sh
