# Sourced by the Wine wrappers: the build tree's own prefix, quiet Wine, and where the wine binaries are.
# $1 is the build tree.
tresk_build=$(cd "$1" && pwd)
export WINEPREFIX="${TRESK_WINEPREFIX:-$tresk_build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs in a fresh prefix; no winemenubuilder, which would turn the Start menu
# shortcuts that the installer makes into launchers and icons in the user's own home, outside the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"
export WINEARCH=win64
for w in wine64 /usr/lib/wine/wine64 wine wine-stable; do
  if command -v "$w" >/dev/null 2>&1; then TRESK_WINE=$(command -v "$w"); break; fi
done
for w in wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver wineserver-stable; do
  if command -v "$w" >/dev/null 2>&1; then TRESK_WINESERVER=$(command -v "$w"); break; fi
done
: "${TRESK_WINE:?wine64 is not installed}" "${TRESK_WINESERVER:?wineserver is not installed}"

# The prefix is made once per build tree; the lock keeps parallel tests from making it twice.
tresk_prepare_prefix() {
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tresk-ready" ]; then
      "$TRESK_WINE" wineboot -i >/dev/null 2>&1
      "$TRESK_WINESERVER" -w
      touch "$WINEPREFIX/.tresk-ready"
    fi
  ) 9>"$tresk_build/.wineprefix.lock"
}

# Starts Xvfb on the first free display and prints its number; its pid goes to the file named in $1.
tresk_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! >"$1"
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n"; return 0; }
      sleep 0.1
    done
    kill "$(cat "$1")" 2>/dev/null
  done
  return 1
}
