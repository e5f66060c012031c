# Shared by the scripts: where things are, and the Wine and X environment.
# shellcheck shell=bash
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${MODAVI_BUILD:-$ROOT/build}
JOBS=${MODAVI_JOBS:-2}
DIST=$BUILD/dist
SIM=$BUILD/sim
WINTESTS=$BUILD/win/tests
SCREENSHOTS=$BUILD/screenshots

say() { printf '== %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Wine: one private 64-bit prefix under the build folder, quiet, without the
# Mono and Gecko installers (there is no network to fetch them).
wine_env() {
    export WINEPREFIX=${MODAVI_WINEPREFIX:-$BUILD/wineprefix}
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export MODAVI_WINE=${MODAVI_WINE:-wine}
}

# An X display: the caller's, or a private Xvfb on the first free number.
XVFB_PID=${XVFB_PID:-} # kept when this file is sourced again
ensure_display() {
    if [ -n "${MODAVI_DISPLAY:-}" ]; then export DISPLAY=$MODAVI_DISPLAY; return; fi
    if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != private ]; then return; fi
    local n=90
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    local i
    for i in $(seq 1 100); do
        [ -e /tmp/.X11-unix/X$n ] && return 0
        sleep 0.05
    done
    die "Xvfb did not start on $DISPLAY"
}

stop_display() {
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    XVFB_PID=
}

# Creates the prefix once: a virtual desktop named "shell" with a taskbar
# that every program of the prefix shares, and the simulator's service.
prefix_init() {
    wine_env
    local stamp=$WINEPREFIX/.modavi-prefix
    if [ ! -f "$stamp" ]; then
        say "creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        $MODAVI_WINE wineboot -i >/dev/null 2>&1 || true
        $MODAVI_WINE reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        $MODAVI_WINE reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
        wineserver -w
        touch "$stamp"
    fi
    if [ -x "$ROOT/sim/install.sh" ] && [ -f "$SIM/adslsim.sys" ]; then
        "$ROOT/sim/install.sh"
    fi
}

# Every program of the prefix started from now on draws at DPI (125 % is
# 120): Wine reads LogPixels once, when a program starts.
prefix_dpi() { # dpi
    wine_env
    $MODAVI_WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    prefix_stop
}

# Ends every program of the prefix.
prefix_stop() {
    wine_env
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
