#!/usr/bin/env bash
# Builds the benchmarks with the native preset (g++, build/native) and runs them. The last line gives the ratios to raw reads and writes of the same bytes measured in the same
# run; the goal is at most 3.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=Load).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native >/dev/null
cmake --build --preset native --target zarn_bench
build/native/bench/zarn_bench --benchmark_color=false "$@"
