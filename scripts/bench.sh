#!/usr/bin/env bash
# Builds the benchmarks (native, g++, in build/bench or the folder ZARN_BENCH_BUILD names) and runs
# them. The last line gives the ratios to raw reads and writes of the same bytes measured in the same
# run; the goal is at most 3.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=Load).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ZARN_BENCH_BUILD:-build/bench}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc >/dev/null
cmake --build "$build" -j2 --target zarn_bench
"$build/bench/zarn_bench" --benchmark_color=false "$@"
