#!/usr/bin/env bash
# The packages in a fresh Wine prefix: a bad /LANG refused; a silent German
# install started as at logon in an English locale; an upgrade through the
# pages (screenshots) over the running program; the uninstaller leaving nothing
# of ours; the portable zip run from where it is unpacked.
source "$(dirname "$0")/../../scripts/lib.sh"
export MODAVI_WINEPREFIX=$BUILD/wineprefix-install
rm -rf "$MODAVI_WINEPREFIX"
source "$(dirname "$0")/lib.sh"
trap 'prefix_stop; stop_display; rm -rf "$MODAVI_WINEPREFIX"' EXIT # 0.7 GB
"$ROOT/scripts/package" || exit 1
VERSION=$(tr -d '[:space:]' <"$ROOT/VERSION")
SETUP_EXE=$BUILD/package/Modavi-$VERSION-setup.exe
INSTDIR="$WINEPREFIX/drive_c/Program Files/Modavi"
SHORTCUT="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Modavi.lnk"
VAVEVIDA=$WINEPREFIX/drive_c/windows/vavevida.ini
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Modavi'
reg_value() { $MODAVI_WINE reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$2 +REG_[A-Z_]+ +//p"; }
ours_absent() { ! $MODAVI_WINE reg query 'HKLM\Software\Modavi' >/dev/null 2>&1 && [ ! -e "$INSTDIR" ] && cmp -s "$VAVEVIDA" "$BUILD/e2e/vavevida.ini"; }
setup() { # locale args...: starts the installer's pages in the background
    (exec env LC_ALL="$1" $MODAVI_WINE "$SETUP_EXE" "${@:2}" >/dev/null 2>&1) &
    SETUP_PID=$! SETUP=$(find_window --class '#32770' --title "Modavi $VERSION Setup" --visible)
}
shows() { eventually shown_now "$1"; } # text: waits (bounded) until a visible control of the installer shows it
shown_now() { probe children "$SETUP" | grep -F -- "$1" | grep -q ' 1$'; }
page() { shows "$2" && screenshot "$SETUP" "install-page-$1"; } # name text: waits for it and shoots it
setup_end() { # waits (bounded) until the installer has ended; SETUP_STATUS: its exit code (124: it has not)
    SETUP_STATUS=124
    if eventually setup_gone; then wait "$SETUP_PID"; SETUP_STATUS=$?; fi
}
setup_gone() { ! kill -0 "$SETUP_PID" 2>/dev/null; }
language_shown() { probe children "$SETUP" | awk '$3 == "ComboBox"' | grep -qF "\"$1\""; }

# The machine's CJK font stands in for those Windows links to its dialog font.
for font in "MS UI Gothic" SimSun PMingLiU Gulim; do
    $MODAVI_WINE reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
# The modem driver's package has put a key of its own into vavevida.ini.
mkdir -p "$BUILD/e2e" && printf '[SystemInfo]\r\nModemDriver=3.1\r\n' | tee "$VAVEVIDA" >"$BUILD/e2e/vavevida.ini"

echo "a bad /LANG: refused with a message, nothing installed"
message=$($MODAVI_WINE "$SETUP_EXE" /S /LANG=klingon 2>&1 >/dev/null)
check_eq "silent: exit code 2" 2 $?
check "...and on the standard error the names to use" grep -q '^Modavi setup: Unknown language "klingon" in /LANG. Use one of: english, japanese, ' <<<"$message"
setup en_US.UTF-8 /LANG=klingon
check "with the pages: a box says the language is unknown" grep -q '^Unknown language \\"klingon\\" in /LANG' <<<"$(msgbox_text "Modavi $VERSION Setup")"
screenshot "$(find_window --class '#32770' --title "Modavi $VERSION Setup")" install-bad-language
close_box "Modavi $VERSION Setup"
setup_end
check_eq "...then exit code 2" 2 "$SETUP_STATUS"
check "nothing of ours is there" ours_absent

echo "the pages of a first install offer the locale's language"
setup fr_FR.UTF-8
page welcome "Welcome to Modavi $VERSION Setup" && probe command "$SETUP" 1
page language "Choose the language"
check "the language page offers French" language_shown "French (Français)"
probe command "$SETUP" 2
setup_end
check "cancelled, nothing of ours is there" ours_absent

echo "a silent install in German"
check "exit code 0" env LC_ALL=en_US.UTF-8 $MODAVI_WINE "$SETUP_EXE" /S /LANG=German
check_eq "the program folder and the uninstaller in Program Files" "$(cd "$DIST" && ls | paste -sd' ') Uninstall.exe" \
    "$(cd "$INSTDIR" && ls | paste -sd' ')"
check "...the program as built" cmp -s "$DIST/Modavi.exe" "$INSTDIR/Modavi.exe"
check_eq "the version resources of the program and the installer" "$VERSION $VERSION" "$(for f in "$INSTDIR/Modavi.exe" "$SETUP_EXE"; do
    x86_64-w64-mingw32-windres -i "$f" -O rc 2>/dev/null | sed -n 's/.*VALUE "ProductVersion", "\(.*\)"/\1/p'; done | paste -sd' ')"
check "the Start-menu shortcut" test -f "$SHORTCUT"
check_eq "the language, SetupSoftwareKey, PackageVersion, UseInstallerLanguage" "german Modavi $VERSION 1" \
    "$(reg_value 'HKLM\Software\Modavi' language) $(sed -nE 's/^(SetupSoftwareKey|PackageVersion)=(.*)\r$/\2/p' "$VAVEVIDA" | paste -sd' ') $(sed -n 's/^UseInstallerLanguage=//p' "$INSTDIR/Modavi.ini")"
