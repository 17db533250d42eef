#!/usr/bin/env bash
# Builds Sorvane if needed and starts it. On the first run the demo card is written
# and the program opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build >/dev/null
demo="$PWD/build/demo-card"
[ -d "$demo" ] || build/sorvane-mkdemo "$demo"
exec build/sorvane "$@"
