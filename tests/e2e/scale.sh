#!/usr/bin/env bash
# Both status windows and the taskbar at 125, 150 and 200 % display scale,
# in English, Japanese and Russian: the skinned window is the window of
# 100 % scaled as a whole (its size, a row of text against the same text
# drawn by the UI probe in the scaled font at the scaled place, a segment of
# a bar), the classic dialog grows with its font, and the tray icon is the
# image of the taskbar's icon size drawn one to one. Screenshots of each.
source "$(dirname "$0")/lib.sh"
SCRATCH=$BUILD/e2e/scale-scratch
mkdir -p "$SCRATCH"
trap 'use_scale 96; prefix_stop; stop_display' EXIT

scaled() { echo $((($1 * DPI + 48) / 96)); } # a length of 100 % at DPI, rounded as the program rounds
capture() { probe capture "$1" "$(winpath "$2")"; }
drawtext() { env LC_ALL="$LOCALE.UTF-8" $MODAVI_WINE "$SIM/uiprobe.exe" drawtext "$@" 2>/dev/null | tr -d '\r'; }
window_size() { probe rect "$1" | awk '{print $3, $4}'; }
within() { awk -v a="$1" -v b="$2" -v d="$3" 'BEGIN {exit !(a - b <= d && b - a <= d)}'; } # |a - b| <= d

# Value row 2 of the skinned window against "8128 kbps" drawn by the probe in
# the window's font at DPI, where the window puts that row: differing pixels.
row_difference() {
    local face="MS Sans Serif" base=8 height line own left width top
    [ "$LANG_NAME" != japanese ] || face="" base=14
    height=$(scaled $base)
    # Rows lie as far apart as at 100 % scaled, and never closer than the font is high.
    line=$(scaled "$(drawtext "$(winpath "$SCRATCH/probe.bmp")" 8 8 "$face" $base 0,0,0 left x)")
    own=$(drawtext "$(winpath "$SCRATCH/probe.bmp")" 8 8 "$face" "$height" 0,0,0 left x)
    [ "$own" -le "$line" ] || line=$own
    left=$(($(scaled 193) + $(scaled 5)))
    width=$(($(scaled 359) - left))
    top=$(($(scaled 53) + $(scaled 20) + line + 3 * line))
    capture "$WND" "$SCRATCH/window.bmp" || return
    convert "$SCRATCH/window.bmp" -crop "${width}x${line}+${left}+${top}" +repage "$SCRATCH/row.bmp"
    drawtext "$(winpath "$SCRATCH/text.bmp")" "$width" "$line" "$face" "$height" 255,255,255 left "8128 kbps" >/dev/null
    compare -metric AE "$SCRATCH/row.bmp" "$SCRATCH/text.bmp" null: 2>&1 | awk '{print int($1) " pixels differ"}'
}

# The colours at the middle of the upper bar's segments 3 and 4, lit or not:
# green and yellow where the segments lie. (How many are lit depends on how
# the tray's reads of the counters fall between the window's.)
upper_segments() {
    local i
    capture "$WND" "$SCRATCH/window.bmp" || return
    for i in 3 4; do
        convert "$SCRATCH/window.bmp" -format \
            "%[pixel:p{$(($(scaled $((275 + 9 * i))) + $(scaled 5) / 2)),$(($(scaled 204) + $(scaled 15) / 2))}] " info:
    done | sed -E 's/srgb\(0,(128|64),0\)/green/g; s/srgb\((128,128|64,64),0\)/yellow/g'
}

# The tray icon: the picture in the taskbar's notification area (its right
# end) against the icon file's image of the small-icon size at DPI, over the
# taskbar's colour; allowing for rounding in the alpha blend.
tray_icon_difference() {
    local size=$1 frame
    frame=$(awk -v s="$size" 'BEGIN {n = split("16 20 24 32 40 48 64", a, " "); for (i = 1; i <= n; i++) if (a[i] == s) print i - 1}')
    capture "$TASKBAR" "$SCRATCH/taskbar.bmp" || return
    convert "$SCRATCH/taskbar.bmp" -gravity east -crop 64x+0+0 +repage "$SCRATCH/tray.png"
    convert "$ROOT/resources/art/tray_up_up.ico[$frame]" -background white -flatten "$SCRATCH/icon.png"
    compare -metric AE -fuzz 2% -subimage-search -dissimilarity-threshold 1 "$SCRATCH/tray.png" "$SCRATCH/icon.png" \
        null: 2>&1 | awk '{print int($1) " pixels differ"}'
}

