#!/usr/bin/env bash
# The Settings window, driven with real keys and the mouse: opened from the
# tray menu (command 110), the skinned window's menu, the classic dialog's
# system menu, and once at a time; its Tab order; a colour previewed on the skinned window and taken
# back with the rest by Cancel, which leaves Modavi.ini byte for byte; the
# presentation and the balloons switched, the file changed in exactly those
# two lines and the skinned window replaced by the classic dialog; a file
# changed underneath told and reloaded; the tray icon off and on; the start
# with Windows for the user and the installer's entry for everyone; the
# elevated writer's refusals.
# Screenshots of the window in English, German, Japanese and Russian.
source "$(dirname "$0")/lib.sh"

control() { probe children "$SETTINGS" | awk -v id="$1" '$2 == id {print $1}'; }
checked() { probe send "$(control "$1")" 0xF0; } # BM_GETCHECK
is_checked() { [ "$(checked "$1")" == 1 ]; }
click_on() { # control-id: a real click on its left end (a box's box, a button's text)
    local x y w h
    read -r x y w h <<<"$(probe rect "$(control "$1")")"
    xdotool mousemove $((x + 6)) $((y + h / 2)) click 1
}
open_settings() { # title: waits for the Settings window; sets SETTINGS
    SETTINGS=$(find_window --class '#32770' --title "$1" --visible)
    [ -n "$SETTINGS" ]
}
picture() { probe capture "$1" "$(winpath "$BUILD/e2e/picture.bmp")" && md5sum <"$BUILD/e2e/picture.bmp" | cut -c1-12; }

# The default file with its comments; the line held down, so that the skinned window stands still.
program_folder settings
sed -e 's/^NotifyLineChanges=1/NotifyLineChanges=0/' -e 's/^KeepHistory=1/KeepHistory=0/' \
    -e 's/^SupportedLanguages=.*/SupportedLanguages=english/' "$ROOT/resources/dist/Modavi.ini" >"$APP_DIR/Modavi.ini"
INI=$APP_DIR/Modavi.ini BEFORE=$BUILD/e2e/settings-before.ini
cp "$INI" "$BEFORE"
TITLE=$(module_string CplEng.dll 1) SETTINGS_TITLE=$(module_string CplEng.dll 59)
simctl reset >/dev/null && simctl set 4 --dword 3 >/dev/null
start_program
skin=$(find_window --class "$CLASS" --title "$TITLE" --visible)
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
wait_polls 2

echo "opened from the tray menu, from the keyboard"
locate_icon
check "a right click opens the menu" open_menu
xdotool key s # its Settings item
check "its Settings item opens the window" open_settings "$SETTINGS_TITLE"
screenshot "$SETTINGS" settings-english
probe command "$tray" 110 && probe command "$tray" 110
wait_polls 1
check_eq "asked again, the one window comes to the front" 1 "$(probe list | grep -cF "\"$SETTINGS_TITLE\"")"
focus_is "the checked presentation has the focus" "$SETTINGS" 1102
xdotool key Tab Tab Tab
focus_is "Tab: the icon, the start with Windows, the checked language mode (one language)" "$SETTINGS" 1113
xdotool key Tab Tab Tab Tab
focus_is "its list, the balloons, the diary, past the greyed days to the diary folder" "$SETTINGS" 1123
xdotool key shift+Tab shift+Tab
focus_is "Shift+Tab goes back" "$SETTINGS" 1121

echo "a colour previewed, then Cancel"
read -r x y _ <<<"$(probe rect "$SETTINGS")" # dragged by its caption off the skinned window
xdotool mousemove $((x + 100)) $((y + 10)) mousedown 1 mousemove $((x + 300)) $((y + 10)) mousemove $((x + 550)) $((y + 10)) mouseup 1
wait_polls 1
before=$(picture "$skin")
xdotool key alt+h End BackSpace BackSpace BackSpace && xdotool type 20 # the background's hue
wait_polls 1
check "the skinned window shows the new hue at once" test "$(picture "$skin")" != "$before"
click_on 1101 && click_on 1103 # the classic dialog, the icon off: by mouse
check_eq "the boxes follow the mouse" "1 0" "$(checked 1101) $(checked 1103)"
xdotool key Escape
check "Escape closes the window" gone "$SETTINGS"
wait_polls 1
check_eq "the skinned window is as before" "$before" "$(picture "$skin")"
check "and Modavi.ini byte for byte as before" cmp -s "$BEFORE" "$INI"

echo "from the skinned window's menu, the presentation and the balloons switched"
read -r x y _ <<<"$(probe rect "$skin")"
xdotool mousemove $((x + 200)) $((y + 120)) click 3
check "a right click on the skinned window opens its menu" test -n "$(find_window --class '#32768' --visible)"
xdotool key s
check "its Settings item opens the window" open_settings "$SETTINGS_TITLE"
xdotool key alt+c alt+b Return
check "Enter is OK: the window closes" gone "$SETTINGS"
check "the skinned window goes" gone "$skin"
classic=$(find_window --class '#32770' --title "$TITLE" --visible)
check "the classic dialog takes its place" test -n "$classic"
check_eq "Modavi.ini changed in exactly those two keys, its comments kept" \
    "$(printf '%s\n' '< NotifyLineChanges=0' '> NotifyLineChanges=1' '< ClassicStyle=0' '> ClassicStyle=1')" \
    "$(diff "$BEFORE" "$INI" | grep '^[<>]')"
check "no file is left beside it" test ! -e "$INI.new"

