#!/usr/bin/env bash
# Start-up of the program: settings, language, single instance, error box.
source "$(dirname "$0")/lib.sh"
CLASS="KorvantisPelrix Control Panel"
BASE=("ShowSysTrayIcon=0" "ClassicStyle=0" "SupportedLanguages=english")
# The default look, so that the language screenshots show their texts.
LOOK=("Hue=140" "Sat=90" "TitlebarHue=140" "TitlebarSat=120" "TitlebarTextRGB=255,255,255"
      "LabelTextRGB=170,190,210" "StatusTextRGB=255,255,255")

echo "the program file stands alone"
imports=$(x86_64-w64-mingw32-objdump -p "$DIST/Modavi.exe" | awk '/DLL Name:/ {print tolower($3)}' | paste -sd' ')
check "Modavi.exe imports no MinGW runtime DLL ($imports)" \
    bash -c "! grep -qE 'libstdc|libgcc|libwinpthread|mingw' <<<'$imports'"

echo "missing settings file"
program_folder startup-noini
start_program
check_eq "error box names the first key" "Can't read from ini file: ShowSysTrayIcon" "$(msgbox_text Error)"
box=$(find_window --class '#32770' --title Error)
screenshot "$box" startup-error-box
probe close "$box"
check "process ends after the box" wait_program_exit 20

echo "argument ICON with the tray icon off"
program_folder startup-icon "ShowSysTrayIcon=0"
start_program ICON
check "process ends at once" wait_program_exit 20
check "no window was shown" test -z "$(FIND_TIMEOUT=0 find_window --class "$CLASS")"

echo "second start hands over to the running instance"
program_folder startup-single "ShowSysTrayIcon=1" "ClassicStyle=0" "SupportedLanguages=english"
start_program icon
first=$PROGRAM_PID
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
check "first instance shows only its tray window" test -n "$tray"
check "no status window yet" test -z "$(FIND_TIMEOUT=0 find_window --class "$CLASS" --visible)"
start_program something
check "second start with an argument ends" wait_program_exit 20
check "nothing was posted: still no status window" test -z "$(FIND_TIMEOUT=1500 find_window --class "$CLASS" --visible)"
start_program
check "second start without arguments ends" wait_program_exit 20
title=$(probe string "$(winpath "$APP_DIR/CplEng.dll")" 1)
status=$(find_window --class "$CLASS" --title "$title" --visible)
check "the running instance opened its status window" test -n "$status"
PROGRAM_PID=$first
stop_program

echo "German locale with english,german supported"
program_folder startup-german "ShowSysTrayIcon=0" "SupportedLanguages=english,german" "${LOOK[@]}"
PROGRAM_LOCALE=de_DE.UTF-8 start_program
german=$(probe string "$(winpath "$APP_DIR/CplGermn.dll")" 1)
window=$(find_window --class "$CLASS" --title "$german")
check "window title is CplGermn.dll's string 1 ($german)" test -n "$window"
check "CplGermn.dll is the loaded module" grep -qx CplGermn.dll <<<"$(probe modules "$window")"
[ -n "$window" ] && screenshot "$window" startup-title-german
stop_program

for lang in japanese:ja_JP:CplJapan russian:ru_RU:CplRussian; do
    IFS=: read -r name locale module <<<"$lang"
    program_folder "startup-$name" "ShowSysTrayIcon=0" "SupportedLanguages=english,$name" "${LOOK[@]}"
    PROGRAM_LOCALE=$locale.UTF-8 start_program
    text=$(probe string "$(winpath "$APP_DIR/$module.dll")" 1)
    window=$(find_window --class "$CLASS" --title "$text")
    check "$name title is $module.dll's string 1" test -n "$window"
    check "$module.dll is the loaded module" grep -qx "$module.dll" <<<"$(probe modules "$window")"
    [ -n "$window" ] && screenshot "$window" "startup-title-$name"
    stop_program
done

echo "no language can be determined"
program_folder startup-nolang "ShowSysTrayIcon=0" "SupportedLanguages="
PROGRAM_LOCALE=af_ZA.UTF-8 start_program
check_eq "box text" "Can't determine language" "$(msgbox_text Ferrowind)"
box=$(find_window --class '#32770' --title Ferrowind)
probe close "$box"
check "start-up goes on: a status window opens" test -n "$(find_window --class "$CLASS" --visible)"
stop_program

echo "language not in the table"
program_folder startup-badlang "ShowSysTrayIcon=0" "SupportedLanguages=klingon"
PROGRAM_LOCALE=af_ZA.UTF-8 start_program
check_eq "box text" "Invalid language" "$(msgbox_text Ferrowind)"
probe close "$(find_window --class '#32770' --title Ferrowind)"
stop_program

echo "missing language module"
program_folder startup-nomodule "${BASE[@]}"
rm -f "$APP_DIR/CplEng.dll"
start_program
check_eq "error box names the file, not the path" "Can't open CplEng.dll" "$(msgbox_text Error)"
probe close "$(find_window --class '#32770' --title Error)"
check "process ends after the box" wait_program_exit 20

e2e_done
