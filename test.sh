#!/usr/bin/env bash
# Sets up, builds (normal and address+undefined sanitizer builds) and runs every test.
set -uo pipefail
cd "$(dirname "$0")"

tools/setup || exit 1

jobs=$(nproc)
export CCACHE_DIR=${CCACHE_DIR:-$PWD/.ccache}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-2G}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The end-to-end tests fail here, where a developer's own ctest would skip them, when Xvfb cannot start.
export KORVEX_TESTS_NEED_XVFB=1

build() {   # build <dir> <cmake options...>
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null || return 1
  cmake --build "$dir" --parallel "$jobs" || return 1
}

status=0
build build -DCMAKE_BUILD_TYPE=Release || exit 1
build build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON || exit 1

echo "== tests, sanitizer build"
ctest --test-dir build-asan --output-on-failure --parallel "$jobs" --timeout 300
[[ $? -eq 0 ]] || status=1

echo "== tests, normal build"
ctest --test-dir build --output-on-failure --parallel "$jobs" --timeout 300
[[ $? -eq 0 ]] || status=1

# The failures of both runs again at the end, where a short log shows them.
for dir in build-asan build; do
  failed=$dir/Testing/Temporary/LastTestsFailed.log
  if [[ $status -ne 0 && -s $failed ]]; then
    echo "== failed in $dir:"
    cat "$failed"
  fi
done

exit $status
