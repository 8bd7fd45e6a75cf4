#!/usr/bin/env bash
# Sourced by the Wine benchmarks: chooses and configures the mingw build folder, builds the named
# targets, and brings up the benchmark's own Wine prefix (taken down again when the script exits).
#   bench_prepare <default prefix folder> <prefix folder override> <targets...>
# Sets `mingw` and `bench` (absolute). ZARN_BENCH_MINGW names the mingw build folder (default
# build/mingw, the preset's); any other folder is configured like the preset.
bench_prepare() {
  local root
  root=$(pwd)
  bench=${2:-$1}
  shift 2
  mingw=${ZARN_BENCH_MINGW:-build/mingw}
  [[ $mingw = /* ]] || mingw=$root/$mingw
  [[ $bench = /* ]] || bench=$root/$bench

  scripts/install-deps.sh
  if [[ $mingw = "$root/build/mingw" ]]; then
    cmake --preset mingw >/dev/null
  else
    cmake -S . -B "$mingw" -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  fi
  cmake --build "$mingw" -j2 --target Zarn zarn_standin_shell zarn_standin_folder "$@"

  mkdir -p "$bench/run"
  ln -sfn "$mingw/bin" "$bench/bin"
  export ZARN_XVFB=1
  scripts/wine-prefix.sh up "$bench" >/dev/null
  # shellcheck disable=SC2064
  trap "scripts/wine-prefix.sh down '$bench' >/dev/null 2>&1 || true" EXIT
}
