#!/usr/bin/env bash
# Launch benchmark under Wine: Zarn.exe against a bare Win32 window program built the same way,
# median of N starts each (default 15), plus Zarn.exe's size, DLL imports and private memory.
# ZARN_BENCH_MINGW names the mingw build folder (default build/mingw, the preset's) and
# ZARN_BENCH_LAUNCH the folder holding the benchmark's own prefix (default build/bench-launch).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
# shellcheck source=scripts/bench-build.sh
. scripts/bench-build.sh
bench_prepare build/bench-launch "${ZARN_BENCH_LAUNCH:-}" zarn_bare_window zarn_bare_window_com zarn_launch_timer
# shellcheck disable=SC1091
. "$bench/wine-env.sh"

# Copies of their own, so Zarn's profiles land in a scratch folder.
cp "$bench/bin/Zarn.exe" "$bench/bin/zarn_bare_window.exe" "$bench/bin/zarn_bare_window_com.exe" "$bench/run/"
rm -f "$bench/run/Zarn.ini" "$bench/run/Zarn.wbf"
# Output to a file: the programs it starts would hold a pipe open after it ends.
winrun=$(printf 'Z:%s' "${bench//\//\\}")\\run
# One run, three programs in turn: the bare program, the bare program that also starts COM and the
# common controls as Zarn must, and Zarn; so Zarn's own share shows against the second.
out=$bench/wine-logs/launch.txt
timeout 900 wine "$bench/bin/zarn_launch_timer.exe" "$runs" "$winrun\\zarn_bare_window.exe" \
  "$winrun\\zarn_bare_window_com.exe" "$winrun\\Zarn.exe" </dev/null >"$out" 2>&1 || true
tr -d '\r' <"$out"
echo "Zarn.exe size: $(stat -c %s "$bench/run/Zarn.exe") bytes (goal <= 409600); bare window program: $(stat -c %s "$bench/run/zarn_bare_window.exe") bytes"
echo "Zarn.exe imports: $(x86_64-w64-mingw32-objdump -p "$bench/run/Zarn.exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
