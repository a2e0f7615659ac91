#!/usr/bin/env bash
# Emulator for ctest: runs one Windows program under Wine in the build tree's prefix (never ~/.wine),
# on the run's virtual display, or on a display of its own when called outside ctest.
set -u
. "$(dirname "$0")/wine-env.sh" "$1"
shift
tresk_prepare_prefix
own_xvfb=
if [ -z "${DISPLAY:-}" ]; then
  if [ -f "$tresk_build/.xvfb.display" ] && kill -0 "$(cat "$tresk_build/.xvfb.pid" 2>/dev/null)" 2>/dev/null; then
    export DISPLAY=$(cat "$tresk_build/.xvfb.display")
  else
    own_xvfb=$(mktemp)
    export DISPLAY=$(tresk_start_xvfb "$own_xvfb") || { echo "could not start Xvfb"; exit 1; }
  fi
fi
"$TRESK_WINE" "$@"
status=$?
if [ -n "$own_xvfb" ]; then
  "$TRESK_WINESERVER" -k 2>/dev/null
  kill "$(cat "$own_xvfb")" 2>/dev/null
  rm -f "$own_xvfb"
fi
exit $status
