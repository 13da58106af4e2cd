#!/bin/bash
# Runs a Windows program of the build under Wine, headless and quiet. The
# first run creates the prefix ($WINEPREFIX) under a lock, so that tests
# started side by side neither race on it nor see Wine's set-up messages.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export DISPLAY=
if [ -n "${WINEPREFIX:-}" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
