#!/usr/bin/env bash
# Start-up of the whole program: the standalone program file, the boxes of
# a bad start and whether the program goes on after them, the "icon"
# argument, and a second start handing over to the first with the tray icon
# and without it (then the first's status window, minimised, comes back).
source "$(dirname "$0")/lib.sh"

imports=$(x86_64-w64-mingw32-objdump -p "$DIST/Modavi.exe" | awk '/DLL Name:/ {print tolower($3)}' | paste -sd' ')
check "Modavi.exe imports no MinGW runtime DLL ($imports)" test -z "$(grep -oE 'libstdc|libgcc|libwinpthread|mingw' <<<"$imports")"

# name | file taken away | caption | text (@ is the program folder) | then | settings
# "ends": the program ends once the box is closed; "opens": a status window
# opens after it; "asks": the program lives on in the taskbar, and asked for
# its status window from there it shows the box again.
BAD_STARTS=(
    "no-ini||Error|Can't read from ini file: ShowSysTrayIcon|ends|"
    "no-language||Ferrowind|Can't determine language|opens|ShowSysTrayIcon=0 SupportedLanguages="
    "bad-language||Ferrowind|Invalid language|opens|ShowSysTrayIcon=0 SupportedLanguages=klingon"
    "no-module|CplEng.dll|Error|Can't open CplEng.dll|ends|ShowSysTrayIcon=0 SupportedLanguages=english"
    "no-logo|LogoClas.bmp|Error|Can't open bitmap @\\LogoClas.bmp|ends|ShowSysTrayIcon=0 ClassicStyle=1 SupportedLanguages=english"
    "no-logo-tray|LogoClas.bmp|Error|Can't open bitmap @\\LogoClas.bmp|asks|ShowSysTrayIcon=1 ClassicStyle=1 SupportedLanguages=english"
    "no-skin|LogoSkin.bmp|Error|Can't open bitmap @\\LogoSkin.bmp|ends|ShowSysTrayIcon=0 ClassicStyle=0 SupportedLanguages=english"
)
for row in "${BAD_STARTS[@]}"; do
    IFS='|' read -r name file caption text after settings <<<"$row"
    # shellcheck disable=SC2086
    program_folder "startup-$name" $settings
    [ -z "$file" ] || rm -f "$APP_DIR/$file"
    text=${text//@/$(winpath "$APP_DIR")} && text=${text//\\/\\\\} # the probe doubles a backslash
    # The language boxes in a locale without a language module of its own.
    PROGRAM_LOCALE=$([ "$caption" != Ferrowind ] || echo af_ZA.UTF-8) start_program
    check_eq "$name: the box says what went wrong" "$text" "$(msgbox_text "$caption")"
    [ "$name" == no-logo ] && screenshot "$(find_window --class '#32770' --title "$caption")" startup-error-box
    close_box "$caption"
    case $after in
        ends) check "the program ends after the box" wait_program_exit ;;
        opens) check "start-up goes on: a status window opens" test -n "$(find_window --class "$CLASS" --visible)" ;;
        asks)
            probe command "$(find_window --class "$CLASS" --title SysTrayWnd)" 100
            check_eq "the program goes on: asked from the tray, it shows the box again" "$text" "$(msgbox_text "$caption")"
            close_box "$caption" ;;
    esac
    stop_program
done

echo "argument ICON with the tray icon off"
program_folder startup-icon "ShowSysTrayIcon=0"
start_program ICON
check "the program ends at once" wait_program_exit
check "no window was shown" no_window --class "$CLASS"

echo "a second start hands over to the running program, in every presentation"
title=$(module_string CplEng.dll 1)
iconic() { [ "$(probe rect "$1" | cut -d' ' -f1)" == -32000 ]; } # minimised
for run in 1:0 0:1 0:0; do # tray icon : classic dialog
    IFS=: read -r tray classic <<<"$run"
    program_folder startup-single "ShowSysTrayIcon=$tray" "ClassicStyle=$classic" "SupportedLanguages=english"
    class=$CLASS && [ "$classic" == 0 ] || class='#32770'
    if [ "$tray" == 1 ]; then
        start_program icon
        check "with the argument icon the first shows only its tray window" \
            test -n "$(find_window --class "$CLASS" --title SysTrayWnd)"
        wait_polls 1
        check "...and no status window" no_window --class "$class" --visible
    else
        start_program
        window=$(find_window --class "$class" --title "$title" --visible)
        probe post "${window:-0}" 0x112 0xF020 # WM_SYSCOMMAND, SC_MINIMIZE
    fi
    first=$PROGRAM_PID
    start_program something
    check "tray icon $tray, classic $classic: a second start with an argument ends" wait_program_exit
    wait_polls 1 # a timer message of the first: what the second posted is handled
    if [ "$tray" == 1 ]; then check "...and asks for nothing" no_window --class "$class" --visible
    else check "...and asks for nothing: the window stays minimised" iconic "${window:-0}"; fi
    start_program
    check "a second start without arguments ends" wait_program_exit
    wait_polls 1
    window=$(find_window --class "$class" --title "$title" --visible)
    check "...and the first shows its status window" eval '[ -n "$window" ] && ! iconic "$window"'
    PROGRAM_PID=$first
    check "the first still runs" program_running
    stop_program
done

e2e_done
