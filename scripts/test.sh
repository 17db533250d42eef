#!/usr/bin/env bash
# Installs the dependencies, builds and runs every test: once in a normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh build
(cd build && ctest --output-on-failure --no-tests=error --timeout 300)
scripts/build.sh build-asan -DSORVANE_SANITIZE=ON -DSORVANE_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --no-tests=error --timeout 600)
# The Debian package built from the normal build, its programs run from the unpacked
# package, the AppStream metadata and the desktop file.
scripts/check-package.sh build
