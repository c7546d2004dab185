# Sourced by the scripts that run Windows programs: a private Wine prefix in
# the build tree and an X display (a private Xvfb when none is given).
# quillet_wine_start [need_virtual_display]; quillet_wine_stop.
QUILLET_ROOT="${QUILLET_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${WINEPREFIX:-$QUILLET_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG="${LANG:-C.UTF-8}"
QUILLET_XVFB_PID=""

quillet_wine_start() {
  local virtual="${1:-0}"
  if [ "$virtual" = 1 ] || [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QUILLET_XVFB_PID=$!
    export DISPLAY=":$n"
    # A Wine session still running in this prefix belongs to another display.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/.quillet-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Wine draws its frames with Marlett and Tahoma from fonts-wine.
    cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Windows faces the program asks for, mapped to their metric twins.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial' /d 'Liberation Sans' /f >/dev/null 2>&1 || true
    # One virtual desktop for every program: without a window manager Wine
    # would wait for each closed window to be withdrawn, and windows get frames.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1000 /f >/dev/null 2>&1 || true
    # No sound device here: keep Wine from looking for one.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
  fi
}

quillet_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "$QUILLET_XVFB_PID" ]; then
    kill "$QUILLET_XVFB_PID" 2>/dev/null || true
    wait "$QUILLET_XVFB_PID" 2>/dev/null || true
    QUILLET_XVFB_PID=""
  fi
}
