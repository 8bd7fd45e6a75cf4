#!/usr/bin/env bash
# Restore and arrangement benchmark under Wine (bench/win/WineBench.cpp), in a prefix of its own:
#   scripts/bench-wine.sh [restored windows, default 20] [arranged windows, default 200] [rounds, default 3]
# Prints the restore's own time per window and Zarn's processor share while a restore waits for a
# slow folder window, and tile and both cascades against the same calls made by the benchmark, with
# the stand-in's count of ShowWindow and SetWindowPos calls per window.
# ZARN_BENCH_MINGW names the mingw build folder (default build/mingw, the preset's) and
# ZARN_BENCH_WINE the folder holding the benchmark's prefix (default build/bench-wine).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/bench-build.sh
. scripts/bench-build.sh
bench_prepare build/bench-wine "${ZARN_BENCH_WINE:-}" zarn_wine_bench
# wine-run.sh prints the output once the program has ended (its folder windows may outlive it).
timeout 1800 scripts/wine-run.sh "$bench" "$bench/bin/zarn_wine_bench.exe" "${1:-20}" "${2:-200}" "${3:-3}" | tr -d '\r'
