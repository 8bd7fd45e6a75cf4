#!/usr/bin/env bash
# Launch benchmark under Wine: Zarn.exe against a bare Win32 window program built the same way,
# median of N starts each (default 15), plus Zarn.exe's size, DLL imports and private memory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-15}

scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Zarn zarn_bare_window zarn_bare_window_com zarn_launch_timer zarn_standin_shell zarn_standin_folder

bench=$root/build/bench-launch
mkdir -p "$bench/run"
ln -sfn "$root/build/mingw/bin" "$bench/bin"
export ZARN_XVFB=1
scripts/wine-prefix.sh up "$bench" >/dev/null
# shellcheck disable=SC1091
. "$bench/wine-env.sh"
trap 'scripts/wine-prefix.sh down "$bench" >/dev/null 2>&1 || true' EXIT

# Copies of their own, so Zarn's profiles land in a scratch folder.
cp "$bench/bin/Zarn.exe" "$bench/bin/zarn_bare_window.exe" "$bench/bin/zarn_bare_window_com.exe" "$bench/run/"
rm -f "$bench/run/Zarn.ini" "$bench/run/Zarn.wbf"
# Output to a file: the programs it starts would hold a pipe open after it ends.
winrun=$(printf 'Z:%s' "${bench//\//\\}")\\run
measure() {
  local out=$bench/wine-logs/launch-$2.txt
  timeout 600 wine "$bench/bin/zarn_launch_timer.exe" "$runs" "$winrun\\$1" "$winrun\\$2" </dev/null >"$out" 2>&1 || true
  tr -d '\r' <"$out"
}
measure zarn_bare_window.exe Zarn.exe
echo "For comparison: the bare program when it also starts COM and the common controls, as Zarn must"
measure zarn_bare_window.exe zarn_bare_window_com.exe | grep -E " ms|ratio"
echo "Zarn.exe size: $(stat -c %s "$bench/run/Zarn.exe") bytes (goal <= 409600); bare window program: $(stat -c %s "$bench/run/zarn_bare_window.exe") bytes"
echo "Zarn.exe imports: $(x86_64-w64-mingw32-objdump -p "$bench/run/Zarn.exe" | awk '/DLL Name/ {print $3}' | tr '\n' ' ')"
