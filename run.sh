#!/usr/bin/env bash
# Sets up, builds and starts KORVEX.
set -euo pipefail
cd "$(dirname "$0")"

tools/setup
export CCACHE_DIR=${CCACHE_DIR:-$PWD/.ccache}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel "$(nproc)"

if [[ -x build/app/korvex ]]; then
  exec build/app/korvex "$@"
fi
echo "KORVEX is built (libraries, tests and tools in build/); the main window does not exist yet, so there is nothing to start."
