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
    exec build/windows/bin/Zarn.exe
    ;;
esac

scripts/install-deps.sh
cmake --preset mingw >/dev/null
# The program and the stand-in shell it runs against; the tests are not needed here.
cmake --build --preset mingw --target Zarn zarn_standin_shell zarn_standin_folder

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
echo "Starting Zarn with five stand-in folder windows (display $DISPLAY)"
for d in "$demo"/*/; do
  timeout "${ZARN_RUN_SECONDS:-86400}" wine "$run/bin/zarn_standin_folder.exe" /own "$(winpath "${d%/}")" </dev/null >>"$run/wine-logs/demo.log" 2>&1 &
done
sleep 2
# Zarn keeps its profiles beside itself: a copy in the run folder gets Zarn.ini and Zarn.wbf there.
cp "$run/$program" "$run/Zarn.exe"
# A fresh start each time, so the toolbar opens where the click below expects it.
rm -f "$run/Zarn.ini"
timeout "${ZARN_RUN_SECONDS:-86400}" wine "$run/Zarn.exe" </dev/null >>"$run/wine-logs/demo.log" 2>&1 &
pid=$!
sleep 3
# Zarn reads no command line: the demo arrangement comes from a click on its toolbar, as a user's
# would. On first run the toolbar sits at (755, 605); its buttons start below the caption.
case "${ZARN_RUN_COMMAND:-cascade}" in
  cascade) button="768 635" ;;  # the cascade button's body: the default variant
  tile) button="804 635" ;;
  close) button="834 635" ;;
  none) button="" ;;
  *) echo "ZARN_RUN_COMMAND: cascade, tile, close or none" >&2; button="" ;;
esac
if [[ -n $button ]]; then
  # shellcheck disable=SC2086
  xdotool mousemove $button click 1
  sleep 2
fi
shot=$run/zarn-screenshot.png
import -display "$DISPLAY" -window root "$shot"
echo "Screenshot: $shot"
if [[ $headless == 1 ]]; then
  kill "$pid" 2>/dev/null || true
else
  echo "Zarn is running; choose 終了 in its right-click menu to end."
  wait "$pid" || true
fi
