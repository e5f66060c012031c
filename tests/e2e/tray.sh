#!/usr/bin/env bash
# The notification-area icon in the virtual desktop's taskbar: its picture
# follows the simulated line (training blinks; down, up with each kind of
# traffic and unreadable each look their own), a real right click opens the
# menu whose items open and close the status window and end the program, a
# real double-click opens the window, the icon goes with the program, and with
# NotifyLineChanges on, balloons tell of the line's and the modem's ups and
# downs, and with KeepHistory on the line diary records them (without the
# icon, from the status window's reads) and the PC's sleep and wake (WM_POWERBROADCAST
# to the tray window) and the program's start and end; a line that trains
# again after the wake is no drop and no balloon. Screenshots of the taskbar
# in each state, tool-tip, menu and balloons, and of the history page with a
# night's sleep.
source "$(dirname "$0")/lib.sh"

grab() { import -window root -crop "$1" +repage -depth 8 rgb:- 2>/dev/null; } # WxH+X+Y
icon_hash() { grab "16x16+$ICON_X+$ICON_Y" | md5sum | cut -c1-12; }
icon_shown() { [ "$(icon_hash)" != "$(grab "16x16+$BARE_X+$ICON_Y" | md5sum | cut -c1-12)" ]; } # unlike bare taskbar
icon_is() { [ "$(icon_shown && echo shown || echo gone)" == "$1" ]; }
wait_icon() { eventually icon_is "$1"; } # shown|gone
# The picture once a change has settled: the second status read from now
# settles it, and the taskbar, which paints it when it gets to it, shows the
# same over a read more.
picture() {
    local last now deadline=$((SECONDS + E2E_WAIT))
    wait_polls 2 && now=$(icon_hash)
    while last=$now && wait_polls 1 && now=$(icon_hash) && [ "$now" != "$last" ] && [ $SECONDS -lt $deadline ]; do :; done
    echo "$now"
}
# The distinct pictures shown over three status reads from now.
pictures() {
    local deadline=$((SECONDS + E2E_WAIT))
    simctl stats --clear >/dev/null
    while [ "$(polls)" -lt 3 ] && [ $SECONDS -lt $deadline ]; do icon_hash; sleep 0.1; icon_hash; done | sort -u
}
corner_shot() { import -window root -crop 320x200+704+568 +repage "$SCREENSHOTS/$1.png" 2>/dev/null; }
away() { xdotool mousemove 300 300; }
click_menu() { # 1 open, 3 close, 7 exit: eighths of the menu's height (settings and a separator above "exit")
    xdotool mousemove $((MENU_X + MENU_W / 2)) $((MENU_Y + MENU_H * $1 / 8)) click 1
    gone "$MENU"
}

program_folder tray "ShowSysTrayIcon=1" "ClassicStyle=1" "SupportedLanguages=english"
TITLE=$(module_string CplEng.dll 1)
status_window() { find_window --class '#32770' --title "$TITLE" --visible; }
start_program icon
echo "the icon appears in the taskbar"
check "the hidden tray window exists" test -n "$(find_window --class "$CLASS" --title SysTrayWnd)"
locate_icon
check "the icon is shown in the notification area" wait_icon shown
away

echo "the picture follows the line"
simctl set 4 --dword 1 >/dev/null
mapfile -t blink < <(pictures)
check_eq "training: two pictures alternate" 2 "${#blink[@]}"
screenshot "$TASKBAR" tray-training
# name | commands to the simulator, separated by ";"
LINES=("down|set 4 --dword 3"
    "up-quiet|set 4 --dword 2; set 0x0381 --dword 5; set 0x0301 --dword 5"
    "up-down|count 0x0381 190"
    "up-up|set 0x0381 --dword 5; count 0x0301 20"
    "up-both|count 0x0381 190"
    "unreadable|fail 4")
declare -A seen
for row in "${LINES[@]}"; do
    IFS='|' read -r name commands <<<"$row"
    IFS=';' read -ra commands <<<"$commands"
    for command in "${commands[@]}"; do
        # shellcheck disable=SC2086
        simctl $command >/dev/null
    done
    seen[$name]=$(picture)
    screenshot "$TASKBAR" "tray-$name"
