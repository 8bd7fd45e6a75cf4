#!/usr/bin/env bash
# Makes the README's pictures of Zarn: its toolbar with the right-click menu open (load submenu
# showing two workbenches), a button's tooltip, each page of the settings dialog, and the custom
# region editor over two folder windows. Runs the real program under Wine on a private Xvfb and
# writes them to docs/images/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Zarn zarn_standin_shell zarn_standin_folder

shots=$root/build/shots
mkdir -p "$shots" docs/images
ln -sfn "$root/build/mingw/bin" "$shots/bin"
export ZARN_XVFB=1
# The region editor is pictured see-through, as it is on Windows.
export ZARN_SHAPE_LAYERED=Y
scripts/wine-prefix.sh up "$shots" >/dev/null
# shellcheck disable=SC1091
. "$shots/wine-env.sh"
cleanup() { scripts/wine-prefix.sh down "$shots" >/dev/null 2>&1 || true; }
trap cleanup EXIT

# Two stored workbenches, the first one used last: the menus list both.
cp "$shots/bin/Zarn.exe" "$shots/Zarn.exe"
rm -f "$shots/Zarn.ini"
printf '[朝の作業]\r\n1=C:\\users\r\nLast=1\r\n\r\n[資料まとめ]\r\n1=C:\\windows\r\nLast=0\r\n\r\n' |
  iconv -f UTF-8 -t CP932 >"$shots/Zarn.wbf"
timeout 120 wine "$shots/Zarn.exe" </dev/null >>"$shots/wine-logs/shots.log" 2>&1 &
sleep 3

crop() { import -display "$DISPLAY" -window root -crop "$2" +repage "$1"; }

# First run: the toolbar's outer corner is at (755, 605).
xdotool mousemove 800 650 click 3
sleep 1
# Down to "ワークベンチの読込", whose submenu opens on hover.
xdotool mousemove 860 787
sleep 1.5
crop docs/images/toolbar-menu.png 560x300+745+595
xdotool key Escape key Escape
sleep 0.5
xdotool mousemove 1500 200
sleep 0.5
xdotool mousemove 768 635
sleep 2
crop docs/images/toolbar-tooltip.png 200x90+745+595
xdotool mousemove 1500 200

# The settings dialog, from the right-click menu's 設定 > 設定ダイアログの表示 (by keys). It opens
# centred on the 1920x1080 desktop, on its 全般 page.
xdotool mousemove 800 650 click 3
sleep 1
xdotool key Up Up Right Return
sleep 2
crop docs/images/settings-general.png 300x292+808+396
xdotool mousemove 1020 432 click 1
sleep 1
crop docs/images/settings-screen.png 300x292+808+396
xdotool mousemove 880 432 click 1
sleep 1
crop docs/images/settings-workbenches.png 300x292+808+396

# The region editor, opened by choosing カスタム, over two folder windows to show it is see-through.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
mkdir -p "$shots/folders/ドキュメント" "$shots/folders/写真"
for d in ドキュメント 写真; do
  timeout 120 wine "$shots/bin/zarn_standin_folder.exe" /own "$(winpath "$shots/folders/$d")" </dev/null >>"$shots/wine-logs/shots.log" 2>&1 &
done
sleep 2
xdotool mousemove 960 432 click 1
sleep 0.5
xdotool key Tab Down Down
sleep 2
crop docs/images/region-editor.png 720x560+0+0
echo "Written: docs/images/toolbar-menu.png, toolbar-tooltip.png, settings-*.png, region-editor.png"
