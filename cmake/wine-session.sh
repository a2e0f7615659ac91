#!/usr/bin/env bash
# ctest fixture: "start" prepares the prefix, a virtual display (unless DISPLAY is set) and a wineserver kept
# alive for the whole run; "stop" ends the wineserver and the display again.
set -u
. "$(dirname "$0")/wine-env.sh" "$2"
case "$1" in
  start)
    tresk_prepare_prefix
    if [ -z "${DISPLAY:-}" ]; then
      display=$(tresk_start_xvfb "$tresk_build/.xvfb.pid") || { echo "could not start Xvfb"; exit 1; }
      echo "$display" >"$tresk_build/.xvfb.display"
      export DISPLAY=$display
    fi
    # the server must not hold ctest's output pipe open, or ctest waits for it
    "$TRESK_WINESERVER" -p </dev/null >/dev/null 2>&1
    # Wine's own services (services.exe, rpcss, ...) start with the first program and live as long as the
    # server; start them here with no output, or they inherit a test's output pipe and ctest waits on it.
    "$TRESK_WINE" wineboot </dev/null >/dev/null 2>&1
    echo "wine session ready: prefix $WINEPREFIX, display ${DISPLAY}"
    ;;
  stop)
    "$TRESK_WINESERVER" -k 2>/dev/null
    if [ -f "$tresk_build/.xvfb.pid" ]; then
      kill "$(cat "$tresk_build/.xvfb.pid")" 2>/dev/null
      rm -f "$tresk_build/.xvfb.pid" "$tresk_build/.xvfb.display"
    fi
    echo "wine session stopped"
    ;;
  *) echo "usage: wine-session.sh start|stop BUILD_DIR"; exit 2 ;;
esac
