#!/usr/bin/env bash
# Sets up, builds and starts KORVEX. With --demo: on a simulated farm (tools/fakefarm) in a temporary folder;
# without a display, on a private Xvfb, printing the path of a screenshot taken after a few refresh cycles.
set -euo pipefail
cd "$(dirname "$0")"

# The program reads no command line, so this takes none but --demo.
usage="usage: ./run.sh [--demo]"
demo=0
case "$*" in
  "") ;;
  --demo) demo=1 ;;
  -h | --help) echo "$usage"; exit 0 ;;
  *) echo "$usage" >&2; exit 2 ;;
esac

tools/setup
export CCACHE_DIR=${CCACHE_DIR:-$PWD/.ccache}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
# Only the program, and for the demo the tools it runs; ./test.sh builds the rest.
targets=(korvex)
if [[ $demo == 1 ]]; then targets+=(fakefarm xshot); fi
cmake --build build --parallel "$(nproc)" --target "${targets[@]}"

if [[ $demo == 0 ]]; then
  exec build/app/korvex
fi

# The demo: a farm of eight nodes whose logs advance every two seconds, their farm messages answered by the fake
# farm's control services, one refresh cycle every three. The program is copied into the demo folder, so that its
# history and log files land there (and it has a single-instance lock of its own: a KORVEX already running does
# not stop the demo).
demo_dir=$(mktemp -d "${TMPDIR:-/tmp}/korvex-demo.XXXXXX")
program=$demo_dir/korvex
cp build/app/korvex "$program"
build/tools/fakefarm/fakefarm init "$demo_dir" --nodes 8 --step-seconds 2 >/dev/null
set -a
# shellcheck disable=SC1091
source "$demo_dir/farm.env"
KORVEX_MINUTE_MS=3000
XDG_CONFIG_HOME=$demo_dir/config
set +a

pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

build/tools/fakefarm/fakefarm run "$demo_dir" &
pids+=($!)
echo "demo farm: $demo_dir"

if [[ -n ${DISPLAY:-} ]]; then
  "$program"
  exit 0
fi

# No display: a private Xvfb (it picks a free display number), the program on it, a screenshot.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$demo_dir/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
  [[ -s $demo_dir/display ]] && break
  sleep 0.1
done
[[ -s $demo_dir/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$demo_dir/display")
"$program" >"$demo_dir/korvex.out" 2>&1 &
korvex_pid=$!
pids=("$korvex_pid" "${pids[@]}")
sleep 12   # four refresh cycles
if ! kill -0 "$korvex_pid" 2>/dev/null; then
  echo "KORVEX ended early; its output is in $demo_dir/korvex.out" >&2
  exit 1
fi
build/tools/xshot "$demo_dir/korvex-demo.png"
echo "screenshot: $demo_dir/korvex-demo.png"
