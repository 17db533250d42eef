#!/usr/bin/env bash
# Configures and builds Sorvane. Usage: scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$dir/CMakeCache.txt" ] && generator=()
cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$dir" --parallel "$(nproc)"
