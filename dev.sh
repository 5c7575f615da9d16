#!/usr/bin/env bash
# Kestrix developer entry point.
#   ./dev.sh run [options]   install what is missing, build, start Kestrix
#   ./dev.sh test [ctest args] install what is missing, build, run every test
#   ./dev.sh test-asan | test-tsan   the same in a sanitizer build
#   ./dev.sh bench          build and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

cmd=${1:-run}
[[ $# -gt 0 ]] && shift

scripts/install-deps.sh

jobs=$(nproc)
configure() { # <build dir> [cmake args...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}
run_tests() { # <build dir> [ctest args...]
  local dir=$1; shift
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs" "$@")
}

case "$cmd" in
  run)
    configure build
    exec build/bin/kestrix "$@"
    ;;
  test)
    configure build
    run_tests build "$@"
    ;;
  test-asan)
    configure build-asan -DKESTRIX_ASAN=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 run_tests build-asan "$@"
    ;;
  test-tsan)
    configure build-tsan -DKESTRIX_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_tests build-tsan "$@"
    ;;
  bench)
    configure build-bench -DKESTRIX_BUILD_BENCH=ON -DKESTRIX_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
    for b in build-bench/bench/*; do [[ -x $b && -f $b ]] && "$b" "$@"; done
    ;;
  *)
    echo "usage: $0 run|test|test-asan|test-tsan|bench [args...]" >&2
    exit 2
    ;;
esac
