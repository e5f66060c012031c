#!/usr/bin/env bash
# The classic dialog (ClassicStyle=1) against the simulated modem: title,
# the status page's texts as the line comes up, changes mode and goes down,
# the version page, switching tabs, the close button with and without the
# tray icon, and a refused logo. Screenshots of both pages, line up and
# down, in English and in Russian.
source "$(dirname "$0")/lib.sh"
TRAY_CLASS="KorvantisPelrix Control Panel"

# ---- helpers ------------------------------------------------------------------

# The label of VALUE in an enumeration list "value,label,value,label...".
label_of() { # list value
    local list=$1 want=$2 value label
    while IFS=, read -r value label; do
        [ $((value)) -eq $((want)) ] && { echo "$label"; return; }
    done < <(tr ',' '\n' <<<"$list" | paste -d, - -)
}

# Polls a control's text until it reads as expected (bounded), then checks it.
expect_text() { # description hwnd id expected [seconds]
    local got deadline=$((SECONDS + ${5:-15}))
    if [ -z "$2" ]; then check "$1 (no window to read)" false; return; fi
    while :; do
        got=$(probe text "$2" --id "$3")
        [ "$got" == "$4" ] || [ $SECONDS -ge $deadline ] && break
        sleep 0.2
    done
    check_eq "$1" "$4" "$got"
}

# Fields of the child window with the given id or class from `probe children`.
child_with_class() { probe children "$1" | awk -v c="$2" '$3 == c {print $1}'; }
child_with_id() { probe children "$1" | awk -v id="$2" '$2 == id {print $1; exit}'; }
child_visible() { probe children "$1" | awk -v h="$2" '$1 == h {print $NF}'; }

# Finds the dialog titled with string 1 of MODULE and its two pages; sets DLG,
# TITLE, TABS, STATUS_PAGE, VERSION_PAGE.
find_dialog() { # module
    TITLE=$(probe string "$(winpath "$APP_DIR/$1")" 1)
    DLG=$(find_window --class '#32770' --title "$TITLE" --visible)
    STATUS_PAGE=
    VERSION_PAGE=
    TABS=
    [ -n "$DLG" ] || return 1
    TABS=$(child_with_class "$DLG" SysTabControl32)
    local page
    for page in $(child_with_class "$DLG" '#32770'); do
        # The version page is the one with the program-version caption 1024.
        if probe text "$page" --id 1024 >/dev/null; then VERSION_PAGE=$page; else STATUS_PAGE=$page; fi
    done
}

# Waits (bounded) until a window is gone; fails for no window at all.
gone() { [ -n "$1" ] && probe gone "$1" --timeout 10000; }

# Still running a moment later.
still_running() { sleep 2; program_running; }

# Chooses a tab the way a user's arrow key does.
next_tab() { probe key "$TABS" 0x27; }

