#!/usr/bin/env bash
# The debug hot key, the log key of the skinned window, and debug mode being
# stopped by closing the status window, with the recording DbgMode.dll.
source "$(dirname "$0")/lib.sh"
CLASS="KorvantisPelrix Control Panel"
LOG=$BUILD/e2e/dbgmode.log
mkdir -p "$BUILD/e2e"
export DBGMODE_LOG=$(winpath "$LOG")   # the plug-in runs under Wine: a Windows path

log_lines() { tr -d '\r' 2>/dev/null <"$LOG" | grep -v '^isDebugModeStarted$' | paste -sd' '; }

# Waits (bounded) until the plug-in's log without the isDebugModeStarted
# queries reads as expected.
expect_log() { # description expected
    local i
    for ((i = 0; i < 50; i++)); do
        [ "$(log_lines)" == "$2" ] && break
        sleep 0.1
    done
    check_eq "$1" "$2" "$(log_lines)"
}

start_with() { # with-plugin|without-plugin settings...
    local plugin=$1
    shift
    # The first line of a key wins: the test's own settings come first.
    program_folder debugmode "$@" "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english"
    [ "$plugin" == with-plugin ] && cp "$SIM/DbgMode.dll" "$APP_DIR/"
    rm -f "$LOG"
    start_program
    WINDOW=$(find_window --class "$CLASS" --visible)
    check "status window is open" test -n "$WINDOW"
    # The hot key reads the real keyboard state: real key presses, into the window.
    focus_window "$WINDOW"
}

echo "EnableDebugMode=1: Ctrl, Shift and Alt with F1 toggle; F1 alone does nothing"
start_with with-plugin "EnableDebugMode=1"
press F1
press ctrl+F1
expect_log "Ctrl+F1 starts" "startDebugMode"
press shift+F1
expect_log "Shift+F1 stops" "startDebugMode stopDebugMode"
press alt+F1
expect_log "Alt+F1 starts again" "startDebugMode stopDebugMode startDebugMode"
probe close "$WINDOW"
expect_log "closing the status window stops debug mode" "startDebugMode stopDebugMode startDebugMode stopDebugMode"
check "without the tray icon the program ends" wait_program_exit 20

echo "EnableDebugMode=0: the hot key does nothing, Ctrl+Shift+L still writes a log"
start_with with-plugin "EnableDebugMode=0"
press ctrl+F1
press shift+F1
press ctrl+shift+l
expect_log "the log key starts, logs and stops" "startDebugMode generateLogFile stopDebugMode"
probe close "$WINDOW"
check "the program ends" wait_program_exit 20

echo "with the tray icon: the menu's close and exit stop debug mode"
start_with with-plugin "EnableDebugMode=1" "ShowSysTrayIcon=1"
TRAY=$(find_window --class "$CLASS" --title SysTrayWnd)
press ctrl+F1
expect_log "Ctrl+F1 starts" "startDebugMode"
probe command "$TRAY" 101
expect_log "closing the status window from the menu stops it" "startDebugMode stopDebugMode"
probe command "$TRAY" 100
WINDOW=$(find_window --class "$CLASS" --visible)
focus_window "$WINDOW"
press ctrl+F1
expect_log "started again in the reopened window" "startDebugMode stopDebugMode startDebugMode"
probe command "$TRAY" 102
check "exit from the menu ends the program" wait_program_exit 20
expect_log "and stops debug mode" "startDebugMode stopDebugMode startDebugMode stopDebugMode"

echo "without DbgMode.dll every action works and does nothing about debug mode"
start_with without-plugin "EnableDebugMode=1"
press ctrl+F1
press ctrl+shift+l
probe close "$WINDOW"
check "the program ends normally" wait_program_exit 20
check "nothing was logged" test ! -s "$LOG"

e2e_done
