#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz") and runs each one for the given number of seconds
# (default 30), or with "--runs N" for N executions each, on a copy of its committed seed corpus,
# so that runs never grow the committed one.
# Fails when any target finds a crash, a leak, a timeout or a broken invariant; the input that did
# it is left in build/fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time="${1:-30}")
what="${1:-30} s"
if [[ "${1:-}" == "--runs" ]]; then
  limit=(-runs="$2")
  what="$2 runs"
fi
targets=(${ZARN_FUZZ_TARGETS:-$(cat fuzz/targets.txt)})

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build="build/fuzz"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  rm -rf "$corpus" "$findings"
  mkdir -p "$corpus" "$findings"
  cp fuzz/corpus/"$target"/* "$corpus"/
  log="$build/$target.log"
  echo "== $target, $what"
  if "$build/fuzz/$target" "$corpus" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/$target: /"
  else
    status=1
    echo "$target: FINDING (full log: $log)"
    grep -E 'invariant broken|ERROR|SUMMARY|Test unit written' "$log" || tail -n 30 "$log"
  fi
done
exit "$status"