start_at() { # classic-style: the program of APP_DIR with the line up and steady upstream traffic
    simctl reset >/dev/null
    simctl set 0x0004 --dword 2 >/dev/null
    simctl set 0x0103 --dword 8128 >/dev/null
    simctl set 0x0107 --dword 864 >/dev/null
    simctl count 0x0301 900 >/dev/null # steady upstream traffic: the upper bar lit
    simctl set 0x0381 --dword 7 >/dev/null
    sed -i "s/^ClassicStyle=.*/ClassicStyle=$1/" "$APP_DIR/Modavi.ini"
    PROGRAM_LOCALE=$LOCALE.UTF-8 start_program
}

# The classic dialog's size at 100 %, which it grows from.
use_scale 96
program_folder scale-base "ShowSysTrayIcon=1" "ClassicStyle=1" "SupportedLanguages=english" "KeepHistory=0"
LOCALE=en_US start_at 1
read -r CLASSIC_W CLASSIC_H <<<"$(window_size "$(find_window --class '#32770' --visible)")"
stop_program

for DPI in ${SCALES:-120 144 192}; do
    use_scale $DPI
    for run in english:en_US russian:ru_RU japanese:ja_JP; do
        IFS=: read -r LANG_NAME LOCALE <<<"$run"
        name="scale-$DPI-$LANG_NAME"
        echo "$DPI DPI, $LANG_NAME"
        program_folder "$name" "ShowSysTrayIcon=1" "ClassicStyle=0" "SupportedLanguages=english,$LANG_NAME" \
            "KeepHistory=0" "Hue=140" "Sat=90" "TitlebarHue=140" "TitlebarSat=120" "TitlebarTextRGB=255,255,255" \
            "LabelTextRGB=170,190,210" "StatusTextRGB=255,255,255" "TransparentBitmap=1"
        start_at 0
        WND=$(find_window --class "$CLASS" --visible)
        TASKBAR=$(find_window --class Shell_TrayWnd)
        check "the skinned window opens" test -n "$WND"
        [ -n "$WND" ] || { stop_program; continue; }
        read -r w h <<<"$(window_size "$WND")"
        check "it is 388 x 263 scaled ($(scaled 388) x $(scaled 263)): $w x $h" \
            eval "within $w $(scaled 388) 1 && within $h $(scaled 263) 1"
        expect "row 2 is drawn in the scaled font at its scaled place" "0 pixels differ" row_difference
        expect "the upper bar's segments lie at their scaled places (3 green, 4 yellow)" "green yellow " \
            upper_segments
        expect "the tray icon is the $(scaled 16)-pixel image drawn one to one" "0 pixels differ" \
            tray_icon_difference "$(scaled 16)"
        screenshot "$WND" "$name-skinned"
        screenshot "$TASKBAR" "$name-taskbar"
        stop_program

        start_at 1
        DLG=$(find_window --class '#32770' --visible)
        check "the classic dialog opens" test -n "$DLG"
        [ -n "$DLG" ] || { stop_program; continue; }
        read -r w h <<<"$(window_size "$DLG")"
        # It grows with its font, which the system scales in whole pixels.
        check "it grows with the scale ($w x $h from $CLASSIC_W x $CLASSIC_H)" \
            eval "within $((w * 96)) $((CLASSIC_W * DPI)) $((CLASSIC_W * DPI / 8)) && within $((h * 96)) $((CLASSIC_H * DPI)) $((CLASSIC_H * DPI / 8))"
        wait_polls 2 # its values shown
        screenshot "$DLG" "$name-classic"
        tabs=$(probe children "$DLG" | awk '$3 == "SysTabControl32" {print $1; exit}')
        probe key "$tabs" 0x27 >/dev/null && probe key "$tabs" 0x27 >/dev/null # the history page
        wait_polls 1
        screenshot "$DLG" "$name-history"
        stop_program
    done
done

e2e_done
