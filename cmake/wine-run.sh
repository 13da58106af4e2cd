#!/bin/bash
# Runs a Windows program of the build under Wine, headless and quiet: 64-bit
# Wine for a PE32+ program, the 32-bit one for a PE32 program. The first run
# creates the prefix ($WINEPREFIX) under a lock, so that tests started side by
# side neither race on it nor see Wine's set-up messages.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export DISPLAY=

# The optional header's magic: 0x10b for PE32, 0x20b for PE32+.
pe_magic() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((offset + 24)) -N 2 "$1" | tr -d ' '
}

wine=wine
if [ -f "$1" ] && [ "$(pe_magic "$1")" = 020b ]; then
  # Debian's wine script prefers the 32-bit loader whenever it is installed,
  # also where 32-bit programs cannot run: call the 64-bit one directly.
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine=wine64
  export WINELOADER=$wine WINEARCH=win64
fi
if [ -n "${WINEPREFIX:-}" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      wineserver -w || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
