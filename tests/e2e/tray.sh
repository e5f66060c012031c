#!/usr/bin/env bash
# The notification-area icon in the virtual desktop's taskbar: its picture
# follows the simulated line (training blinks; down, up with each kind of
# traffic and unreadable each look their own), a real right click opens the
# menu whose items open and close the status window and end the program, a
# real double-click opens the window, and the icon goes with the program.
# Screenshots of the taskbar in each state, of the tool-tip and of the menu.
source "$(dirname "$0")/lib.sh"

# Wine's taskbar paints the first notification icon in a 20-pixel slot at its
# right end, the 16 x 16 picture centred in it.
locate_icon() {
    TASKBAR=$(find_window --class Shell_TrayWnd --visible)
    read -r x y w h <<<"$(probe rect "$TASKBAR")"
    ICON_X=$((x + w - 18)) ICON_Y=$((y + (h - 16) / 2)) BARE_X=$((x + w - 40)) # bare taskbar left of the slot
}
grab() { import -window root -crop "$1" +repage -depth 8 rgb:- 2>/dev/null; } # WxH+X+Y
icon_hash() { grab "16x16+$ICON_X+$ICON_Y" | md5sum | cut -c1-12; }
icon_shown() { [ "$(icon_hash)" != "$(grab "16x16+$BARE_X+$ICON_Y" | md5sum | cut -c1-12)" ]; } # unlike bare taskbar
wait_icon() { # shown|gone (polled, bounded)
    local i
    for ((i = 0; i < 75; i++)); do [ "$(icon_shown && echo shown || echo gone)" == "$1" ] && return 0; sleep 0.2; done
    return 1
}
# The picture after three status reads from now: the second settles it, and
# by the third the taskbar has painted it.
picture() { wait_polls 3 && icon_hash; }
# The distinct pictures shown over three status reads from now.
pictures() {
    local deadline=$((SECONDS + 30))
    simctl stats --clear >/dev/null
    while [ "$(polls)" -lt 3 ] && [ $SECONDS -lt $deadline ]; do icon_hash; sleep 0.1; icon_hash; done | sort -u
}
corner_shot() { import -window root -crop 320x200+704+568 +repage "$SCREENSHOTS/$1.png" 2>/dev/null; }
away() { xdotool mousemove 300 300; }

open_menu() { # a real right click on the icon; sets MENU and its rectangle
    xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8)) click 3
    MENU=$(find_window --class '#32768' --visible)
    [ -n "$MENU" ] || return 1
    read -r MENU_X MENU_Y MENU_W MENU_H <<<"$(probe rect "$MENU")"
    xdotool mousemove $((MENU_X + MENU_W / 2)) $((MENU_Y + 1)) # off the icon: its tool-tip goes
}
click_menu() { # 1 open, 3 close, 7 exit: eighths of the menu's height (a separator above "exit")
    xdotool mousemove $((MENU_X + MENU_W / 2)) $((MENU_Y + MENU_H * $1 / 8)) click 1
    probe gone "$MENU" --timeout 5000 >/dev/null
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
$MODAVI_WINE "$SIM/uiprobe.exe" find --class "no such window" --timeout 60000 >/dev/null 2>&1 &
keeper=$!
check "a right click opens the menu" open_menu
click_menu 7
check "the process ends" wait_program_exit
check "the same taskbar is still there" test "$TASKBAR" == "$(find_window --class Shell_TrayWnd --visible)"
check "the icon is gone from the taskbar" wait_icon gone
screenshot "$TASKBAR" tray-gone
kill "$keeper" 2>/dev/null
e2e_done