done
check "down: the picture that alternates with the training one" grep -qx "${seen[down]}" <<<"$(printf '%s\n' "${blink[@]}")"
check_eq "up with each kind of traffic and unreadable: pictures of their own" 7 \
    "$(printf '%s\n' "${blink[@]}" "${seen[@]}" | sort -u | grep -c .)"
simctl reset >/dev/null

echo "the tool-tip and the menu"
xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8))
check "hovering shows the tool-tip" test -n "$(find_window --class tooltips_class32 --visible)"
corner_shot tray-tooltip
away
check "a right click opens the menu" open_menu
corner_shot tray-menu
click_menu 1
status=$(status_window)
check "'open' opens the status window" test -n "$status"
wait_polls 1 # the window is made: the program waits for input again
check "a right click opens the menu again" open_menu
click_menu 3
check "'close' closes the status window" gone "$status"
away
xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8)) click --repeat 2 --delay 100 1
check "a double-click opens the status window" test -n "$(status_window)"
# An open status window is only brought to the front: no setting is read.
mv "$APP_DIR/Modavi.ini" "$APP_DIR/Modavi.ini.away"
status=$(status_window)
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
probe command "$tray" 100 && probe command "$tray" 101 && gone "$status"
check "asked again while it is open, with no settings file: no error box" no_window --class '#32770' --title Error
mv "$APP_DIR/Modavi.ini.away" "$APP_DIR/Modavi.ini"
away

echo "'exit' ends the program"
# The virtual desktop and its taskbar end with the last program of the
# prefix: a waiting probe keeps them, to look at the taskbar after.
$MODAVI_WINE "$SIM/uiprobe.exe" find --class "no such window" --timeout 900000 >/dev/null 2>&1 &
keeper=$!
check "a right click opens the menu" open_menu
click_menu 7
check "the process ends" wait_program_exit
check "the same taskbar is still there" test "$TASKBAR" == "$(find_window --class Shell_TrayWnd --visible)"
check "the icon is gone from the taskbar" wait_icon gone
screenshot "$TASKBAR" tray-gone
kill "$keeper" 2>/dev/null

echo "balloons tell of the line's changes"
BALLOONS=$BUILD/e2e/balloons.txt
told() { tr -d '\r' <"$BALLOONS" | sed -n "$1p" | cut -d' ' -f"${2:-2-}"; } # n [1]: the nth balloon's text [window]
told_yet() { [ -n "$(told "$1" 1)" ]; }
wait_told() { # n name: waits (bounded) for the nth balloon and saves it as tray-alert-NAME.png
    eventually told_yet "$1"
    screenshot "$(told "$1" 1)" "tray-alert-$2"
}
# shellcheck disable=SC2086
sim() { local command; for command in "$@"; do simctl $command >/dev/null; done; }
alerts() { # module language: the line held in training, then up, down, gone and back
    program_folder alerts "ShowSysTrayIcon=1" "SupportedLanguages=english,german"
    sim reset "set 4 --dword 1" "set 0x0103 --dword 8128" "set 0x0107 --dword 864"
    $MODAVI_WINE "$SIM/uiprobe.exe" watch --class tooltips_class32 --visible --timeout 900000 >"$BALLOONS" 2>/dev/null &
    local watcher=$!
    start_program icon
    wait_polls 2 && sim "set 4 --dword 2" && wait_polls 4 # up, with no NotifyLineChanges
    echo "NotifyLineChanges=0" >>"$APP_DIR/Modavi.ini" && sim "set 4 --dword 1" && wait_polls 4
    check_eq "$2: without NotifyLineChanges, and with 0, no balloon" "" "$(told 1)"
    sed -i 's/^NotifyLineChanges=0/NotifyLineChanges=1/' "$APP_DIR/Modavi.ini"
    sim "set 4 --dword 2" && wait_told 1 "up-$2"
    sim "set 4 --dword 3" && wait_told 2 "down-$2"
    check "$2: down after the seconds it was up: $(told 2)" grep -qx \
        "$(module_string "$1" 38 | sed "s/%1/$(module_string "$1" 41 | sed 's/%1/[0-9][0-9]*/')/")" <<<"$(told 2)"
    sim "count 4 1 --start 2" && wait_polls 5 && sim "set 4 --dword 3" # up for one read only
    sim "devices none" && wait_told 3 "lost-$2"
    sim "devices both" && wait_told 4 "found-$2" && wait_polls 4
    check_eq "$2: exactly these balloons, in order" "$(module_string "$1" 37 | sed 's|%1|8128/864|'; told 2
        module_string "$1" 39; module_string "$1" 40)" "$(for i in 1 2 3 4 5; do told $i; done)"
    stop_program
    kill "$watcher" 2>/dev/null
}
alerts CplEng.dll english
PROGRAM_LOCALE=de_DE.UTF-8 alerts CplGermn.dll german

