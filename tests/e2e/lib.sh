# End-to-end test helpers: a fresh program folder per run, the program
# started under Wine in the "shell" virtual desktop, the UI probe to look at
# windows, the simulator's control tool, and checks that print one line each.
# shellcheck shell=bash
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib.sh"
wine_env
[ -n "${DISPLAY:-}" ] || ensure_display private
prefix_init
# Keep the prefix (and so the simulator's device host and settings) alive
# between the programs a test starts. A server still running (the simulator's
# installation has just restarted it) cannot be made persistent: wait for it.
wineserver -p 2>/dev/null || { wineserver -w; wineserver -p; }
# Start the prefix's services (and the simulator) from a plain call, so that
# they never inherit the pipe of a later $(...) and hold it open.
$MODAVI_WINE cmd /c exit >/dev/null 2>&1 </dev/null || true
trap 'prefix_stop; stop_display' EXIT
mkdir -p "$SCREENSHOTS"
CLASS="KorvantisPelrix Control Panel"
E2E_CHECKS=0 E2E_FAILED=0 PROGRAM_PID=
# Every wait of a journey is for something it can see, bounded by E2E_WAIT
# seconds: enough for a busy machine, and only a failing check waits it out.
E2E_WAIT=${E2E_WAIT:-60}
eventually() { # command...: polled until it succeeds; false once the bound has passed
    local deadline=$((SECONDS + E2E_WAIT))
    until "$@"; do [ $SECONDS -lt $deadline ] || return 1; sleep 0.2; done
}
expect() { # description expected command...: polled until the command prints what is expected
    local got deadline=$((SECONDS + E2E_WAIT))
    while got=$("${@:3}"); [ "$got" != "$2" ] && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    check_eq "$1" "$2" "$got"
}

check() { # description command...
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "${@:2}"; then echo "  ok   $1"; else echo "  FAIL $1"; E2E_FAILED=$((E2E_FAILED + 1)); fi
}
check_eq() { # description expected actual
    if [ "$2" == "$3" ]; then check "$1" true; else check "$1: expected [$2], got [$3]" false; fi
}
e2e_done() {
    stop_program
    echo "$((E2E_CHECKS - E2E_FAILED)) passed, $E2E_FAILED failed"
    [ "$E2E_FAILED" -eq 0 ]
}

