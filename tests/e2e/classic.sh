#!/usr/bin/env bash
# The classic dialog against the simulator, in English with the tray icon
# off and in Russian with it on: opened, its pages read as the line comes up
# and goes down, a tab chosen, closed (the program ends, or goes on in the
# taskbar) from the keyboard; the history page's figures from a hand-made
# line diary, and what Export saves for each period. Screenshots of every page in both languages, and of the
# history page in Japanese.
source "$(dirname "$0")/lib.sh"

expect_text() { expect "$1" "$4" probe text "$2" --id "$3"; } # description hwnd control-id expected
children_of_class() { probe children "$DLG" | awk -v c="$1" '$3 == c {print $1}'; }
expect_focus() { focus_is "$1" "$DLG" "$2"; } # description control-id
# The pages shown, 1 or 0 each: status, version, history. A key posted to the
# tab control or pressed is handled when the program gets to it: polled.
expect_pages() { expect "$1" "$2" pages_now; } # description expected
pages_now() { find_pages; shown_pages; } # in a subshell: the caller finds the pages again
shown_pages() {
    probe children "$DLG" | awk -v s="$STATUS_PAGE" -v v="$VERSION_PAGE" -v h="$HISTORY_PAGE" \
        '$1 == s {a = $NF} $1 == v {b = $NF} $1 == h {c = $NF} END {print a + 0, b + 0, c + 0}'
}
open_dialog() { # title: sets DLG, TABS and the pages
    DLG=$(find_window --class '#32770' --title "$1" --visible)
    [ -n "$DLG" ] || return 1
    TABS=$(children_of_class SysTabControl32)
    find_pages
}
find_pages() { # sets STATUS_PAGE, VERSION_PAGE and, once its tab was chosen, HISTORY_PAGE
    STATUS_PAGE= VERSION_PAGE= HISTORY_PAGE=
    for page in $(children_of_class '#32770'); do # by the program version, 1024, and the graph, 1030
        if probe text "$page" --id 1024 >/dev/null; then VERSION_PAGE=$page
        elif probe text "$page" --id 1030 >/dev/null; then HISTORY_PAGE=$page
        else STATUS_PAGE=$page; fi
    done
}
# A hand-made line diary: the last three hours up, ten minutes down 100
# minutes ago; 25 hours up from two days ago, records of 6.5 and 8 days ago,
# and two of 100 days ago in their monthly file. history.csv holds more than
# 64 KiB. EXPECTED[n] is what Export saves for period n of the list.
write_diary() {
    local dir now i event rates month
    dir=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Modavi
    DIARY_FILE=$dir/history.csv
    now=$(date +%s)
    rm -rf "$dir" && mkdir -p "$dir"
    rec() { TZ=UTC printf '%(%Y-%m-%dT%H:%M:%S)T+00:00,%s\n' $((now - $1 * 60)) "$2"; }
    header=time,event,downstream_kbps,upstream_kbps
    month=$(TZ=UTC date -d @$((now - 144000 * 60)) +%Y-%m)
    old=$(rec 144000 up,8128,864 && rec 143999 stop,,)
    printf '%s\n%s\n' "$header" "$old" >"$dir/history-$month.csv"
    week=$(rec 9360 rate,8128,864 && rec 9359 stop,, && for ((i = 3000; i > 1500; i--)); do rec $i rate,8128,864; done)
    day=$(for ((i = 180; i >= 1; i--)); do
        event=rate rates=8128,864
        ((i == 180 || i == 90)) && event=up
        ((i <= 100 && i > 90)) && rates=,
        ((i == 100)) && event=down
        rec $i "$event,$rates"
    done)
    printf '%s\n' "$header" "$(rec 11520 up,8128,864 && rec 11519 stop,,)" "$week" "$day" >"$DIARY_FILE"
    EXPECTED=("$header"$'\n'"$day" "$header"$'\n'"$week"$'\n'"$day" "$header"$'\n'"$old"$'\n'"$(sed 1d "$DIARY_FILE")")
}
history_tab() { # module name: the history tab from the version tab, its figures, a screenshot
    probe key "$TABS" 0x27
    expect_pages "the third tab shows the history page" "0 0 1"
    find_pages
    expect_text "one drop in the diary's 24 hours" "$HISTORY_PAGE" 1038 1
    expect_text "its longest outage, ten minutes" "$HISTORY_PAGE" 1039 "$(module_string "$1" 42 | sed 's/%1/10/')"
    screenshot "$DLG" "classic-$2-history"
    [ "$2" != english ] || for period in 0 1 2; do export_period $period; done
    probe key "$TABS" 0x25
}
export_period() { # n: Export... of period n of the list, through the Save dialog, typed as a user would
    local saved=$BUILD/e2e/export.csv save
    rm -f "$saved"
    probe send "$(probe children "$HISTORY_PAGE" | awk '$2 == 1041 {print $1}')" 0x14e "$1" >/dev/null # CB_SETCURSEL
    probe command "$HISTORY_PAGE" 1042
    save=$(find_window --class '#32770' --title "Save As" --visible)
    check "Export... opens the Save dialog" test -n "$save"
    [ "$1" != 1 ] || screenshot "$save" classic-english-export
    xdotool type --delay 20 "$(winpath "$saved")" && xdotool key Return
    check "it closes" gone "$save"
    expect "period $1: the file holds its records, the diary's own" "${EXPECTED[$1]}" cat "$saved" # written after
}

