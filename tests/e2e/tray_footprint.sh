#!/usr/bin/env bash
# Handle and live GDI object counts of the program living in the taskbar,
# polling the moving simulated modem: the counts after the first minute are
# the baseline; then the tray's timer is driven as fast as the machine
# allows for TRAY_FOOTPRINT_TICKS ticks (36,000 by default, 5 hours of
# polling), then it polls in real time for TRAY_FOOTPRINT_SECONDS (60 by
# default; 600 for the full ten-minute measurement). Prints the counts
# along the way; the counts at the end must equal the baseline.
#
#   TRAY_FOOTPRINT_SECONDS=600 tests/e2e/tray_footprint.sh
source "$(dirname "$0")/lib.sh"
CLASS="KorvantisPelrix Control Panel"
WARMUP=${TRAY_FOOTPRINT_WARMUP:-60}
TICKS=${TRAY_FOOTPRINT_TICKS:-36000}
REALTIME=${TRAY_FOOTPRINT_SECONDS:-60}

# The Windows process id of the program (the probe's figures are Windows').
windows_pid() { probe find --class "$CLASS" --title SysTrayWnd --timeout 15000 | awk '{print $2; exit}'; }

figures() { # label -> prints one line, sets HANDLES and GDI
    local out
    out=$(probe process "$WIN_PID")
    HANDLES=$(awk '$1 == "handles" {print $2}' <<<"$out")
    GDI=$(awk '$1 == "gdi" {print $2}' <<<"$out")
    printf '  %-32s handles %5s   live GDI objects %5s\n' "$1" "$HANDLES" "$GDI"
}

# Line-state requests since the last `stats --clear`: one per status read.
state_reads() { simctl stats | awk '$1 == "cmd" && $2 == "0x0004" {print $3}'; }

program_folder tray-footprint "ShowSysTrayIcon=1" "ClassicStyle=1" "SupportedLanguages=english"
start_program icon
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
check "the tray window exists" test -n "$tray"
WIN_PID=$(windows_pid)
simctl reset >/dev/null

echo "tray icon polling the moving model (pid $WIN_PID)"
figures "at start"
for ((t = 0; t < WARMUP; t += 15)); do sleep 15; done
figures "after ${WARMUP} s (baseline)"
base_handles=$HANDLES
base_gdi=$GDI
check "the GDI table can be read" test "${base_gdi:--1}" -ge 0

simctl stats --clear
start=$SECONDS
probe post "$tray" 0x113 1 0 --repeat "$TICKS"
reads=0
while [ $SECONDS -lt $((start + 1800)) ]; do
    reads=$(state_reads)
    [ "${reads:-0}" -ge $((TICKS / 2)) ] && break
    sleep 1
done
elapsed=$((SECONDS - start))
echo "  $TICKS ticks posted: $reads status reads in $elapsed s"
check "every second tick read the status" test "${reads:-0}" -ge $((TICKS / 2))
figures "after $TICKS fast ticks"

for ((t = 0; t < REALTIME; t += 30)); do
    sleep 30
    figures "after $((t + 30)) s more in real time"
done
check_eq "handle count back at the baseline" "$base_handles" "$HANDLES"
check_eq "live GDI objects back at the baseline" "$base_gdi" "$GDI"
check "the program still runs" program_running
e2e_done
