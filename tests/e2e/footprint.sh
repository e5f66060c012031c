#!/usr/bin/env bash
# Handles and live GDI objects of the program with its tray icon and skinned
# window on the simulator's moving model, once both have polled and the window
# was reopened, must not move over FOOTPRINT_TICKS (36,000: five hours) tray
# ticks, a tenth of that of window polls with its pages and focus turned, all
# driven as fast as the machine allows, and more reopenings; the line diary
# is kept meanwhile.
source "$(dirname "$0")/lib.sh"
TICKS=${FOOTPRINT_TICKS:-36000}

# Handles and live GDI objects at rest: the least of three readings, each
# after a poll (one taken while a poll draws counts its device contexts too).
figures() {
    local i
    for i in 1 2 3; do
        wait_polls 1 && probe process "$PID"
    done | awk '$1 == "handles" && (h == "" || $2 < h) {h = $2} $1 == "gdi" && (g == "" || $2 < g) {g = $2} END {print h, g}'
}
# Posts COUNT timer messages to a window and waits (bounded) until the
# simulator has answered READS line-state requests.
drive() { # hwnd count reads
    local deadline=$((SECONDS + 1800))
    simctl stats --clear >/dev/null
    probe post "$1" 0x0113 1 0 --repeat "$2"
    until [ "$(polls)" -ge "$3" ]; do [ $SECONDS -lt $deadline ] || return 1; sleep 1; done
}
reopen() { # the status window, closed and opened again from the tray
    probe command "$TRAY" 101
    gone "$WND"
    probe command "$TRAY" 100
    WND=$(find_window --class "$CLASS" --title "$TITLE" --visible)
}

program_folder footprint "ShowSysTrayIcon=1" "ClassicStyle=0" "KeepHistory=1" "SupportedLanguages=english"
TITLE=$(module_string CplEng.dll 1)
simctl reset >/dev/null
start_program
TRAY=$(find_window --class "$CLASS" --title SysTrayWnd)
WND=$(find_window --class "$CLASS" --title "$TITLE" --visible)
check "the tray window and the skinned window are there" test -n "$TRAY" -a -n "$WND"
PID=$(probe list | awk -v h="$TRAY" '$1 == h {print $2}')
drive "$TRAY" 120 60
drive "$WND" 60 60
reopen
read -r handles gdi <<<"$(figures)"
echo "  warm: handles $handles, live GDI objects $gdi"
check "the GDI table can be read" test "${gdi:--1}" -gt 0

check "$TICKS tray ticks are handled" drive "$TRAY" "$TICKS" $((TICKS / 2))
for ((round = 0; round < 10; round++)); do
    drive "$WND" $((TICKS / 100)) $((TICKS / 100)) || break
    probe command "$WND" 104 # next page, previous page, the focus on
    probe command "$WND" 103
    probe key "$WND" 9
done
check "$((TICKS / 10)) polls of the window are handled" test "$round" -eq 10
for ((round = 0; round < 3; round++)); do reopen; done
check "the window is open" test -n "$WND"
read -r handles_after gdi_after <<<"$(figures)"
echo "  after: handles $handles_after, live GDI objects $gdi_after"
check_eq "the handle count stays flat" "$handles" "$handles_after"
check_eq "the live GDI object count stays flat" "$gdi" "$gdi_after"
e2e_done
