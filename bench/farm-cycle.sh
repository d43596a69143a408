#!/bin/sh
# The farm cycle benchmark in one command: configures and builds a release tree with the benchmarks
# (build-bench/, or $KORVEX_BENCH_DIR), then runs korvex_bench_FarmCycleBench with the arguments given
# (none: the whole suite, 50, 200 and 1000 nodes and 50 nodes with 1, 16 and 64 MB logs).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
tree=${KORVEX_BENCH_DIR:-$here/build-bench}
cmake -S "$here" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEX_BENCH=ON >/dev/null
cmake --build "$tree" --target korvex_bench_FarmCycleBench --parallel "${KORVEX_BENCH_JOBS:-4}" >/dev/null
exec "$tree/bench/korvex_bench_FarmCycleBench" "$@"
