#!/usr/bin/env bash
# Builds Zarn and starts it.
#
# On Linux there is no Windows shell, so this prepares a private Wine prefix with the stand-in shell
# (tests/win/standin), opens a few stand-in folder windows on real folders and starts the program
# there, on your display or, when there is none, on a private Xvfb. It saves a screenshot and says
# where. With a display it runs until you close the program (then the folder windows go too);
# without one it ends after the screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    # On Windows the program simply runs.
    cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build build/windows
    exe=build/windows/bin/Zarn.exe
    [[ -f $exe ]] || exe=build/windows/bin/zarn_test_host.exe
    exec "$exe"
    ;;
esac

scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw

# A prefix of its own beside the test build's, so a test run and this never tear each other down.
run=$root/build/run
mkdir -p "$run"
ln -sfn "$root/build/mingw/bin" "$run/bin"
headless=0
if [[ -z ${DISPLAY:-} ]] || ! timeout 5 xdpyinfo -display "$DISPLAY" </dev/null >/dev/null 2>&1; then
  headless=1
  export ZARN_XVFB=1
fi
scripts/wine-prefix.sh up "$run"
# shellcheck disable=SC1091
. "$run/wine-env.sh"
# Everything started here lives in that prefix, so ending it ends them all.
cleanup() { scripts/wine-prefix.sh down "$run" >/dev/null 2>&1 || true; }
trap cleanup EXIT

# Real folders for the stand-in folder windows, named as a Japanese user's might be.
demo=$run/フォルダ
mkdir -p "$demo"/{ドキュメント,写真,"資料 2026",Projects,ダウンロード}
for d in "$demo"/*/; do touch "$d/readme.txt"; done
winpath() { printf 'Z:%s' "${1//\//\\}"; }

program=bin/Zarn.exe
[[ -f $run/$program ]] || program=bin/zarn_test_host.exe
echo "Starting $(basename "$program") with five stand-in folder windows (display $DISPLAY)"
for d in "$demo"/*/; do
  timeout "${ZARN_RUN_SECONDS:-86400}" wine "$run/bin/zarn_standin_folder.exe" /own "$(winpath "${d%/}")" </dev/null >>"$run/wine-logs/demo.log" 2>&1 &
done
sleep 2
# Until the toolbar program exists the test host stands in for it; /run:<command> makes it arrange the
# folder windows once it is up (cascade-uniform, cascade, tile or close), so the screenshot shows it.
timeout "${ZARN_RUN_SECONDS:-86400}" wine "$run/$program" "/run:${ZARN_RUN_COMMAND:-cascade-uniform}" </dev/null >>"$run/wine-logs/demo.log" 2>&1 &
pid=$!
sleep 4
shot=$run/zarn-screenshot.png
import -display "$DISPLAY" -window root "$shot"
echo "Screenshot: $shot"
if [[ $headless == 1 ]]; then
  kill "$pid" 2>/dev/null || true
else
  echo "Zarn is running; close its window to end."
  wait "$pid" || true
fi
