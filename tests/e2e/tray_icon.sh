#!/usr/bin/env bash
# The notification-area icon of the running program against the simulated
# modem, in the virtual desktop's taskbar: its picture follows the line state
# and the traffic (training blinks, unreadable and recovered), a real right
# click opens the menu whose items work, a real double-click opens the status
# window, a second start opens the status window of the running one, and
# "Exit" ends the process and takes the icon away. Screenshots of the
# taskbar in each state and of the open menu.
source "$(dirname "$0")/lib.sh"
CLASS="KorvantisPelrix Control Panel"

# ---- the icon in the taskbar ----------------------------------------------------

# Wine's taskbar paints the first icon of its notification area in a 20-pixel
# slot at its right end, the 16 x 16 picture centred in it.
locate_icon() {
    TASKBAR=$(find_window --class Shell_TrayWnd --visible)
    local x y w h
    read -r x y w h <<<"$(probe rect "$TASKBAR")"
    ICON_X=$((x + w - 18))
    ICON_Y=$((y + (h - 16) / 2))
    # A spot of bare taskbar just left of the slot, for the background colour.
    BARE_X=$((x + w - 40))
}

# A fingerprint of the 16 x 16 pixels where the icon is.
icon_hash() { import -window root -crop "16x16+$ICON_X+$ICON_Y" +repage -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-12; }

# True when the slot holds more than the taskbar's background.
icon_shown() {
    local background
    background=$(import -window root -crop "1x1+$BARE_X+$((ICON_Y + 8))" +repage -depth 8 rgb:- 2>/dev/null | od -An -tx1 | tr -d ' \n')
    import -window root -crop "16x16+$ICON_X+$ICON_Y" +repage -depth 8 rgb:- 2>/dev/null | od -An -v -tx1 -w3 |
        tr -d ' ' | grep -qv "^$background$"
}

# Waits (bounded) for the icon to be shown (or, with "gone", to be gone).
wait_icon() { # shown|gone [seconds]
    local deadline=$((SECONDS + ${2:-15}))
    while [ $SECONDS -lt $deadline ]; do
        if [ "$1" = shown ]; then icon_shown && return 0; else icon_shown || return 0; fi
        sleep 0.2
    done
    return 1
}

# The picture once it holds still for 1.5 s (longer than one status read);
# empty when it does not settle within the bound.
settled_picture() { # [seconds]
    local deadline=$((SECONDS + ${1:-15})) last now since=$SECONDS
    last=$(icon_hash)
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.25
        now=$(icon_hash)
        if [ "$now" != "$last" ]; then last=$now; since=$SECONDS; continue; fi
        if [ $((SECONDS - since)) -ge 2 ]; then echo "$now"; return 0; fi
    done
    return 1
}

# The distinct pictures shown over a few seconds, one per line.
pictures_over() { # seconds
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -lt $deadline ]; do icon_hash; sleep 0.1; done | sort -u
}

# Saves the taskbar (and, with a size, the screen's lower-right corner) as NAME.
taskbar_shot() { screenshot "$TASKBAR" "$1"; }
corner_shot() { # name
    import -window root -crop 320x200+704+568 +repage "$SCREENSHOTS/$1.png" 2>/dev/null
}

# ---- the program's windows -----------------------------------------------------

# The open status window: the classic dialog or a window of the program's class
# titled with string 1 (polled, bounded).
status_window() { # [seconds]
    local deadline=$((SECONDS + ${1:-15})) found
    while :; do
        found=$(FIND_TIMEOUT=0 find_window --class '#32770' --title "$TITLE" --visible)
        [ -n "$found" ] || found=$(FIND_TIMEOUT=0 find_window --class "$CLASS" --title "$TITLE" --visible)
        if [ -n "$found" ] || [ $SECONDS -ge $deadline ]; then echo "$found"; return; fi
        sleep 0.2
    done
}

# Right-clicks the icon and waits for the pop-up menu; sets MENU_X/Y/W/H.
open_menu() {
    xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8)) click 3
    MENU=$(find_window --class '#32768' --visible)
    [ -n "$MENU" ] || return 1
    read -r MENU_X MENU_Y MENU_W MENU_H <<<"$(probe rect "$MENU")"
    # Onto the menu's top edge, so that the icon's tool-tip goes and no item is lit.
    xdotool mousemove $((MENU_X + MENU_W / 2)) $((MENU_Y + 1))
}

# Clicks a menu item: open (top), close (second) or exit (bottom). The items
# are three text rows and a separator above the last one.
click_menu() { # open|close|exit
    local y
    case $1 in
        open) y=$((MENU_Y + MENU_H / 8)) ;;
        close) y=$((MENU_Y + MENU_H * 3 / 8)) ;;
        exit) y=$((MENU_Y + MENU_H - MENU_H / 8)) ;;
    esac
    xdotool mousemove $((MENU_X + MENU_W / 2)) "$y" sleep 0.3 click 1
    probe gone "$MENU" --timeout 5000
}

away() { xdotool mousemove 300 300; }

# ---- the test ------------------------------------------------------------------

