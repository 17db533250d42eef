#!/usr/bin/env bash
# Builds the Debian package of Sorvane (sorvane_<version>_<arch>.deb in the build folder).
# Usage: scripts/package.sh [BUILD_DIR] [extra cmake arguments...]
# The default build folder, build-package, holds a release build without tests or
# benchmarks. Install the package with: sudo apt install ./build-package/sorvane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build-package}"
shift || true
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DSORVANE_BUILD_TESTS=OFF \
    -DSORVANE_BUILD_BENCH=OFF "$@"
(cd "$dir" && cpack -G DEB)
ls "$dir"/sorvane_*.deb