echo "from the classic dialog's system menu; a file changed underneath"
read -r x y _ <<<"$(probe rect "$classic")"
xdotool mousemove $((x + 80)) $((y + 10)) click 1 && xdotool key alt+space Up Return
check "the system menu's last item opens the window" open_settings "$SETTINGS_TITLE"
printf '; edited elsewhere\n' >>"$INI" && cp "$INI" "$BEFORE"
xdotool key alt+b alt+a
check_eq "Apply tells that the file changed" "$(module_string CplEng.dll 92)" "$(msgbox_text Modavi.ini)"
xdotool key Return # Yes: reload
check "reloaded: the balloons as the file says" eventually is_checked 1121
check "nothing written over the other program's change" cmp -s "$BEFORE" "$INI"
xdotool key Escape

echo "the tray icon off and on again"
probe command "$tray" 110 && open_settings "$SETTINGS_TITLE"
xdotool key alt+i Return
check "off: the tray window goes" gone "$tray"
check "the program runs on in the classic dialog" eval 'program_running && probe text "$classic" >/dev/null'
xdotool mousemove $((x + 80)) $((y + 10)) click 1 && xdotool key alt+space Up Return
open_settings "$SETTINGS_TITLE" && xdotool key alt+i Return
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
check "on again: the tray window is back" test -n "$tray"

echo "start with Windows"
RUN='Software\Microsoft\Windows\CurrentVersion\Run'
run_entry() { $MODAVI_WINE reg query "$1\\$RUN" /v Modavi 2>/dev/null | tr -d '\r' | sed -nE 's/^ +Modavi +REG_SZ +//p'; }
probe command "$tray" 110 && open_settings "$SETTINGS_TITLE"
xdotool key alt+s Return
check "closed" gone "$SETTINGS"
check_eq "the user's logon entry starts the tray icon" "\"$(winpath "$APP_DIR/Modavi.exe")\" icon" "$(run_entry HKCU)"
check "the file unchanged by it" cmp -s "$BEFORE" "$INI"
$MODAVI_WINE reg add "HKLM\\$RUN" /v Modavi /d '"C:\Program Files\Modavi\Modavi.exe" icon' /f >/dev/null 2>&1
probe command "$tray" 110 && open_settings "$SETTINGS_TITLE"
check_eq "with the installer's entry: checked, and the note why it cannot change" "1 1" \
    "$(checked 1105) $(probe children "$SETTINGS" | awk '$2 == 1106 {print $NF}')"
screenshot "$SETTINGS" settings-english-installed
xdotool key alt+s Return
check "Alt+S does not reach the greyed box: the user's entry stays" test -n "$(run_entry HKCU)"
$MODAVI_WINE reg delete "HKLM\\$RUN" /v Modavi /f >/dev/null 2>&1
$MODAVI_WINE reg delete "HKCU\\$RUN" /v Modavi /f >/dev/null 2>&1
stop_program

echo "the elevated writer takes only a good request from its own kind of file"
REQUESTS=$BUILD/e2e/requests
rm -rf "$REQUESTS" && mkdir -p "$REQUESTS"
elevated() { # file text [arguments]: the elevated writer's exit code for that request
    printf '%b' "$2" >"$REQUESTS/$1"
    $MODAVI_WINE "$APP_DIR/Modavi.exe" --write-settings "$(winpath "$REQUESTS/$1")" "${@:3}" >/dev/null 2>&1
    echo $?
}
good='[SystemInfo]\r\nHue=20\r\nKeepHistory=1\r\n'
for row in "an unknown key|MdS1.tmp|[SystemInfo]\r\nEnableDebugMode=1\r\n" "a value out of range|MdS2.tmp|[SystemInfo]\r\nHue=253\r\n" \
    "another file name|settings.ini|$good" "a second section|MdS3.tmp|$good[Other]\r\nX=1\r\n" \
    "an oversized file|MdS4.tmp|$good$(printf '%5000s' '' | tr ' ' ';')"; do
    IFS='|' read -r what name text <<<"$row"
    check_eq "$what: refused with exit code 2" 2 "$(elevated "$name" "$text")"
done
check_eq "a second file named after the request: refused" 2 "$(elevated MdS5.tmp "$good" 'C:\windows\win.ini')"
ln -sfn "$APP_DIR" "$BUILD/e2e/settings-link"
check_eq "its folder reached through a link: refused" 2 "$(APP_DIR=$BUILD/e2e/settings-link elevated MdS7.tmp "$good")"
check "nothing written" cmp -s "$BEFORE" "$INI"
check_eq "a good request: written" 0 "$(elevated MdS6.tmp "$good")"
check_eq "...in exactly its keys" "$(printf '%s\n' '< KeepHistory=0' '> KeepHistory=1' '< Hue=140' '> Hue=20')" \
    "$(diff "$BEFORE" "$INI" | grep '^[<>]')"

echo "the window in German, Japanese and Russian"
for run in german:CplGermn.dll:de_DE japanese:CplJapan.dll:ja_JP russian:CplRussian.dll:ru_RU; do
    IFS=: read -r lang module locale <<<"$run"
    program_folder "settings-$lang" "ShowSysTrayIcon=1" "SupportedLanguages=english,$lang" "Hue=140" "Sat=90" \
        "TitlebarTextRGB=255,255,255" "LabelTextRGB=170,190,210" "StatusTextRGB=255,255,255"
    PROGRAM_LOCALE=$locale.UTF-8 start_program icon
    probe command "$(find_window --class "$CLASS" --title SysTrayWnd)" 110
    check "$lang: the window titled $(module_string "$module" 59)" open_settings "$(module_string "$module" 59)"
    screenshot "$SETTINGS" "settings-$lang"
    stop_program
done
e2e_done
