#!/usr/bin/env bash
# Installs the dependencies, builds and runs every test: once in a normal build, then the
# package checks and a short fuzzing round, then every test again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh build
(cd build && ctest --output-on-failure --no-tests=error --timeout 300)

# The Debian package built from the normal build, its programs run from the unpacked
# package, the AppStream metadata and the desktop file.
scripts/check-package.sh build

# Fuzz targets (clang and libFuzzer): each built and run for 20 s; the output goes to
# build-fuzz/fuzz-TARGET.log and is shown when a target fails.
if command -v clang++ >/dev/null; then
    fuzz_failed=0
    fuzz_passed=0
    mkdir -p build-fuzz
    for target in $(scripts/fuzz.sh list); do
        if scripts/fuzz.sh "$target" 20 >"build-fuzz/fuzz-$target.log" 2>&1; then
            fuzz_passed=$((fuzz_passed + 1))
        else
            fuzz_failed=$((fuzz_failed + 1))
            tail -n 60 "build-fuzz/fuzz-$target.log"
        fi
    done
    echo "fuzz targets: $fuzz_passed ran clean, $fuzz_failed with findings"
    [ "$fuzz_failed" -eq 0 ]
fi

scripts/build.sh build-asan -DSORVANE_SANITIZE=ON -DSORVANE_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    SDL_AUDIODRIVER=dummy ctest --output-on-failure --no-tests=error --timeout 600)
