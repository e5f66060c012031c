# End-to-end test helpers: a fresh program folder per test, the program
# started under Wine in the "shell" virtual desktop, the UI probe to look at
# windows, and checks that print one line each.
# shellcheck shell=bash
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib.sh"
wine_env
[ -n "${DISPLAY:-}" ] || ensure_display private
prefix_init
# Keep the prefix (and so the simulator's device host and settings) alive
# between the programs a test starts; it ends with the test. A server that is
# still running (the simulator's installation has just restarted it) cannot
# be made persistent: wait until it has ended, then start a persistent one.
if ! wineserver -p 2>/dev/null; then
    wineserver -w
    wineserver -p
fi
# Start the prefix's services (and the simulator) from a plain call, so that
# they never inherit the pipe of a later $(...) and hold it open.
$MODAVI_WINE cmd /c exit >/dev/null 2>&1 </dev/null || true
trap 'prefix_stop; stop_display' EXIT
mkdir -p "$SCREENSHOTS"

E2E_CHECKS=0
E2E_FAILED=0
PROGRAM_PID=

check() { # description command...
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "${@:2}"; then echo "  ok   $1"
    else echo "  FAIL $1"; E2E_FAILED=$((E2E_FAILED + 1)); fi
}

check_eq() { # description expected actual
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if [ "$2" == "$3" ]; then echo "  ok   $1"
    else echo "  FAIL $1: expected [$2], got [$3]"; E2E_FAILED=$((E2E_FAILED + 1)); fi
}

e2e_done() {
    stop_program
    echo "$((E2E_CHECKS - E2E_FAILED)) passed, $E2E_FAILED failed"
    [ "$E2E_FAILED" -eq 0 ]
}

# Windows path of a Linux path (the prefix maps / to Z:).
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

probe() { $MODAVI_WINE "$SIM/uiprobe.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
simctl() { $MODAVI_WINE "$SIM/adslsim.exe" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# A fresh copy of the program folder; settings lines become its Modavi.ini.
# Use: program_folder NAME ["Key=Value" ...]  (no lines: no Modavi.ini at all)
program_folder() {
    APP_DIR=$BUILD/e2e/$1
    rm -rf "$APP_DIR"
    mkdir -p "$APP_DIR"
    cp "$DIST"/*.exe "$DIST"/*.dll "$DIST"/*.bmp "$APP_DIR"/ 2>/dev/null
    shift
    if [ $# -gt 0 ]; then
        { echo "[SystemInfo]"; printf '%s\n' "$@"; } >"$APP_DIR/Modavi.ini"
    fi
}

# Starts Modavi.exe of APP_DIR in the background; extra words are its
# arguments. PROGRAM_LOCALE, when set, is the program's LC_ALL.
start_program() {
    (cd "$APP_DIR" && exec env ${PROGRAM_LOCALE:+LC_ALL=$PROGRAM_LOCALE} $MODAVI_WINE Modavi.exe "$@" >/dev/null 2>&1) &
    PROGRAM_PID=$!
}

# Waits (bounded) until the background program has ended; 0 when it has.
wait_program_exit() { # [seconds]
    local limit=$(( ${1:-20} * 10 )) i
    for ((i = 0; i < limit; i++)); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || { wait "$PROGRAM_PID" 2>/dev/null; return 0; }
        sleep 0.1
    done
    return 1
}

program_running() { kill -0 "$PROGRAM_PID" 2>/dev/null; }

stop_program() {
    [ -n "$PROGRAM_PID" ] || return 0
    if kill -0 "$PROGRAM_PID" 2>/dev/null; then
        $MODAVI_WINE taskkill /f /im Modavi.exe >/dev/null 2>&1 || true
        wait_program_exit 10 || kill "$PROGRAM_PID" 2>/dev/null
    fi
    PROGRAM_PID=
}

# The first window matching the probe's find options, waiting up to 15 s.
find_window() { probe find --timeout "${FIND_TIMEOUT:-15000}" "$@" | head -1 | awk '{print $1}'; }

# Text of a message box with the given caption (waits up to 15 s).
msgbox_text() { probe msgbox --title "$1" --timeout "${FIND_TIMEOUT:-15000}"; }

# Saves a window's pixels as build/screenshots/NAME.png.
screenshot() { # hwnd name
    local bmp=$SCREENSHOTS/$2.bmp
    probe capture "$1" "$(winpath "$bmp")" && convert "$bmp" "$SCREENSHOTS/$2.png" && rm -f "$bmp"
}

# The whole virtual desktop (taskbar included) as build/screenshots/NAME.png.
screenshot_desktop() {
    import -window root -crop 1024x768+0+0 +repage "$SCREENSHOTS/$1.png" 2>/dev/null
}

# Activates a window with a real click near the middle of its top edge (on
# the skinned window that is the logo area, on a dialog its caption), so that
# real key presses reach it.
focus_window() { # hwnd
    local x y w h
    read -r x y w h <<<"$(probe rect "$1")"
    xdotool mousemove $((x + w / 2)) $((y + 12)) click 1
}

# Real key presses (xdotool key syntax) into the focused window.
press() { xdotool key "$@"; }