# A real click in the middle of a window.
click_window() { # hwnd
    local x y w h
    read -r x y w h <<<"$(probe rect "$1")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Waits (bounded) until the line is up again after a reset of the simulator.
wait_line_up() { # up-label
    expect_text "${2:-line comes up}" "$STATUS_PAGE" 1001 "$1" 25
}

# ---- English, tray icon off -------------------------------------------------------

echo "English classic dialog, tray icon off"
program_folder classic-en "ShowSysTrayIcon=0" "ClassicStyle=1" "SupportedLanguages=english" "TransparentBitmap=0"
ENG=$(winpath "$APP_DIR/CplEng.dll")
STATES=$(probe string "$ENG" 12)
MODES=$(probe string "$ENG" 13)
UNAVAILABLE=$(probe string "$ENG" 5)
UNKNOWN=$(probe string "$ENG" 6)
start_program
find_dialog CplEng.dll
check "the dialog is titled with string 1 ($TITLE)" test -n "$DLG"
check "it holds a tab control and both pages" test -n "$TABS" -a -n "$STATUS_PAGE" -a -n "$VERSION_PAGE"
simctl reset >/dev/null

wait_line_up "$(label_of "$STATES" 2)" "1001 shows the line-up state of the simulator"
expect_text "1002 shows the line-up mode (0x0113)" "$STATUS_PAGE" 1002 "$(label_of "$MODES" 5)"
expect_text "1006 shows the rate of 0x0107" "$STATUS_PAGE" 1006 "864"
expect_text "1007 shows the rate of 0x0103" "$STATUS_PAGE" 1007 "8128"
check_eq "the status page is shown first" "1 0" "$(child_visible "$DLG" "$STATUS_PAGE") $(child_visible "$DLG" "$VERSION_PAGE")"
sleep 2.5 # a few ticks of traffic on the meter
screenshot "$DLG" classic-status-up-english

simctl set 0x0220 --dword 1 >/dev/null
simctl set 0x01F5 --dword 1 >/dev/null
expect_text "annex C with bitmap flag 1 adds \" (DBM)\"" "$STATUS_PAGE" 1002 "$(label_of "$MODES" 5) (DBM)"
simctl set 0x01F5 --dword 0 >/dev/null
expect_text "annex C with bitmap flag 0 adds \" (FBM)\"" "$STATUS_PAGE" 1002 "$(label_of "$MODES" 5) (FBM)"
simctl unset 0x0220 >/dev/null
simctl unset 0x01F5 >/dev/null
expect_text "annex A adds nothing" "$STATUS_PAGE" 1002 "$(label_of "$MODES" 5)"

simctl set 0x0004 --dword 3 >/dev/null
expect_text "1001 shows line state 3" "$STATUS_PAGE" 1001 "$(label_of "$STATES" 3)"
expect_text "1002 shows the idle mode (0x0206)" "$STATUS_PAGE" 1002 "$(label_of "$MODES" 0)"
expect_text "1006 is empty while the line is not up" "$STATUS_PAGE" 1006 ""
expect_text "1007 is empty while the line is not up" "$STATUS_PAGE" 1007 ""
screenshot "$DLG" classic-status-down-english

simctl devices none >/dev/null
expect_text "without a modem 1001 shows string 5" "$STATUS_PAGE" 1001 "$UNAVAILABLE"
expect_text "and 1002 too" "$STATUS_PAGE" 1002 "$UNAVAILABLE"
simctl devices both >/dev/null
simctl unset 0x0004 >/dev/null

next_tab
check_eq "the second tab shows the version page and hides the status page" "0 1" \
    "$(child_visible "$DLG" "$STATUS_PAGE") $(child_visible "$DLG" "$VERSION_PAGE")"
expect_text "1003 shows the program version" "$VERSION_PAGE" 1003 "4.2.4"
expect_text "1005 shows the driver's text of 0x0001" "$VERSION_PAGE" 1005 "ADSLSIM 2.1.7 (simulated driver)"
screenshot "$DLG" classic-version-up-english
simctl fail 0x0001 >/dev/null
simctl set 0x0004 --dword 0 >/dev/null
expect_text "a refused 0x0001 shows string 6" "$VERSION_PAGE" 1005 "$UNKNOWN"
screenshot "$DLG" classic-version-down-english
simctl unset 0x0001 >/dev/null
simctl unset 0x0004 >/dev/null

probe key "$TABS" 0x25
check_eq "the first tab shows the status page again" "1 0" \
    "$(child_visible "$DLG" "$STATUS_PAGE") $(child_visible "$DLG" "$VERSION_PAGE")"

click_window "$(child_with_id "$DLG" 1014)"
check "the close button destroys the dialog" gone "$DLG"
check "with the tray icon off the program ends" wait_program_exit 20

# ---- tray icon on -----------------------------------------------------------------

echo "classic dialog with the tray icon on"
program_folder classic-tray "ShowSysTrayIcon=1" "ClassicStyle=1" "SupportedLanguages=english" "TransparentBitmap=1"
start_program
find_dialog CplEng.dll
check "the dialog is open" test -n "$DLG"
TRAY=$(find_window --class "$TRAY_CLASS" --title SysTrayWnd)
click_window "$(child_with_id "$DLG" 1014)"
check "the close button destroys the dialog" gone "$DLG"
check "the program keeps running with its tray icon" still_running
probe command "$TRAY" 100
find_dialog CplEng.dll
check "asking for the status window again builds a new dialog" test -n "$DLG"
probe close "$DLG"
check "WM_CLOSE destroys it as well" gone "$DLG"
probe command "$TRAY" 102
check "exit from the tray menu ends the program" wait_program_exit 20

# ---- refused logos ------------------------------------------------------------------

for tray in 0 1; do
    echo "missing LogoClas.bmp, tray icon $tray"
    program_folder classic-nologo "ShowSysTrayIcon=$tray" "ClassicStyle=1" "SupportedLanguages=english"
    rm -f "$APP_DIR/LogoClas.bmp"
    start_program
    # The probe prints a backslash as two.
    logo_path=$(winpath "$APP_DIR/LogoClas.bmp")
    check_eq "the error box names the full path" "Can't open bitmap ${logo_path//\\/\\\\}" "$(msgbox_text Error)"
    box=$(find_window --class '#32770' --title Error)
    [ $tray -eq 0 ] && screenshot "$box" classic-missing-logo-box
    check "no dialog was made" test -z "$(FIND_TIMEOUT=0 find_window --class '#32770' --title "$(probe string "$(winpath "$APP_DIR/CplEng.dll")" 1)")"
    probe close "$box"
    if [ $tray -eq 0 ]; then
        check "without the tray icon the program ends after the box" wait_program_exit 20
    else
        check "with the tray icon the program goes on" still_running
        check "its tray window is there" test -n "$(find_window --class "$TRAY_CLASS" --title SysTrayWnd)"
        stop_program
    fi
done

echo "LogoClas.bmp in 16-bit colour"
program_folder classic-logo16 "ShowSysTrayIcon=0" "ClassicStyle=1" "SupportedLanguages=english"
convert "$DIST/LogoClas.bmp" -type TrueColor -define bmp:subtype=RGB565 "BMP3:$APP_DIR/LogoClas.bmp"
check_eq "the logo really is 16-bit" 16 "$(od -An -tu2 -j28 -N2 "$APP_DIR/LogoClas.bmp" | tr -d ' ')"
start_program
check_eq "the error box says the depth is unsupported" "Bitmap depth is unsupported" "$(msgbox_text Error)"
check "no dialog was made" test -z "$(FIND_TIMEOUT=0 find_window --class '#32770' --title "$(probe string "$(winpath "$APP_DIR/CplEng.dll")" 1)")"
probe close "$(find_window --class '#32770' --title Error)"
check "the program ends after the box" wait_program_exit 20

# ---- Russian ---------------------------------------------------------------------------

echo "Russian classic dialog"
program_folder classic-ru "ShowSysTrayIcon=0" "ClassicStyle=1" "SupportedLanguages=russian" "TransparentBitmap=0"
RUS=$(winpath "$APP_DIR/CplRussian.dll")
STATES=$(probe string "$RUS" 12)
MODES=$(probe string "$RUS" 13)
PROGRAM_LOCALE=ru_RU.UTF-8 start_program
find_dialog CplRussian.dll
check "the dialog is titled with CplRussian.dll's string 1 ($TITLE)" test -n "$DLG"
simctl reset >/dev/null
wait_line_up "$(label_of "$STATES" 2)" "1001 shows the Russian line-up state"
expect_text "1002 shows the Russian mode" "$STATUS_PAGE" 1002 "$(label_of "$MODES" 5)"
sleep 2.5
screenshot "$DLG" classic-status-up-russian
simctl set 0x0004 --dword 3 >/dev/null
expect_text "1001 shows the Russian state 3" "$STATUS_PAGE" 1001 "$(label_of "$STATES" 3)"
screenshot "$DLG" classic-status-down-russian
next_tab
expect_text "the version page shows the driver's text" "$VERSION_PAGE" 1005 "ADSLSIM 2.1.7 (simulated driver)"
screenshot "$DLG" classic-version-down-russian
simctl unset 0x0004 >/dev/null
expect_text "the line comes up again" "$STATUS_PAGE" 1001 "$(label_of "$STATES" 2)"
screenshot "$DLG" classic-version-up-russian
probe close "$DLG"
check "closing ends the program" wait_program_exit 20

e2e_done