RUN_ENTRY=$(reg_value "$RUN_KEY" Modavi)
check_eq "the logon entry" '"C:\Program Files\Modavi\Modavi.exe" icon' "$RUN_ENTRY"
check_eq "Add/Remove Programs: name, version, publisher, icon, uninstaller" \
    "Modavi|$VERSION|Modavi project|C:\Program Files\Modavi\Modavi.exe,0|\"C:\Program Files\Modavi\Uninstall.exe\"" \
    "$(for v in DisplayName DisplayVersion Publisher DisplayIcon UninstallString; do reg_value "$UNINSTALL_KEY" $v; done | paste -sd'|')"

echo "started as at logon, in an English locale"
APP_DIR=$INSTDIR
PROGRAM_LOCALE=en_US.UTF-8 start_program "${RUN_ENTRY##* }"
tray=$(find_window --class "$CLASS" --title SysTrayWnd)
check "the tray window is there" test -n "$tray"
check "as shipped it keeps the line diary" grep -q ',start,,' \
    "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Modavi/history.csv"
wait_polls 1
check "...and no status window" no_window --class "$CLASS" --visible
check_eq "the package version as the program reads it (0x10004)" "text $VERSION" \
    "$($MODAVI_WINE "$SIM/modavi-query.exe" 0x10004 | tr -d '\r' | grep '^text')"
probe command "$tray" 100
skin=$(find_window --class "$CLASS" --title "$(module_string CplGermn.dll 1)" --visible)
read -r x y _ <<<"$(probe rect "$skin")"
xdotool mousemove $((x + 63)) $((y + 209)) click 1 # "next": page 1, the package version in row 0
wait_polls 2
screenshot "$skin" install-skin-page1
probe command "$tray" 101
# The user's change, written as the Settings window has an installed copy's file written: by the elevated writer.
printf '[SystemInfo]\r\nClassicStyle=1\r\n' >"$BUILD/e2e/MdSA.tmp"
check "the elevated writer writes the installed Modavi.ini" $MODAVI_WINE "$INSTDIR/Modavi.exe" --write-settings "$(winpath "$BUILD/e2e/MdSA.tmp")"
simctl set 4 --dword 2 >/dev/null
probe command "$tray" 100
DLG=$(find_window --class '#32770' --title "$(module_string CplGermn.dll 1)" --visible)
state() { probe text "$(probe children "$DLG" | awk '$2 == 1001 {print $1}')"; }
connected=$(label_of "$(module_string CplGermn.dll 12)" 2)
expect "the classic dialog speaks German" "$connected" state
screenshot "$DLG" install-classic-german

echo "an upgrade through the pages over the running program"
ctime=$(stat -c %Z "$INSTDIR/Modavi.exe")
setup fr_FR.UTF-8
shows "Welcome to Modavi $VERSION Setup" && probe command "$SETUP" 1
shows "Choose the language"
check "the language page offers the installed German" language_shown "German (Deutsch)"
combo=$(probe children "$SETUP" | awk '$3 == "ComboBox" {print $1}')
probe send "$combo" 0x14f 1 >/dev/null # CB_SHOWDROPDOWN: the list of the fourteen languages
shows "German (Deutsch)" && import -window root -crop 600x420+210+170 +repage "$SCREENSHOTS/install-page-language-list.png"
probe send "$combo" 0x14f 0 >/dev/null
probe command "$SETUP" 1
page directory "Destination Folder" && probe command "$SETUP" 1
page progress "Installation Complete"
check "the running program was ended" wait_program_exit
check "...and its program file replaced" test "$(stat -c %Z "$INSTDIR/Modavi.exe")" != "$ctime"
check "the edited Modavi.ini is kept" grep -qx ClassicStyle=1 "$INSTDIR/Modavi.ini"
check "...and nothing beside it" test ! -e "$INSTDIR/Modavi.ini.new"
probe command "$SETUP" 1
page finish "Completing Modavi $VERSION Setup" && probe command "$SETUP" 1
setup_end
check_eq "exit code 0" 0 "$SETUP_STATUS"
check "'Start Modavi now' starts it" test -n "$(find_window --class "$CLASS" --title SysTrayWnd)"

echo "the uninstaller ends it and leaves nothing of ours"
$MODAVI_WINE "$INSTDIR/Uninstall.exe" /S # it goes on from a copy of itself
folder_gone() { [ ! -e "$INSTDIR" ]; }
eventually folder_gone
check "the program has ended" no_window --class "$CLASS"
check "no program folder, registry key or vavevida.ini key of ours; the driver's key kept" ours_absent
check "no shortcut, no logon entry, no entry in Add/Remove Programs" eval '! test -e "$SHORTCUT" &&
    ! $MODAVI_WINE reg query "$RUN_KEY" /v Modavi >/dev/null 2>&1 && ! $MODAVI_WINE reg query "$UNINSTALL_KEY" >/dev/null 2>&1'

echo "the portable zip, unpacked elsewhere"
APP_DIR=$BUILD/e2e/portable/Modavi-$VERSION
rm -rf "$BUILD/e2e/portable" && python3 -m zipfile -e "$BUILD/package/Modavi-$VERSION-portable.zip" "$BUILD/e2e/portable"
check_eq "it holds the program folder" "$(cd "$DIST" && ls | paste -sd' ')" "$(cd "$APP_DIR" && ls | paste -sd' ')"
PROGRAM_LOCALE=en_US.UTF-8 start_program
check "it runs: the status window opens" test -n "$(find_window --class "$CLASS" --title "$(module_string CplEng.dll 1)" --visible)"
e2e_done
