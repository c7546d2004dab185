# Sourced by the scripts that run Windows programs: a private Wine prefix in
# the build tree and an X display (a private Xvfb when none is given).
# QUILLET_WINE_TARGET picks the build whose programs run: x64 (the default)
# or i686, the 32-bit release, which runs in a prefix of its own so that
# neither build's tests see what the other's left in the registry or on C:.
# quillet_wine_start [need_virtual_display]: display and prefix;
# quillet_wine_display [need_virtual_display] and quillet_wine_prefix: each
# alone; quillet_wine_stop: every Wine session started here, then the display.
# quillet_i386_reason: empty when 32-bit programs run here, else why not.
# QUILLET_DPI (e.g. 144) runs at that many dots per inch, in a prefix of its
# own for each build whose screen Wine reports at that DPI; unset or 96, the
# usual prefix.
QUILLET_ROOT="${QUILLET_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
QUILLET_WINE_TARGET="${QUILLET_WINE_TARGET:-x64}"
if [ "$QUILLET_WINE_TARGET" = i686 ]; then
  export WINEPREFIX="$QUILLET_ROOT/build/wineprefix-i686"
else
  export WINEPREFIX="${WINEPREFIX:-$QUILLET_ROOT/build/wineprefix}"
fi
if [ -n "${QUILLET_DPI:-}" ] && [ "$QUILLET_DPI" != 96 ]; then
  export WINEPREFIX="$QUILLET_ROOT/build/wineprefix-$QUILLET_WINE_TARGET-dpi$QUILLET_DPI"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG="${LANG:-C.UTF-8}"
QUILLET_XVFB_PID=""
QUILLET_NEW_DISPLAY=0
QUILLET_PREFIXES_USED=()

# scripts/setup.sh probes once whether this machine executes 32-bit code
# and installs wine32 only then; its finding is kept in build/probe/i386.
quillet_i386_reason() {
  local record="$QUILLET_ROOT/build/probe/i386"
  if [ ! -f "$record" ]; then
    echo "scripts/setup.sh has not probed for 32-bit execution yet"
  elif [ "$(cat "$record")" != ok ]; then
    cat "$record"
  elif ! dpkg -s wine32:i386 >/dev/null 2>&1; then
    echo "wine32 is not installed (run scripts/setup.sh)"
  fi
}

quillet_wine_display() {
  local virtual="${1:-0}"
  if [ "$virtual" = 1 ] || [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QUILLET_XVFB_PID=$!
    QUILLET_NEW_DISPLAY=1
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
}

# Prepares the prefix named by WINEPREFIX (once; later calls find it ready).
quillet_wine_prefix() {
  QUILLET_PREFIXES_USED+=("$WINEPREFIX")
  if [ "$QUILLET_NEW_DISPLAY" = 1 ]; then
    # A Wine session still running in this prefix belongs to another display.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
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
    # Wine 8 takes the screen's DPI from the user's LogPixels and, without
    # it, from the machine's (the hardware profile's fonts key); both are set.
    if [ -n "${QUILLET_DPI:-}" ] && [ "$QUILLET_DPI" != 96 ]; then
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUILLET_DPI" /f >/dev/null 2>&1 || true
      wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
        /t REG_DWORD /d "$QUILLET_DPI" /f >/dev/null 2>&1 || true
    fi
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
  fi
}

quillet_wine_start() {
  quillet_wine_display "${1:-0}"
  quillet_wine_prefix
}

quillet_wine_stop() {
  local prefix
  for prefix in "${QUILLET_PREFIXES_USED[@]+"${QUILLET_PREFIXES_USED[@]}"}"; do
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
  done
  QUILLET_PREFIXES_USED=()
  if [ -n "$QUILLET_XVFB_PID" ]; then
    kill "$QUILLET_XVFB_PID" 2>/dev/null || true
    wait "$QUILLET_XVFB_PID" 2>/dev/null || true
    QUILLET_XVFB_PID=""
  fi
}
