#!/usr/bin/env bash
# One private Wine prefix (and, when needed, one Xvfb display) for a run of the Windows-side tests.
#   wine-prefix.sh up <builddir>    make or reuse <builddir>/wineprefix and write <builddir>/wine-env.sh
#   wine-prefix.sh down <builddir>  end everything of that prefix and remove it
# Environment: DISPLAY is used when it answers, unless ZARN_XVFB=1 asks for a private Xvfb.
set -euo pipefail

die() { echo "wine-prefix: $*" >&2; exit 1; }

[[ $# -eq 2 ]] || die "usage: $0 up|down <builddir>"
action=$1
build=$(cd "$2" 2>/dev/null && pwd) || die "no build directory: $2"
prefix=$build/wineprefix
envfile=$build/wine-env.sh
logdir=$build/wine-logs
bin=$build/bin
mkdir -p "$logdir"

export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEDEBUG=-all
export WINEARCH=win64

# A child such as explorer.exe inherits our output and would hold a pipe open for as long as it
# lives, so every wine command writes to a log file and reads nothing.
wine_do() {  # wine_do <seconds> <log name> <command...>
  local seconds=$1 log=$logdir/$2.log
  shift 2
  timeout "$seconds" "$@" </dev/null >>"$log" 2>&1
}

display_works() { timeout 5 xdpyinfo -display "$1" </dev/null >/dev/null 2>&1; }

# Scan from :70 upward for a number with no lock and no socket; another run may take the same one at
# the same moment, so a server that does not come up sends us on to the next number.
start_xvfb() {
  local n pid
  for ((n = 70; n < 200; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp </dev/null >"$logdir/xvfb.log" 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      if ! kill -0 "$pid" 2>/dev/null; then break; fi
      if display_works ":$n"; then
        xvfb_pid=$pid
        display=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  die "no free X display between :70 and :199"
}

# Windows path of a file under / through the prefix's Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# A .reg string value: backslashes and quotes escaped.
regstr() { local s=${1//\\/\\\\}; printf '"%s"' "${s//\"/\\\"}"; }

# Wine turns a colour-keyed window into an X shape, and the region editor's hatching makes that shape
# too large for the X server once the editor covers a monitor: the whole desktop goes down. The test
# bed keeps such windows unshaped (their key colour then shows as it is; the program reads the same
# attributes back). ZARN_SHAPE_LAYERED=Y shapes them, for pictures of a small editor.
write_registry() {
  local dll exe reg=$logdir/zarn-prefix.reg
  dll=$(winpath "$bin/zarn_standin_shell.dll")
  exe=$(winpath "$bin/zarn_standin_folder.exe")
  # regedit reads non-ASCII names only from a UTF-16LE file with a byte order mark.
  {
    printf '\xef\xbb\xbf'
    cat <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1920x1080"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"ShapeLayeredWindows"="${ZARN_SHAPE_LAYERED:-N}"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"

[HKEY_CLASSES_ROOT\\CLSID\\{13709620-C279-11CE-A49E-444553540000}\\InprocServer32]
@=$(regstr "$dll")
"ThreadingModel"="Apartment"

[HKEY_CLASSES_ROOT\\Folder\\shell\\explore\\command]
@=$(regstr "\"$exe\" \"%1\"")

[HKEY_CLASSES_ROOT\\CLSID\\{DD48C507-BE73-4E6D-B9A7-EA073768A70C}\\InprocServer32]
@=$(regstr "$dll")
"ThreadingModel"="Apartment"

[HKEY_CLASSES_ROOT\\.zarn-blocking]
@="ZarnStandin.BlockingFolder"

[HKEY_CLASSES_ROOT\\ZarnStandin.BlockingFolder\\shellex\\ContextMenuHandlers\\{DD48C507-BE73-4E6D-B9A7-EA073768A70C}]
REG
  } | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$reg"
  wine_do 60 regedit wine regedit /S "$(winpath "$reg")"
}

write_env() {
  cat >"$envfile" <<ENV
# Written by scripts/wine-prefix.sh up; removed by down.
export WINEPREFIX='$prefix'
export WINEARCH=win64
export DISPLAY='$display'
export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export WINEDEBUG=-all
export ZARN_WINE_BIN='$bin'
export ZARN_XVFB_PID='${xvfb_pid:-}'
ENV
}

up() {
  [[ -f $bin/zarn_standin_shell.dll && -f $bin/zarn_standin_folder.exe ]] ||
    die "build the stand-in shell first: $bin/zarn_standin_shell.dll and zarn_standin_folder.exe"
  command -v wine >/dev/null || die "wine is not installed"
  xvfb_pid=""
  display=""
  old_display=""
  # Reuse what an earlier up left when its display still answers.
  if [[ -f $envfile && -f $prefix/.zarn-ready ]]; then
    # shellcheck disable=SC1090
    old_display=$(. "$envfile"; echo "$DISPLAY")
    # shellcheck disable=SC1090
    old_xvfb=$(. "$envfile"; echo "$ZARN_XVFB_PID")
    if [[ -n $old_display ]] && display_works "$old_display"; then
      display=$old_display
      xvfb_pid=$old_xvfb
    fi
  fi
  if [[ -z $display ]]; then
    if [[ ${ZARN_XVFB:-0} != 1 && -n ${DISPLAY:-} ]] && display_works "$DISPLAY"; then
      display=$DISPLAY
    else
      start_xvfb
    fi
  fi
  export DISPLAY=$display WINEPREFIX=$prefix

  if [[ ! -f $prefix/.zarn-ready ]]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    wine_do 180 wineboot wineboot -i || die "wineboot failed; see $logdir/wineboot.log"
    write_registry
    # The virtual desktop is chosen when the desktop is first made, and wineboot made it already:
    # end this server so the next program starts on the 1920x1080 desktop.
    wine_do 30 wineserver wineserver -k || true
    wine_do 30 wineserver wineserver -w || true
    touch "$prefix/.zarn-ready"
  else
    # The desktop process of a running server belongs to the display it started on.
    if [[ $display != "${old_display:-}" ]]; then
      wine_do 30 wineserver wineserver -k || true
      wine_do 30 wineserver wineserver -w || true
    fi
    write_registry  # the build folder may have moved; cheap
  fi
  # Keep the server alive between test programs: each wine call then starts in a fraction of a second.
  wine_do 10 wineserver wineserver -p || true
  write_env
  echo "wine prefix ready: WINEPREFIX=$prefix DISPLAY=$display (env: $envfile)"
}

down() {
  if [[ -f $envfile ]]; then
    # shellcheck disable=SC1090
    . "$envfile"
  fi
  if [[ -d $prefix ]]; then
    WINEPREFIX=$prefix wine_do 30 wineserver wineserver -k || true
    WINEPREFIX=$prefix wine_do 30 wineserver wineserver -w || true
  fi
  # Only the Xvfb this script started, and only while that pid is still an Xvfb.
  if [[ -n ${ZARN_XVFB_PID:-} ]] && tr '\0' ' ' <"/proc/$ZARN_XVFB_PID/cmdline" 2>/dev/null | grep -q '^Xvfb '; then
    kill "$ZARN_XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$prefix"
  rm -f "$envfile"
  echo "wine prefix removed: $prefix"
}

case $action in
  up) up ;;
  down) down ;;
  *) die "usage: $0 up|down <builddir>" ;;
esac
