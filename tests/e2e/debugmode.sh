#!/usr/bin/env bash
# The debug hot key (Ctrl, Shift or Alt with F1) and the skinned window's log
# key, pressed on the real keyboard, with the recording DbgMode.dll beside the
# program (a log asked for while debug mode runs leaves it running); closing
# the status window or ending the program stops debug mode.
source "$(dirname "$0")/lib.sh"
LOG=$BUILD/e2e/dbgmode.log
mkdir -p "$BUILD/e2e"
export DBGMODE_LOG=$(winpath "$LOG") # the plug-in runs under Wine: a Windows path

# The plug-in's log without its isDebugModeStarted queries, on one line.
log_lines() { tr -d '\r' 2>/dev/null <"$LOG" | grep -v '^isDebugModeStarted$' | paste -sd' '; }
expect_log() { expect "$1" "$2" log_lines; } # description expected

# A real click on the window's top edge (the skinned window's logo) activates it for real keys.
focus_window() { read -r x y w _ <<<"$(probe rect "$1")" && xdotool mousemove $((x + w / 2)) $((y + 12)) click 1; }
start_with() { # with|without settings...
    local plugin=$1
    shift
    program_folder debugmode "$@" "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english" # the first line of a key wins
    [ "$plugin" == without ] || cp "$SIM/DbgMode.dll" "$APP_DIR/"
    rm -f "$LOG"
    start_program
    WINDOW=$(find_window --class "$CLASS" --visible)
    check "the status window is open" test -n "$WINDOW"
    focus_window "$WINDOW" # the hot key reads the real keyboard state
}

echo "EnableDebugMode=1: Ctrl, Shift or Alt with F1 toggles; F1 alone does nothing"
start_with with "EnableDebugMode=1"
xdotool key F1 ctrl+F1
expect_log "Ctrl+F1 starts" "startDebugMode"
xdotool key shift+F1
expect_log "Shift+F1 stops" "startDebugMode stopDebugMode"
xdotool key alt+F1
expect_log "Alt+F1 starts again" "startDebugMode stopDebugMode startDebugMode"
xdotool key ctrl+shift+l
expect_log "the log key while it runs: a log" "startDebugMode stopDebugMode startDebugMode generateLogFile"
wait_polls 2 # the window's polls, which wait while a log is written
check_eq "...and debug mode runs on, not started again" "startDebugMode stopDebugMode startDebugMode generateLogFile" \
    "$(log_lines)"
probe close "$WINDOW"
expect_log "closing the status window stops it" \
    "startDebugMode stopDebugMode startDebugMode generateLogFile stopDebugMode"
check "without the tray icon the program ends" wait_program_exit

echo "EnableDebugMode=0: the hot key does nothing, Ctrl+Shift+L still writes a log"
start_with with "EnableDebugMode=0"
xdotool key ctrl+F1 shift+F1 ctrl+shift+l
expect_log "the log key starts, logs and stops" "startDebugMode generateLogFile stopDebugMode"
probe close "$WINDOW"
wait_program_exit

echo "with the tray icon: the menu's close and exit stop debug mode"
start_with with "EnableDebugMode=1" "ShowSysTrayIcon=1"
TRAY=$(find_window --class "$CLASS" --title SysTrayWnd)
xdotool key ctrl+F1
expect_log "Ctrl+F1 starts" "startDebugMode"
probe command "$TRAY" 101
expect_log "closing the status window from the menu stops it" "startDebugMode stopDebugMode"
probe command "$TRAY" 100
focus_window "$(find_window --class "$CLASS" --visible)"
xdotool key ctrl+F1
expect_log "started again in the reopened window" "startDebugMode stopDebugMode startDebugMode"
probe command "$TRAY" 102
check "exit from the menu ends the program" wait_program_exit
expect_log "...and stops debug mode" "startDebugMode stopDebugMode startDebugMode stopDebugMode"

echo "without DbgMode.dll the keys do nothing about debug mode"
start_with without "EnableDebugMode=1"
xdotool key ctrl+F1 ctrl+shift+l
probe close "$WINDOW"
check "the program ends normally" wait_program_exit
check "nothing was logged" test ! -s "$LOG"

e2e_done
