#!/usr/bin/env bash
# The skinned window against the simulator, in English with the tray icon off
# and in Japanese with it on: opened, its rows read from the screen (a row's
# pixels against the same text drawn by the UI probe in the window's font and
# colour), its pages turned and the window closed by real clicks in English
# (the program ends) and by real keys in Japanese (Tab to each button, Right
# turns the page, Escape closes; the program goes on in the taskbar).
# Screenshots of both pages, training and up.
source "$(dirname "$0")/lib.sh"
SCRATCH=$BUILD/e2e/skin-scratch
mkdir -p "$SCRATCH"
# The installer's file in the prefix's Windows folder gives page 1's row 0.
VAVEVIDA=$WINEPREFIX/drive_c/windows/vavevida.ini
printf '[SystemInfo]\r\nPackageVersion=5.1.0.42\r\n' >"$VAVEVIDA"
trap 'rm -f "$VAVEVIDA"; prefix_stop; stop_display' EXIT

# Text drawn by the probe in the program's locale, where the system's face is
# the program's (only ASCII text arrives whole there).
drawtext() { env LC_ALL="$locale.UTF-8" $MODAVI_WINE "$SIM/uiprobe.exe" drawtext "$@" 2>/dev/null | tr -d '\r'; }
capture() { probe capture "$WND" "$(winpath "$1")"; }
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# Differing pixels between value row R (top: panel 53 + title bar 20 + L +
# 3RL/2 for the font's line height L; values from x 198, 161 wide) and TEXT
# drawn by the probe in white, the rows' colour here.
row_difference() { # row text
    local top=$((53 + 20 + LINE + (3 * $1 * LINE) / 2))
    capture "$SCRATCH/window.bmp" || { echo 99999; return; }
    convert "$SCRATCH/window.bmp" -crop "161x${LINE}+198+$top" +repage "$SCRATCH/row.bmp"
    drawtext "$(winpath "$SCRATCH/text.bmp")" 161 "$LINE" "$FONT_FACE" "$FONT_HEIGHT" 255,255,255 left "$2" >/dev/null
    compare -metric AE "$SCRATCH/row.bmp" "$SCRATCH/text.bmp" null: 2>&1 | awk '{print int($1)}'
}
expect_row() { expect "$1: pixels unlike \"$3\"" 0 row_difference "$2" "$3"; } # description row text

# A real click on button 0 (previous), 1 (next) or 3 (close).
BUTTON_CENTRE=("34 209" "63 209" "340 27" "360 27")
click_button() {
    local x y cx cy
    read -r x y _ <<<"$(probe rect "$WND")"
    read -r cx cy <<<"${BUTTON_CENTRE[$1]}"
    xdotool mousemove $((x + cx)) $((y + cy)) click 1
}

# The button whose focus mark (a line in the accent colour) shows: 0 to 3, or
# "none". BUTTON_BOX: left, top, side of each.
BUTTON_BOX=("25 200 18" "54 200 18" "332 19 17" "352 19 17")
focused_button() {
    local i x y side marked=none
    capture "$SCRATCH/focus.bmp" || { echo none; return; }
    for i in 0 1 2 3; do
        read -r x y side <<<"${BUTTON_BOX[$i]}"
        [ "$(convert "$SCRATCH/focus.bmp" -crop "${side}x${side}+$x+$y" +repage -fill black +opaque 'rgb(22,132,216)' \
            -fill white -opaque 'rgb(22,132,216)' -format '%[fx:int(mean*w*h)]' info:)" -gt 20 ] && marked=$i
    done
    echo $marked
}
expect_focus() { expect "$1" "$2" focused_button; } # description button

