#!/usr/bin/env bash
# Builds one libFuzzer target (clang, in its own build folder) and runs it.
# Usage: scripts/fuzz.sh TARGET SECONDS     run TARGET for SECONDS (default 60)
#        scripts/fuzz.sh list               the targets
# The corpus is seeded by the fixture builder (build-fuzz/corpus/TARGET); the kept findings in
# fuzz/regressions/TARGET are run first and must pass; new findings are written to
# build-fuzz/findings/. SORVANE_FUZZ_BUILD changes the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
targets="songinfo arrangements patterns effects takeevt carddump songfiles ini smf wav copy"
if [ "${1:-}" = list ]; then
    echo "$targets"
    exit 0
fi
target="${1:?usage: scripts/fuzz.sh TARGET SECONDS}"
seconds="${2:-60}"
case " $targets " in *" $target "*) ;; *) echo "unknown target: $target" >&2; exit 2 ;; esac
dir="${SORVANE_FUZZ_BUILD:-build-fuzz}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$dir" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DSORVANE_FUZZ=ON -DSORVANE_BUILD_TESTS=OFF \
        -DSORVANE_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$dir" --parallel 2 --target "fuzz_$target" fuzz_seed >/dev/null
corpus="$dir/corpus/$target"
if [ ! -d "$corpus" ]; then
    ASAN_OPTIONS=detect_leaks=0 "$dir/fuzz/fuzz_seed" "$dir/corpus"
fi
mkdir -p "$dir/findings"
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
regressions="fuzz/regressions/$target"
if compgen -G "$regressions/*" >/dev/null; then
    "$dir/fuzz/fuzz_$target" "$regressions"/*
fi
exec "$dir/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/findings/$target-"