program_folder tray-icon "ShowSysTrayIcon=1" "ClassicStyle=1" "SupportedLanguages=english"
TITLE=$(probe string "$(winpath "$APP_DIR/CplEng.dll")" 1)
start_program icon
echo "the icon appears in the taskbar"
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
check "the hidden tray window exists" test -n "$tray"
locate_icon
check "the taskbar is there" test -n "$TASKBAR"
check "the icon is shown in the notification area" wait_icon shown
check "no status window with the argument icon" test -z "$(status_window 0)"
simctl reset >/dev/null
away

echo "training blinks"
simctl set 4 --dword 1 >/dev/null
mapfile -t blink < <(pictures_over 3)
check_eq "two pictures alternate while training" 2 "${#blink[@]}"
for phase in a b; do
    taskbar_shot "tray-training-$phase"
    sleep 0.5
done
simctl set 4 --dword 3 >/dev/null
down=$(settled_picture)
check "another state holds still" test -n "$down"
check "...on the picture that alternates with the training one" grep -qx "$down" <<<"$(printf '%s\n' "${blink[@]}")"
taskbar_shot tray-down

echo "line up: the picture follows the counters"
simctl set 4 --dword 2 >/dev/null
simctl set 0x0103 --dword 8128 >/dev/null
simctl set 0x0107 --dword 864 >/dev/null
declare -A up
for traffic in quiet down up both; do
    case $traffic in
        quiet) simctl set 0x0381 --dword 5 >/dev/null; simctl set 0x0301 --dword 5 >/dev/null ;;
        down) simctl count 0x0381 190 >/dev/null; simctl set 0x0301 --dword 5 >/dev/null ;;
        up) simctl set 0x0381 --dword 5 >/dev/null; simctl count 0x0301 20 >/dev/null ;;
        both) simctl count 0x0381 190 >/dev/null; simctl count 0x0301 20 >/dev/null ;;
    esac
    up[$traffic]=$(settled_picture)
    check "up, $traffic traffic: the picture holds still" test -n "${up[$traffic]}"
    taskbar_shot "tray-up-$traffic"
done
distinct=$(printf '%s\n' "${up[@]}" "$down" "${blink[@]}" | sort -u | wc -l)
check_eq "four traffic pictures, distinct from each other and from the others" 6 "$distinct"

echo "the device goes away and comes back"
simctl set 0x0381 --dword 5 >/dev/null
simctl set 0x0301 --dword 5 >/dev/null
simctl devices none >/dev/null
unreadable=$(settled_picture)
check "no device: a picture of its own" test -n "$unreadable"
check "...not one of the others" bash -c "! grep -qx '$unreadable' <<<'$(printf '%s\n' "${up[@]}" "$down" "${blink[@]}")'"
taskbar_shot tray-unreadable
simctl devices both >/dev/null
check_eq "device back: up again, quiet" "${up[quiet]}" "$(settled_picture)"
simctl set 4 --dword 11 >/dev/null
check_eq "a line state of 11 looks like no device" "$unreadable" "$(settled_picture)"

echo "the moving default model"
simctl reset >/dev/null
check "training first" grep -qxF "$(printf '%s\n' "${blink[@]}")" <<<"$(pictures_over 3)"
traffic_seen() {
    local deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ]; do
        grep -qxE "${up[down]}|${up[up]}|${up[both]}" <<<"$(icon_hash)" && return 0
        sleep 0.2
    done
    return 1
}
check "then traffic pictures as the model's counters move" traffic_seen
taskbar_shot tray-model

echo "the tool-tip"
xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8))
check "hovering shows the tool-tip" test -n "$(find_window --class tooltips_class32 --visible)"
sleep 0.5
corner_shot tray-tooltip
away

echo "the menu"
check "a right click opens the menu" open_menu
corner_shot tray-menu
click_menu open
status=$(status_window)
check "'open' opens the status window, titled with string 1 ($TITLE)" test -n "$status"
check "a right click opens the menu again" open_menu
corner_shot tray-menu-status-open
click_menu close
check "'close' closes the status window" probe gone "$status" --timeout 10000
away

echo "a double-click opens the status window"
xdotool mousemove $((ICON_X + 8)) $((ICON_Y + 8)) click --repeat 2 --delay 100 1
status=$(status_window)
check "the status window is open" test -n "$status"
probe close "$status"
probe gone "$status" --timeout 10000
check "closing it leaves the program running" program_running
away

echo "a second start opens the status window of the running one"
first=$PROGRAM_PID
start_program
check "the second process ends" wait_program_exit 20
PROGRAM_PID=$first
check "the running one opened its status window" test -n "$(status_window)"
check "the first process still runs" program_running

echo "'exit' ends the program"
# The virtual desktop (and its taskbar) ends with the last program that uses
# it: a waiting probe keeps it, so that the taskbar can be looked at after.
$MODAVI_WINE "$SIM/uiprobe.exe" find --class "no such window" --timeout 60000 >/dev/null 2>&1 &
keeper=$!
check "a right click opens the menu" open_menu
click_menu exit
check "the process ends" wait_program_exit 20
check "the same taskbar is still there" test "$TASKBAR" = "$(find_window --class Shell_TrayWnd --visible)"
check "the icon is gone from the taskbar" wait_icon gone 10
taskbar_shot tray-gone
kill "$keeper" 2>/dev/null
e2e_done