winpath() { local p=$1; echo "Z:${p//\//\\}"; } # the prefix maps / to Z:
probe() { $MODAVI_WINE "$SIM/uiprobe.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
simctl() { $MODAVI_WINE "$SIM/adslsim.exe" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# A fresh copy of the program folder; the settings lines become its
# Modavi.ini (none: no Modavi.ini at all). Use: program_folder NAME [Key=Value ...]
program_folder() {
    APP_DIR=$BUILD/e2e/$1
    rm -rf "$APP_DIR" && mkdir -p "$APP_DIR"
    cp "$DIST"/*.exe "$DIST"/*.dll "$DIST"/*.bmp "$APP_DIR"/
    shift
    [ $# -eq 0 ] || { echo "[SystemInfo]"; printf '%s\n' "$@"; } >"$APP_DIR/Modavi.ini"
}

# Starts Modavi.exe of APP_DIR in the background with the given arguments;
# PROGRAM_LOCALE, when set, is its LC_ALL.
start_program() {
    (cd "$APP_DIR" && exec env ${PROGRAM_LOCALE:+LC_ALL=$PROGRAM_LOCALE} $MODAVI_WINE Modavi.exe "$@" >/dev/null 2>&1) &
    PROGRAM_PID=$!
}
program_running() { kill -0 "$PROGRAM_PID" 2>/dev/null; }
program_ended() { ! program_running; }
wait_program_exit() { # waits (bounded) until the program has ended
    eventually program_ended && { wait "$PROGRAM_PID" 2>/dev/null; return 0; }
}
stop_program() {
    [ -n "$PROGRAM_PID" ] && program_running || return 0
    $MODAVI_WINE taskkill /f /im Modavi.exe >/dev/null 2>&1
    wait_program_exit || kill "$PROGRAM_PID" 2>/dev/null
    # Its windows go with it, but not always by the time the process has:
    # the next start must not find them and hand over to a dying program.
    eventually no_window --class "$CLASS"
}

# The first window matching the probe's find options, waiting up to E2E_WAIT
# (FIND_TIMEOUT ms); empty when there is none.
find_window() {
    local found
    found=$(probe find --timeout "${FIND_TIMEOUT:-$((E2E_WAIT * 1000))}" "$@" | head -1 | awk '{print $1}')
    # Waited the whole bound in vain: what there is instead, for the log.
    [ -n "$found" ] || [ "${FIND_TIMEOUT:-1}" == 0 ] || probe list | sed "s/^/    (no $*) there is: /" >&2
    echo "$found"
}
no_window() { test -z "$(FIND_TIMEOUT=0 find_window "$@")"; }
gone() { [ -n "$1" ] && probe gone "$1" --timeout $((E2E_WAIT * 1000)) >/dev/null; }
msgbox_text() { probe msgbox --title "$1" --timeout $((E2E_WAIT * 1000)); } # waits for a box with that caption
close_box() { probe close "$(find_window --class '#32770' --title "$1")"; }

# Once the status window is closed: without the tray icon (0) the program
# ends; with it the program goes on, opens a status window (found by the
# probe's find options) when asked from the tray, and ends on "exit".
check_after_close() { # tray find-options...
    [ "$1" != 0 ] || { check "without the tray icon the program ends" wait_program_exit; return; }
    local tray
    tray=$(find_window --class "$CLASS" --title SysTrayWnd)
    probe command "$tray" 100
    check "with it the program goes on: asked from the tray, it opens the window again" test -n "$(find_window "${@:2}" --visible)"
    probe command "$tray" 102
    check "exit from the tray ends the program" wait_program_exit
}

# The notification icon: Wine's taskbar paints the first one in a 20-pixel
# slot at its right end, the 16 x 16 picture centred in it.
locate_icon() {
    TASKBAR=$(find_window --class Shell_TrayWnd --visible)
    read -r x y w h <<<"$(probe rect "$TASKBAR")"
    ICON_X=$((x + w - 18)) ICON_Y=$((y + (h - 16) / 2)) BARE_X=$((x + w - 40)) # bare taskbar left of the slot
}
open_menu() { # a real right click on the icon; sets MENU and its rectangle
    xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8)) click 3
    MENU=$(find_window --class '#32768' --visible)
    [ -n "$MENU" ] || return 1
    read -r MENU_X MENU_Y MENU_W MENU_H <<<"$(probe rect "$MENU")"
    xdotool mousemove $((MENU_X + MENU_W / 2)) $((MENU_Y + 1)) # off the icon: its tool-tip goes
}
focus_of() { probe focus "$1" | awk '{print $1}'; } # window: the id of the control with the focus
focus_is() { expect "$1" "$3" focus_of "$2"; }      # description window control-id (polled, bounded)

# String ID of the language module NAME of APP_DIR.
module_string() { probe string "$(winpath "$APP_DIR/$1")" "$2"; }
# The label of VALUE in an enumeration list "value,label,value,label...".
label_of() { # list value
    local value label
    while IFS=, read -r value label; do
        [ $((value)) -eq $(($2)) ] && { echo "$label"; return; }
    done < <(tr ',' '\n' <<<"$1" | paste -d, - -)
}

# Line-state requests the simulator answered since the last clear: one a
# status read of the program.
polls() { simctl stats | awk '$1 == "cmd" && $2 == "0x0004" {n = $3} END {print n + 0}'; }
wait_polls() { # n: waits (bounded) until the program has polled that often from now on
    local deadline=$((SECONDS + E2E_WAIT))
    simctl stats --clear >/dev/null
    until [ "$(polls)" -ge "$1" ]; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# Every program of the prefix started from now on, the desktop's taskbar
# too, draws at DPI; the prefix and the simulator go on as at the start.
use_scale() { # dpi
    prefix_dpi "$1"
    wineserver -p 2>/dev/null || { wineserver -w; wineserver -p; }
    $MODAVI_WINE cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Saves a window's pixels as build/screenshots/NAME.png.
screenshot() { # hwnd name
    local bmp=$SCREENSHOTS/$2.bmp
    [ -n "$1" ] && probe capture "$1" "$(winpath "$bmp")" && convert "$bmp" "$SCREENSHOTS/$2.png" && rm -f "$bmp"
}