# The light (252, 210) while the line is held in training: captured until it
# shows another colour; then the line may come up.
light_changed() { capture "$SCRATCH/b.bmp" && [ "$(pixel "$SCRATCH/b.bmp" 252 210)" != "$1" ]; }
expect_blink() { # screenshot name
    local first
    capture "$SCRATCH/a.bmp" && first=$(pixel "$SCRATCH/a.bmp" 252 210)
    check "the light blinks while the line trains" eventually light_changed "$first"
    convert "$SCRATCH/a.bmp" "$SCREENSHOTS/$1.png"
    simctl unset 4 >/dev/null
}

COLOURS_DEFAULT="Hue=140 Sat=90 TitlebarHue=140 TitlebarSat=120 TitlebarTextRGB=255,255,255 LabelTextRGB=170,190,210"
COLOURS_WARM="Hue=18 Sat=150 TitlebarHue=12 TitlebarSat=190 TitlebarTextRGB=255,244,225 LabelTextRGB=235,190,140 UseHueAndSat=1"
for run in english:CplEng.dll:en_US:0:DEFAULT japanese:CplJapan.dll:ja_JP:1:WARM; do
    IFS=: read -r lang module locale tray colours <<<"$run"
    echo "$lang skinned window, tray icon $tray"
    colours=COLOURS_$colours
    # shellcheck disable=SC2086
    program_folder "skin-$lang" "ShowSysTrayIcon=$tray" "ClassicStyle=0" "SupportedLanguages=english,$lang" \
        ${!colours} "StatusTextRGB=255,255,255" "TransparentBitmap=1"
    # The skin's font: the system's face at height 14 in Japanese, else "MS Sans Serif" at 8.
    FONT_FACE="MS Sans Serif" FONT_HEIGHT=8
    [ "$lang" != japanese ] || FONT_FACE="" FONT_HEIGHT=14
    LINE=$(drawtext "$(winpath "$SCRATCH/probe.bmp")" 8 8 "$FONT_FACE" "$FONT_HEIGHT" 0,0,0 left x)
    title=$(module_string "$module" 1)
    simctl reset >/dev/null && simctl set 4 --dword 1 >/dev/null # training, until the blink is seen
    PROGRAM_LOCALE=$locale.UTF-8 start_program
    WND=$(find_window --class "$CLASS" --title "$title" --visible)
    check "a window of the program's class titled with $module's string 1 ($title)" test -n "$WND"
    [ -n "$WND" ] || { stop_program; continue; }
    expect_blink "skin-$lang-page0-training"
    expect_row "the line comes up: row 2 shows the simulator's downstream rate" 2 "8128 kbps"
    [ "$lang" != english ] || expect_row "row 0 its line state" 0 "$(label_of "$(module_string "$module" 12)" 2)"
    simctl count 0x0381 11500 >/dev/null # steady traffic both ways, for the bars
    simctl count 0x0301 1100 >/dev/null
    wait_polls 3
    screenshot "$WND" "skin-$lang-page0-up"

    click_button 1
    expect_row "a click on \"next\" shows page 1 (row 2: the program version)" 2 "$(cat "$ROOT/VERSION")"
    [ "$lang" != english ] || expect_row "page 1 row 0: the installer's package version" 0 "5.1.0.42"
    screenshot "$WND" "skin-$lang-page1-up"
    click_button 0
    expect_row "a click on \"previous\" shows page 0 again" 2 "8128 kbps"

    if [ "$tray" = 0 ]; then
        click_button 3
        check "a click on \"close\" closes the window" gone "$WND"
    else # the keyboard: Tab goes round the buttons from close, Right turns the page, Escape closes
        expect_focus "the focus mark is on \"close\"" 3
        for button in 0 1 2 3; do
            xdotool key Tab
            expect_focus "Tab moves the focus mark to button $button" $button
        done
        xdotool key Right
        expect_row "Right shows page 1" 2 "$(cat "$ROOT/VERSION")"
        xdotool key Escape
        check "Escape closes the window" gone "$WND"
    fi
    check_after_close "$tray" --class "$CLASS" --title "$title"
done

e2e_done
