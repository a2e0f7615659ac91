#!/usr/bin/env bash
# Installs what is missing, builds tresk.exe and starts it under Wine on tests/data/sample-bookmarks.htm.
# Without a display it runs on a virtual one, opens the bookmark menu with a click on the tray icon and
# one folder in it, writes a screenshot and prints its name; with a display Tresk stays running until you
# choose Exit.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tresk tresk-driver
build=$root/build/windows
. cmake/wine-env.sh "$build"
tresk_prepare_prefix

own_xvfb=
if [ -z "${DISPLAY:-}" ]; then
  own_xvfb=$(mktemp)
  DISPLAY=$(tresk_start_xvfb "$own_xvfb") || { echo "could not start Xvfb"; exit 1; }
  export DISPLAY
fi
cleanup() {
  if [ -n "$own_xvfb" ]; then
    "$TRESK_WINESERVER" -k 2>/dev/null || true
    kill "$(cat "$own_xvfb")" 2>/dev/null || true
    rm -f "$own_xvfb"
  fi
}
trap cleanup EXIT

# A clean state with the sample file configured; "Menu Style" present, so this is not a first start.
key='HKCU\Software\Olvane\Tresk'
# The driver also ends a copy that Wine may have started from the Run value.
"$TRESK_WINE" "$build/tests/e2e/tresk-driver.exe" reset
sample="Z:$(echo "$root/tests/data/sample-bookmarks.htm" | tr / '\\')"
"$TRESK_WINE" reg add "$key" /v "Bookmark Filename" /t REG_SZ /d "$sample" /f >/dev/null
"$TRESK_WINE" reg add "$key" /v "Menu Style" /t REG_DWORD /d 3 /f >/dev/null
"$TRESK_WINE" reg add "$key" /v "Tray Icon" /t REG_DWORD /d 1 /f >/dev/null

"$TRESK_WINE" "$build/tresk.exe" &
tresk_pid=$!

if [ -z "$own_xvfb" ]; then
  echo "Tresk runs on $DISPLAY: click its tray icon; choose Exit from its right-click menu to end it."
  wait "$tresk_pid"
  exit 0
fi

sleep 2  # the icon is there before Tresk's start-up ends
# Wine shows tray icons in its "Wine System Tray" window when no desktop tray exists; the first icon is the
# 16-pixel square at (3, 3) inside it.
eval "$(timeout 20 xdotool search --sync --onlyvisible --name "Wine System Tray" getwindowgeometry --shell)"
xdotool mousemove $((X + 8)) $((Y + 8)) click 1
# Into the "Software" folder, so the picture shows a submenu beside the side bar; keys go through the
# driver because X key events do not reach the menu.
"$TRESK_WINE" "$build/tests/e2e/tresk-driver.exe" keys down down right || echo "the bookmark menu did not open"
sleep 2
shot=$build/tresk-sample.png
xwd -root -silent -display "$DISPLAY" | convert xwd:- "$shot"
echo "screenshot: $shot"
