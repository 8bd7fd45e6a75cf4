#!/usr/bin/env bash
# Runs every test: the core's unit tests natively, the Windows side under Wine (one private prefix
# for the run), and each fuzz target briefly. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows build (MinGW-w64) and tests under Wine"
cmake --preset mingw >/dev/null
cmake --build --preset mingw
ctest --preset mingw

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzz targets, ${ZARN_FUZZ_SECONDS:-30} s each"
  scripts/fuzz.sh "${ZARN_FUZZ_SECONDS:-30}"
fi
