#!/usr/bin/env bash
# Kestrix developer entry point.
#   ./dev.sh run [options]     install what is missing, build, start Kestrix
#   ./dev.sh test [ctest args] install what is missing, build, run every test
#   ./dev.sh test-asan | test-tsan [ctest args]
#                              the same in a sanitizer build (build-asan/, build-tsan/)
#   ./dev.sh fuzz [seconds]    build the description fuzzers with clang and run
#                              each for the given time (default 60 s)
#   ./dev.sh bench             build and run the benchmarks
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
# Runs one fuzzer for <seconds> on a scratch copy of its seeds, so that the
# corpus in the repository stays as it is. Its full output stays in the build
# folder; a crash prints the end of it.
run_fuzzer() { # <fuzzer> <seconds> <seed files...>
  local fuzzer=$1 seconds=$2; shift 2
  local name corpus log status=0
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  log=build-fuzz/$name.log
  cp "$@" "$corpus/"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict=genapi/fuzz/description.dict -artifact_prefix=build-fuzz/ "$corpus" >"$log" 2>&1 || status=$?
  rm -rf "$corpus"
  if [[ $status -ne 0 ]]; then
    tail -n 60 "$log"
    echo "$name FAILED (exit $status), full output in $log"
    return "$status"
  fi
  echo "$name: $(grep -Eo 'stat::number_of_executed_units: [0-9]+' "$log" | grep -Eo '[0-9]+') runs in ${seconds} s, no crash"
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
    # Debug build type: the sanitizer options add -O1 and line tables. The
    # sanitizer trees compile their sources in batches (unity build), which
    # halves a build from scratch on two cores.
    configure build-asan -DKESTRIX_ASAN=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_UNITY_BUILD=ON
    ASAN_OPTIONS=detect_leaks=1 run_tests build-asan "$@"
    ;;
  test-tsan)
    configure build-tsan -DKESTRIX_TSAN=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_UNITY_BUILD=ON
    run_tests build-tsan "$@"
    ;;
  fuzz)
    seconds=${1:-60}
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g1" -DGENAPI_FUZZ=ON -DKESTRIX_BUILD_TESTS=OFF >/dev/null
    cmake --build build-fuzz -j "$jobs" --target fuzz_genapi_load fuzz_genapi_formula
    run_fuzzer build-fuzz/bin/fuzz_genapi_load "$seconds" simcam/descriptions/*.xml
    run_fuzzer build-fuzz/bin/fuzz_genapi_formula "$seconds" genapi/fuzz/corpus/formula/*
    ;;
  bench)
    configure build-bench -DKESTRIX_BUILD_BENCH=ON -DKESTRIX_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
    for b in build-bench/bench/*; do [[ -x $b && -f $b ]] && "$b" "$@"; done
    ;;
  *)
    echo "usage: $0 run|test|test-asan|test-tsan|fuzz|bench [args...]" >&2
    exit 2
    ;;
esac
