#!/usr/bin/env bash
# wine-run.sh <builddir> <exe> [args...]: run a Windows program in the prefix that
# `wine-prefix.sh up <builddir>` made, print its output and pass its exit code on.
set -uo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 <builddir> <exe> [args...]" >&2
  exit 2
fi
build=$1
exe=$2
shift 2
envfile=$build/wine-env.sh
if [[ ! -f $envfile ]]; then
  echo "wine-run: no $envfile; run scripts/wine-prefix.sh up $build first" >&2
  exit 2
fi
# shellcheck disable=SC1090
. "$envfile"

# Output goes to a file, not a pipe: a program the test starts (a folder window, say) may outlive it
# and would keep a pipe, and with it this script's caller, waiting.
mkdir -p "$build/wine-logs"
out=$(mktemp "$build/wine-logs/run.XXXXXX")
timeout 170 wine "$exe" "$@" </dev/null >"$out" 2>&1
code=$?
cat "$out"
rm -f "$out"
if [[ $code -eq 124 ]]; then
  echo "wine-run: $exe did not finish within 170 s" >&2
fi
exit $code
