#!/usr/bin/env bash
# The skinned window (ClassicStyle=0) against the simulated modem: its place,
# size and rounded corners; the rows of both pages read from the screen (each
# row's pixels compared with the same text drawn by the UI probe in the
# window's font and colour); real clicks on the four buttons; dragging by the
# face; Tab, Shift+Tab, Enter and Esc from the keyboard; the colour settings;
# screenshots of both pages with the line up, training and unreadable, in two
# colour settings and two languages; handle and GDI counts over an hour of
# polls driven fast.
source "$(dirname "$0")/lib.sh"
# The prefix's services start with the first program; they must not inherit
# a pipe that a later $(...) waits on.
$MODAVI_WINE "$SIM/adslsim.exe" status >/dev/null 2>&1
SKIN_CLASS="KorvantisPelrix Control Panel"
SCRATCH=$BUILD/e2e/skin-scratch
mkdir -p "$SCRATCH"

# ---- helpers ------------------------------------------------------------------

# The label of VALUE in an enumeration list "value,label,value,label...".
label_of() { # list value
    local list=$1 want=$2 value label
    while IFS=, read -r value label; do
        [ $((value)) -eq $((want)) ] && { echo "$label"; return; }
    done < <(tr ',' '\n' <<<"$list" | paste -d, - -)
}

# The installer's file in the prefix's Windows folder (page 1 row 0).
VAVEVIDA=$WINEPREFIX/drive_c/windows/vavevida.ini
write_vavevida() { printf '[SystemInfo]\r\nPackageVersion=%s\r\n' "$1" >"$VAVEVIDA"; }
trap 'rm -f "$VAVEVIDA"; prefix_stop; stop_display' EXIT

# Starts the program of APP_DIR and finds its skinned window: sets WND, TITLE.
open_skin() { # language-module
    TITLE=$(probe string "$(winpath "$APP_DIR/$1")" 1)
    start_program
    WND=$(find_window --class "$SKIN_CLASS" --title "$TITLE" --visible)
}

# The skin's font: "japanese" takes the system's face at height 14, the rest
# "MS Sans Serif" at 8. FONT_FACE, FONT_HEIGHT; LINE from the probe.
use_font() { # language-name
    if [ "$1" == japanese ]; then FONT_FACE=""; FONT_HEIGHT=14; else FONT_FACE="MS Sans Serif"; FONT_HEIGHT=8; fi
    LINE=$(probe drawtext "$(winpath "$SCRATCH/probe.bmp")" 8 8 "$FONT_FACE" "$FONT_HEIGHT" 0,0,0 left x)
}

# Top of row r: panel top 53 + title bar 20 + L + 3rL/2.
row_top() { echo $((53 + 20 + LINE + (3 * $1 * LINE) / 2)); }

# Window pixels as BMP.
capture() { probe capture "$WND" "$(winpath "$1")"; }

# Differing pixels between value row r of the window and TEXT drawn by the
# probe in the value column (198..359) in colour RGB.
row_difference() { # row text rgb
    local top width=161
    top=$(row_top "$1")
    capture "$SCRATCH/window.bmp" || { echo 99999; return; }
    convert "$SCRATCH/window.bmp" -crop "${width}x${LINE}+198+$top" +repage "$SCRATCH/row.bmp"
    probe drawtext "$(winpath "$SCRATCH/text.bmp")" "$width" "$LINE" "$FONT_FACE" "$FONT_HEIGHT" "$3" left "$2" >/dev/null
    compare -metric AE "$SCRATCH/row.bmp" "$SCRATCH/text.bmp" null: 2>&1 | awk '{print int($1)}'
}

# Polls (bounded) until value row r shows TEXT, then checks it.
expect_row() { # description row text [seconds]
    local diff deadline=$((SECONDS + ${4:-15}))
    while :; do
        diff=$(row_difference "$2" "$3" "$STATUS_RGB")
        [ "$diff" == 0 ] || [ $SECONDS -ge $deadline ] && break
        sleep 0.3
    done
    check_eq "$1" "0 pixels differ from \"$3\"" "$diff pixels differ from \"$3\""
}