echo "the line diary through the PC's sleep: a resync after the wake is no drop, a longer outage is one"
DIARY=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Modavi
recorded() { tr -d '\r' <"$DIARY/history.csv" | sed '1d; s/^[^,]*,//' | grep -v '^rate,' | tr '\n' ' '; }
# The diary a night's sleep left: up from ten hours ago, asleep from eight
# hours to two hours ago, training for $1 s after the wake, up again until
# the program ended ten minutes ago.
seed_diary() {
    local now i
    now=$(date +%s)
    rm -rf "$DIARY" && mkdir -p "$DIARY"
    rec() { TZ=UTC printf '%(%Y-%m-%dT%H:%M:%S)T+00:00,%s\n' "$1" "$2"; }
    { echo time,event,downstream_kbps,upstream_kbps
        rec $((now - 36000)) start,, && rec $((now - 36000)) up,8128,864
        for ((i = 599; i > 480; i--)); do rec $((now - i * 60)) rate,8128,864; done
        rec $((now - 28800)) sleep,, && rec $((now - 7200)) wake,, && rec $((now - 7199)) down,,
        rec $((now - 7200 + $1)) up,8128,864
        for ((i = 119; i > 10; i--)); do rec $((now - i * 60)) rate,8128,864; done
        rec $((now - 600)) stop,,; } >"$DIARY/history.csv"
    SEEDED=$(recorded) SEEDED_LINES=$(wc -l <"$DIARY/history.csv")
}
suspend_and_wake() { # down for: the line up, the PC asleep, after the wake down for that many reads, then up
    tray=$(find_window --class "$CLASS" --title SysTrayWnd)
    # Sent: handled when the call returns. WM_POWERBROADCAST, PBT_APMSUSPEND, then PBT_APMRESUMEAUTOMATIC.
    wait_polls 3 && probe send "$tray" 0x218 4 >/dev/null && sim "set 4 --dword 3"
    probe send "$tray" 0x218 0x12 >/dev/null && wait_polls "$1" && sim "set 4 --dword 2" && wait_polls 3
}
history_page() { # module: opens the status window on its history page; sets DIALOG and HISTORY
    local tabs page
    probe command "$tray" 100
    DIALOG=$(find_window --class '#32770' --title "$(module_string "$1" 1)" --visible)
    tabs=$(probe children "$DIALOG" | awk '$3 == "SysTabControl32" {print $1}')
    probe key "$tabs" 0x27 && probe key "$tabs" 0x27 # made and read when shown, once the keys are handled
    eventually history_shown
}
history_shown() { # sets HISTORY: the page with the graph (1030)
    local page
    for page in $(probe children "$DIALOG" | awk '$3 == "#32770" {print $1}'); do
        probe text "$page" --id 1030 >/dev/null && HISTORY=$page && return 0
    done
    return 1
}
run="start,, up,8128,864 sleep,, wake,, down,, up,8128,864 stop,, "
sim reset "set 4 --dword 2" "set 0x0103 --dword 8128" "set 0x0107 --dword 864"
seed_diary 20
program_folder diary "ShowSysTrayIcon=1" "ClassicStyle=1" "KeepHistory=1" "NotifyLineChanges=1" "SupportedLanguages=english"
$MODAVI_WINE "$SIM/uiprobe.exe" watch --class tooltips_class32 --visible --timeout 900000 >"$BALLOONS" 2>/dev/null &
watcher=$!
TZ=Asia/Kolkata start_program icon # half an hour off a whole hour, five and a half from UTC
suspend_and_wake 20
history_page CplEng.dll
check_eq "down for 20 s after the wake: no drop on the history page" 0 "$(probe text "${HISTORY:-0}" --id 1038)"
check_eq "and the day all up time, the sleep left out" "100.0 %" "$(probe text "${HISTORY:-0}" --id 1036)"
screenshot "$DIALOG" history-sleep-english
probe command "$tray" 102 && check "exit from the menu ends the program" wait_program_exit
kill "$watcher" 2>/dev/null
check_eq "and no balloon" "" "$(told 1)"
check_eq "the diary: what was seen, with the sleep, the wake and the end" "$SEEDED$run" "$(recorded)"
check "each time local ISO 8601 with its offset" test -z "$(tr -d '\r' <"$DIARY/history.csv" | sed 1d |
    grep -Ev '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2},')"