write_diary
for run in english:CplEng.dll:en_US:0 russian:CplRussian.dll:ru_RU:1; do
    IFS=: read -r lang module locale tray <<<"$run"
    echo "$lang classic dialog, tray icon $tray"
    program_folder "classic-$lang" "ShowSysTrayIcon=$tray" "ClassicStyle=1" "SupportedLanguages=english,$lang"
    title=$(module_string "$module" 1)
    states=$(module_string "$module" 12)
    simctl reset >/dev/null
    PROGRAM_LOCALE=$locale.UTF-8 start_program
    open_dialog "$title"
    check "the dialog is titled with $module's string 1 ($title)" test -n "$DLG"
    check "it holds the tabs, the status and the version page" test -n "$TABS" -a -n "$STATUS_PAGE" -a -n "$VERSION_PAGE"
    expect_pages "the status page is shown first" "1 0 0"
    expect_text "the line comes up" "$STATUS_PAGE" 1001 "$(label_of "$states" 2)"
    expect_text "the mode of the simulator" "$STATUS_PAGE" 1002 "$(label_of "$(module_string "$module" 13)" 5)"
    expect_text "its downstream rate" "$STATUS_PAGE" 1007 8128
    expect_text "its upstream rate" "$STATUS_PAGE" 1006 864
    wait_polls 3 # traffic on the meter
    screenshot "$DLG" "classic-$lang-status-up"
    simctl set 0x0004 --dword 3 >/dev/null
    expect_text "line state 3" "$STATUS_PAGE" 1001 "$(label_of "$states" 3)"
    screenshot "$DLG" "classic-$lang-status-down"
    simctl reset >/dev/null

    probe key "$TABS" 0x27 # the right arrow
    expect_pages "the second tab shows the version page" "0 1 0"
    expect_text "the program version" "$VERSION_PAGE" 1003 "$(cat "$ROOT/VERSION")"
    expect_text "the driver's text" "$VERSION_PAGE" 1005 "ADSLSIM 2.1.7 (simulated driver)"
    screenshot "$DLG" "classic-$lang-version"
    history_tab "$module" "$lang"
    probe key "$TABS" 0x25
    expect_pages "the first tab shows the status page again" "1 0 0"

    # From the keyboard (real key presses): English goes round the controls and closes with Space on
    # Close; Russian closes with Escape, after an Enter that changes nothing.
    if [ "$lang" = english ]; then
        xdotool key ctrl+Tab
        expect_pages "Ctrl+Tab shows the version page" "0 1 0"
        xdotool key ctrl+shift+Tab ctrl+shift+Tab
        expect_pages "Ctrl+Shift+Tab goes back round the pages" "0 0 1"
        xdotool key ctrl+shift+Tab
        expect_focus "the tab control has the focus" 1002
        xdotool key Tab
        expect_focus "Tab goes to the page's first field" 1003
        screenshot "$DLG" "classic-english-version-keyboard"
        xdotool key Tab Tab
        expect_focus "then past the driver's field to Close" 1014
        xdotool key Tab
        expect_focus "and round to the tab control" 1002
        xdotool key shift+Tab
        expect_focus "Shift+Tab goes back to Close" 1014
        xdotool key space
    else
        xdotool key Return
        wait_polls 2
        check "Enter leaves the dialog open" probe text "$DLG"
        xdotool key Escape
    fi
    check "the dialog closes" gone "$DLG"
    check_after_close "$tray" --class '#32770' --title "$title"
done

echo "japanese history page"
program_folder classic-japanese "ClassicStyle=1" "SupportedLanguages=english,japanese"
PROGRAM_LOCALE=ja_JP.UTF-8 start_program
open_dialog "$(module_string CplJapan.dll 1)"
probe key "$TABS" 0x27
history_tab CplJapan.dll japanese
stop_program
e2e_done