# A pixel of a BMP as "r,g,b".
pixel() { # file x y
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# How many pixels of colour #RRGGBB lie in a rectangle of a BMP.
count_colour() { # file w h x y hex
    convert "$1" -crop "$2x$3+$4+$5" +repage -format %c histogram:info:- |
        awk -v c="#$6" 'toupper($3) == toupper(c) {n += $1} END {print n + 0}'
}

# Dots of the focus ring (164,164,164) on the outline of button i.
RING_X=(25 54 332 352)
RING_Y=(200 200 19 19)
RING_SIDE=(18 18 17 17)
ring_dots() { # capture-file button
    local x=${RING_X[$2]} y=${RING_Y[$2]} s=${RING_SIDE[$2]}
    echo $(( $(count_colour "$1" "$s" 1 "$x" "$y" A4A4A4) + $(count_colour "$1" "$s" 1 "$x" $((y + s - 1)) A4A4A4) +
             $(count_colour "$1" 1 "$s" "$x" "$y" A4A4A4) + $(count_colour "$1" 1 "$s" $((x + s - 1)) "$y" A4A4A4) ))
}
focused_button() { # which button shows the ring
    capture "$SCRATCH/focus.bmp"
    local i best=-1 most=0 n
    for i in 0 1 2 3; do
        n=$(ring_dots "$SCRATCH/focus.bmp" $i)
        [ "$n" -gt "$most" ] && { most=$n; best=$i; }
    done
    echo "$best"
}
expect_focus() { # description button
    local got deadline=$((SECONDS + 5))
    while :; do
        got=$(focused_button)
        [ "$got" == "$2" ] || [ $SECONDS -ge $deadline ] && break
        sleep 0.2
    done
    check_eq "$1" "$2" "$got"
}

# Screen position of the window.
window_xy() { probe rect "$WND" | awk '{print $1, $2}'; }

# A real click at a point of the window's client area.
click_at() { # x y
    local wx wy
    read -r wx wy <<<"$(window_xy)"
    xdotool mousemove $((wx + $1)) $((wy + $2)) click 1
}
BUTTON_CENTRE=("34 209" "63 209" "340 27" "360 27")
click_button() { click_at ${BUTTON_CENTRE[$1]}; }

# Keys from the keyboard, to the window that has the focus.
keys() { xdotool key --delay 120 "$@"; }

gone() { probe gone "$1" --timeout 10000 >/dev/null; }

# Waits (bounded) for page N: page 1's row 2 is the program version.
expect_page() { # description page
    if [ "$2" == 1 ]; then expect_row "$1" 2 "4.2.4" 5
    else expect_row "$1" 2 "$UP_DOWNSTREAM" 5; fi
}

# ---- English, default colours, tray icon off ------------------------------------------

echo "English skinned window against the simulator"
write_vavevida "5.1.0.42"
COLOURS_DEFAULT=("Hue=140" "Sat=90" "TitlebarHue=140" "TitlebarSat=120" "TitlebarTextRGB=255,255,255"
                 "LabelTextRGB=170,190,210" "StatusTextRGB=255,255,255" "UseHueAndSat=0" "TransparentBitmap=1")
STATUS_RGB=255,255,255
program_folder skin-en "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english" "${COLOURS_DEFAULT[@]}"
ENG=$(winpath "$APP_DIR/CplEng.dll")
STATES=$(probe string "$ENG" 12)
MODES=$(probe string "$ENG" 13)
UNAVAILABLE=$(probe string "$ENG" 5)
use_font english
simctl reset >/dev/null
open_skin CplEng.dll
check "a window of the program's class titled with string 1 ($TITLE) appears" test -n "$WND"
check_eq "it sits at (200, 200) with the background's size" "200 200 388 263" "$(probe rect "$WND")"
screenshot_desktop skin-desktop-english
DESKTOP=$SCREENSHOTS/skin-desktop-english.png
check_eq "its top-left corner is cut round: the desktop shows at (200, 200)" \
    "$(pixel "$DESKTOP" 190 190)" "$(pixel "$DESKTOP" 200 200)"
check_eq "and at the bottom-right corner" "$(pixel "$DESKTOP" 600 475)" "$(pixel "$DESKTOP" 587 462)"
check "while the window's face covers (215, 215)" test "$(pixel "$DESKTOP" 215 215)" != "$(pixel "$DESKTOP" 190 190)"

UP_DOWNSTREAM="8128 kbps"
expect_row "row 0 shows the line-up state of the simulator" 0 "$(label_of "$STATES" 2)" 25
expect_row "row 1 shows the line-up mode (0x0113)" 1 "$(label_of "$MODES" 5)"
expect_row "row 2 shows the rate of 0x0103 with \" kbps\"" 2 "8128 kbps"
expect_row "row 3 shows the rate of 0x0107 with \" kbps\"" 3 "864 kbps"
simctl set 0x0220 --dword 1 >/dev/null
simctl set 0x01F5 --dword 1 >/dev/null
expect_row "annex C with bitmap flag 1 adds \" (DBM)\"" 1 "$(label_of "$MODES" 5) (DBM)"
simctl unset 0x0220 >/dev/null
simctl unset 0x01F5 >/dev/null
expect_row "annex A adds nothing" 1 "$(label_of "$MODES" 5)"
simctl set 0x0004 --dword 3 >/dev/null
expect_row "line state 3 shows its name" 0 "$(label_of "$STATES" 3)"
expect_row "and \"0 kbps\" for both rates" 2 "0 kbps"
expect_row "and the mode of the idle line (0x0206)" 1 "$(label_of "$MODES" 0)"
simctl devices none >/dev/null
expect_row "without a modem row 0 shows string 5" 0 "$UNAVAILABLE"
simctl devices both >/dev/null
simctl unset 0x0004 >/dev/null
expect_row "the line is up again" 0 "$(label_of "$STATES" 2)"

# Page 1 through a real click on "next".
click_button 1
expect_page "a click on \"next\" shows page 1 (row 2: the program version)" 1
expect_row "page 1 row 0 shows vavevida.ini's PackageVersion" 0 "5.1.0.42"
expect_row "page 1 row 1 shows the driver's text of 0x0001" 1 "ADSLSIM 2.1.7 (simulated driver)"
expect_row "page 1 row 3 shows the text of 0x01E4" 3 "ADSLSIM firmware 3.40.12 (simulated)"
click_button 1
sleep 1.2
expect_page "a second click on \"next\" (disabled on page 1) leaves page 1" 1
click_button 0
expect_page "a click on \"previous\" shows page 0 again" 0

# Dragging by the face.
read -r wx wy <<<"$(window_xy)"
xdotool mousemove $((wx + 300)) $((wy + 250)) mousedown 1
sleep 0.3
xdotool mousemove $((wx + 320)) $((wy + 260))
sleep 0.2
xdotool mousemove $((wx + 360)) $((wy + 290))
sleep 0.3
xdotool mouseup 1
sleep 0.5
check_eq "dragging the face by (60, 40) moves the window as far" "$((wx + 60)) $((wy + 40))" "$(window_xy)"

# The close button's tool-tip under the resting pointer.
click_at 200 250
read -r tx ty <<<"$(window_xy)"
xdotool mousemove $((tx + 358)) $((ty + 26))
sleep 0.2
xdotool mousemove $((tx + 360)) $((ty + 27))
TIP=$(FIND_TIMEOUT=5000 find_window --class tooltips_class32 --visible)
check_eq "resting on \"close\" shows its tool-tip, string 17" "$(probe string "$ENG" 17)" \
    "$( [ -n "$TIP" ] && probe text "$TIP")"
xdotool mousemove $((tx + 200)) $((ty + 250))

# Minimise and restore, then close with a click.
click_button 2
sleep 0.5
minimised=$(probe rect "$WND")
check "a click on \"minimise\" minimises the window ($minimised)" \
    test "$(awk '{print ($1 < -1000 || $3 < 100) ? "iconic" : "open"}' <<<"$minimised")" == iconic
probe post "$WND" 0x0112 0xF120 0 # SC_RESTORE
sleep 0.8
check_eq "restored where it was" "$((wx + 60)) $((wy + 40)) 388 263" "$(probe rect "$WND")"
expect_row "and painted whole again" 0 "$(label_of "$STATES" 2)"
click_button 3
check "a click on \"close\" destroys the window" gone "$WND"
check "with the tray icon off the program ends" wait_program_exit 20

# ---- errors from the constructor -----------------------------------------------------

# The probe prints a box's text with backslashes doubled.
missing_logo_text() { local path; path="$(winpath "$APP_DIR")\\LogoSkin.bmp"; echo "Can't open bitmap ${path//\\/\\\\}"; }

echo "a missing LogoSkin.bmp"
program_folder skin-nologo "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english"
rm -f "$APP_DIR/LogoSkin.bmp"
start_program
check_eq "at start-up the error box names the full path" "$(missing_logo_text)" "$(msgbox_text Error)"
check "no skinned window was made" test -z "$(FIND_TIMEOUT=0 find_window --class "$SKIN_CLASS" --title "$TITLE")"
probe close "$(find_window --class '#32770' --title Error)"
check "the program ends after the box" wait_program_exit 20

program_folder skin-nologo-tray "ShowSysTrayIcon=1" "ClassicStyle=0" "SupportedLanguages=english"
rm -f "$APP_DIR/LogoSkin.bmp"
start_program icon
TRAY=$(find_window --class "$SKIN_CLASS" --title SysTrayWnd)
probe command "$TRAY" 100
check_eq "later, asked from the tray, the error is shown in the box" "$(missing_logo_text)" "$(msgbox_text Error)"
probe close "$(find_window --class '#32770' --title Error)"
sleep 1
check "and the program goes on" program_running
probe command "$TRAY" 102
check "until it is told to exit" wait_program_exit 20

# ---- keys ------------------------------------------------------------------------------

echo "keys"
program_folder skin-keys "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english" "${COLOURS_DEFAULT[@]}"
start_program
WND=$(find_window --class "$SKIN_CLASS" --title "$TITLE" --visible)
keys Return
check "Enter right after start closes the window (the ring is on \"close\")" gone "$WND"
wait_program_exit 20

start_program
WND=$(find_window --class "$SKIN_CLASS" --title "$TITLE" --visible)
click_at 200 250 # the keyboard focus to the window
expect_focus "the focus ring starts on \"close\"" 3
keys Tab
expect_focus "Tab moves it to \"previous\" (wrapping)" 0
keys shift+Tab
expect_focus "Shift+Tab moves it back to \"close\"" 3
keys shift+Tab
expect_focus "Shift+Tab again to \"minimise\"" 2
keys Tab Tab Tab
expect_focus "Tab three times to \"next\"" 1
keys Return
expect_page "Enter on \"next\" shows page 1" 1
keys shift+Tab
expect_focus "Shift+Tab to \"previous\"" 0
keys space
expect_page "Space on \"previous\" shows page 0" 0
keys Escape
check "Esc closes the window" gone "$WND"
check "and the program ends" wait_program_exit 20

# ---- colour settings ---------------------------------------------------------------------

echo "colour settings"
shoot_settings() { # name settings...
    local name=$1; shift
    program_folder "skin-$name" "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english" "$@"
    start_program
    WND=$(find_window --class "$SKIN_CLASS" --title "$TITLE" --visible)
    sleep 1.5
    capture "$SCRATCH/$name.bmp"
    probe close "$WND"
    wait_program_exit 20
}
shoot_settings grey "Hue=140" "Sat=0" "TitlebarHue=140" "TitlebarSat=0" "TitlebarTextRGB=0,255,0" \
    "LabelTextRGB=255,0,255" "StatusTextRGB=255,255,0"
shoot_settings coloured "Hue=20" "Sat=200" "TitlebarHue=170" "TitlebarSat=220" "TitlebarTextRGB=255,255,0" \
    "LabelTextRGB=0,255,255" "StatusTextRGB=255,0,255"
shoot_settings titlebar-only "Hue=140" "Sat=0" "TitlebarHue=170" "TitlebarSat=220" "TitlebarTextRGB=1,2"
grey_pixel() { local r g b; IFS=, read -r r g b <<<"$(pixel "$1" "$2" "$3")"; [ "$r" == "$g" ] && [ "$g" == "$b" ]; }
coloured_pixel() { ! grey_pixel "$@"; }
# Background at (10, 120); title bar at (355, 55), right of the page indicator.
check "Sat=0 leaves the background grey" grey_pixel "$SCRATCH/grey.bmp" 10 120
check "Hue=20 Sat=200 colours it" coloured_pixel "$SCRATCH/coloured.bmp" 10 120
check "TitlebarSat=0 leaves the title bar grey" grey_pixel "$SCRATCH/grey.bmp" 355 55
check "TitlebarHue/TitlebarSat colour the title bar" coloured_pixel "$SCRATCH/titlebar-only.bmp" 355 55
check "and leave the background as Hue/Sat made it" test "$(pixel "$SCRATCH/titlebar-only.bmp" 10 120)" == \
    "$(pixel "$SCRATCH/grey.bmp" 10 120)"
check "TitlebarTextRGB colours the title" test "$(count_colour "$SCRATCH/grey.bmp" 321 20 32 53 00FF00)" -gt 0
check "LabelTextRGB colours the labels" test "$(count_colour "$SCRATCH/grey.bmp" 161 100 27 86 FF00FF)" -gt 0
check "StatusTextRGB colours the values" test "$(count_colour "$SCRATCH/grey.bmp" 161 100 198 86 FFFF00)" -gt 0
check "the other setting uses the other colours" test "$(count_colour "$SCRATCH/coloured.bmp" 161 100 198 86 FF00FF)" -gt 0 \
    -a "$(count_colour "$SCRATCH/coloured.bmp" 161 100 198 86 FFFF00)" -eq 0
check "a colour with two numbers draws the title in black" \
    test "$(count_colour "$SCRATCH/titlebar-only.bmp" 321 20 32 53 000000)" -gt 0

# ---- screenshots: two languages, two colour settings, three line states, both pages ------

COLOURS_WARM=("Hue=18" "Sat=150" "TitlebarHue=12" "TitlebarSat=190" "TitlebarTextRGB=255,244,225"
              "LabelTextRGB=235,190,140" "StatusTextRGB=255,255,255" "UseHueAndSat=1" "TransparentBitmap=1")
# Two captures of the window with the light in its two blink phases: the
# second is taken as soon as the light shows another colour than in the first.
capture_blink() { # name-a name-b
    local first deadline=$((SECONDS + 5))
    capture "$SCRATCH/blink-a.bmp"
    first=$(pixel "$SCRATCH/blink-a.bmp" 252 210)
    while :; do
        capture "$SCRATCH/blink-b.bmp"
        [ "$(pixel "$SCRATCH/blink-b.bmp" 252 210)" != "$first" ] || [ $SECONDS -ge $deadline ] && break
        sleep 0.1
    done
    check "the light blinks while the line trains" test "$(pixel "$SCRATCH/blink-b.bmp" 252 210)" != "$first"
    convert "$SCRATCH/blink-a.bmp" "$SCREENSHOTS/$1.png"
    convert "$SCRATCH/blink-b.bmp" "$SCREENSHOTS/$2.png"
}
shoot_states() { # name
    local page
    simctl reset >/dev/null
    sleep 7.5 # the model trains for seven seconds, then the line is up
    # Steady traffic both ways (cells per poll) so that the bars show it.
    simctl count 0x0381 11500 >/dev/null
    simctl count 0x0301 1100 >/dev/null
    for page in 0 1; do
        sleep 2.2
        screenshot "$WND" "skin-$1-page$page-up"
        probe command "$WND" 104
    done
    probe command "$WND" 103
    simctl reset >/dev/null # training again: the light blinks
    sleep 1.5
    capture_blink "skin-$1-page0-training-a" "skin-$1-page0-training-b"
    probe command "$WND" 104
    sleep 1.1
    screenshot "$WND" "skin-$1-page1-training"
    simctl devices none >/dev/null
    sleep 1.2
    screenshot "$WND" "skin-$1-page1-unreadable"
    probe command "$WND" 103
    sleep 1.2
    screenshot "$WND" "skin-$1-page0-unreadable"
    simctl devices both >/dev/null
}
for language in english japanese; do
    for scheme in default warm; do
        echo "screenshots: $language, $scheme colours"
        if [ $scheme == default ]; then colours=("${COLOURS_DEFAULT[@]}"); else colours=("${COLOURS_WARM[@]}"); fi
        program_folder "skin-$language-$scheme" "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=$language" \
            "${colours[@]}"
        module=CplEng.dll locale=en_US.UTF-8
        [ $language == japanese ] && module=CplJapan.dll locale=ja_JP.UTF-8
        PROGRAM_LOCALE=$locale open_skin "$module"
        check "the $language window opens" test -n "$WND"
        [ -n "$WND" ] && shoot_states "$language-$scheme"
        probe close "$WND"
        wait_program_exit 20
    done
done

# ---- an hour of polls, fast: handles and GDI objects stay flat -------------------------------

echo "handles and GDI objects over an hour of polls"
STATUS_RGB=255,255,255
program_folder skin-soak "ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english" "${COLOURS_DEFAULT[@]}"
simctl reset >/dev/null
open_skin CplEng.dll
PID=$(probe list | awk -v h="$WND" '$1 == h {print $2}')
figures() { probe process "$PID" | awk '$1 == "handles" {h = $2} $1 == "gdi" {g = $2} END {print h, g}'; }
# Each posted WM_TIMER 1 is one poll against the simulator (the line, rates
# and counters move); each poll asks for the line state once, so the
# simulator's request count tells when the posted polls are done.
polls_done() { simctl stats | awk '$1 == "cmd" && $2 == "0x0004" {n = $3} END {print n + 0}'; }
run_polls() { # count
    local deadline=$((SECONDS + 120))
    simctl stats --clear >/dev/null
    probe post "$WND" 0x0113 1 0 --repeat "$1"
    while [ "$(polls_done)" -lt "$1" ] && [ $SECONDS -lt $deadline ]; do sleep 0.3; done
    probe command "$WND" 104
    probe command "$WND" 103
    probe key "$WND" 9
}
run_polls 60
read -r handles1 gdi1 <<<"$(figures)"
for round in $(seq 1 10); do run_polls 360; done
sleep 1
read -r handles2 gdi2 <<<"$(figures)"
echo "  after the first minute: handles $handles1, GDI objects $gdi1; after an hour: handles $handles2, GDI objects $gdi2"
check_eq "the handle count stays flat" "$handles1" "$handles2"
check_eq "the live GDI object count stays flat" "$gdi1" "$gdi2"
check "the window is still there" test -n "$(FIND_TIMEOUT=0 find_window --class "$SKIN_CLASS" --title "$TITLE")"
probe close "$WND"
wait_program_exit 20

e2e_done