check_eq "this run's times in India: offset +05:30" "+05:30" \
    "$(tr -d '\r' <"$DIARY/history.csv" | tail -n +$((SEEDED_LINES + 1)) | cut -c20-25 | sort -u | paste -sd' ')"

seed_diary 2
program_folder diary-ja "ShowSysTrayIcon=1" "ClassicStyle=1" "KeepHistory=1" "NotifyLineChanges=1" \
    "WakeGraceSeconds=3" "SupportedLanguages=english,japanese"
$MODAVI_WINE "$SIM/uiprobe.exe" watch --class tooltips_class32 --visible --timeout 900000 >"$BALLOONS" 2>/dev/null &
watcher=$!
PROGRAM_LOCALE=ja_JP.UTF-8 start_program icon
suspend_and_wake 8
wait_told 2 ja-up-after-wake
check "down past the grace after the wake: told, after the time it was up before the sleep" grep -qx \
    "$(module_string CplJapan.dll 38 | sed "s/%1/$(module_string CplJapan.dll 41 | sed 's/%1/[0-9][0-9]*/')/")" <<<"$(told 1)"
check_eq "and up again" "$(module_string CplJapan.dll 37 | sed 's|%1|8128/864|')" "$(told 2)"
history_page CplJapan.dll
check_eq "the history page counts the drop" 1 "$(probe text "${HISTORY:-0}" --id 1038)"
screenshot "$DIALOG" history-sleep-japanese
check_eq "asked whether the session may end: yes at once" 1 "$(probe send "$tray" 0x11 0 0)" # WM_QUERYENDSESSION
probe post "$tray" 0x16 1 0x80000000 # WM_ENDSESSION at log-off: Windows ends the program after it
recorded_last() { [[ $(recorded) == *"$1" ]]; }
eventually recorded_last 'stop,, '
wait_polls 2
check_eq "the session's end writes the stop at once, nothing after it" "$SEEDED$run(last: stop)" \
    "$(recorded)(last: $(tr -d '\r' <"$DIARY/history.csv" | tail -1 | cut -d, -f2))"
check "the program waits to be ended" program_running
stop_program
kill "$watcher" 2>/dev/null
rm -rf "$DIARY" && touch "$DIARY" # a file where the diary's folder would be
program_folder diary "ShowSysTrayIcon=1" "KeepHistory=1" "SupportedLanguages=english"
start_program icon
sim "set 4 --dword 3" && wait_polls 3 && sim "set 4 --dword 2" && wait_polls 3
check "a diary that cannot be written: the monitor runs on, no box" eval 'program_running && no_window --class "#32770"'
stop_program
rm -f "$DIARY"
program_folder diary-alone "ShowSysTrayIcon=0" "ClassicStyle=0" "KeepHistory=1" "SupportedLanguages=english"
start_program
wait_polls 3 && sim "set 4 --dword 3" && wait_polls 4 && sim "set 4 --dword 2" && wait_polls 3 && sim "devices none"
eventually recorded_last 'modem-lost,, '
probe close "$(find_window --class "$CLASS" --visible)" && check "closing the window ends the program" wait_program_exit
sim "devices both"
check_eq "without the tray icon the skinned window's reads keep the diary, to the window's close" \
    "start,, up,8128,864 down,, up,8128,864 modem-lost,, stop,, " "$(recorded)"
e2e_done
