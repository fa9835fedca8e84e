# Sourced by tools/run and tools/test: a private Wine prefix, a private virtual display and
# a persistent Wine server for everything started in between.

WINE64=/usr/lib/wine/wine64            # /usr/bin/wine may pick the 32-bit loader
WINESERVER=/usr/lib/wine/wineserver

export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono/Gecko prompts; a crash ends the process instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# wine_prefix DIR [unmanaged]: makes DIR a ready prefix once, then reuses it. An unmanaged
# prefix is for a bare virtual display, which has no window manager.
wine_prefix() {
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/.tarvel-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "Preparing the Wine prefix $WINEPREFIX ..." >&2
    "$WINE64" wineboot -i >/dev/null 2>&1
    if [ "${2:-}" = unmanaged ]; then
      # Without a window manager Wine would wait ~2 s on every hide of a managed window.
      "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    "$WINESERVER" -w
    touch "$WINEPREFIX/.tarvel-ready"
  fi
}

# start_private_display: a fresh Xvfb on a free display number; sets DISPLAY.
XVFB_PID=
start_private_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# A server left over from an interrupted run would still serve its old display. The prefix's
# services start with the first program and live as long as the server: start them here,
# so that they do not hold on to the output of whatever program happens to come first.
start_wine_server() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w
  "$WINESERVER" -p 9>&-
  "$WINE64" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 9>&-
}

# Stops what the functions above started.
stop_wine_and_display() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -w 2>/dev/null || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
