#!/usr/bin/env bash
# Sets up, builds and starts KORVEX.
set -euo pipefail
cd "$(dirname "$0")"

tools/setup
export CCACHE_DIR=${CCACHE_DIR:-$PWD/.ccache}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$(nproc)"

exec build/app/korvex "$@"
