; Modavi's installer (NSIS 3, a 64-bit installer for the 64-bit program).
;
; Installs for every user into Program Files, records the language chosen on
; its language page where the program looks for it (vavevida.ini in the
; Windows folder names the registry key HKLM\Software\Modavi, whose value
; "language" holds the program's name of the language; the installed
; Modavi.ini has UseInstallerLanguage=1), adds a Start-menu shortcut, an
; optional start at logon in the notification area and an entry in "Apps" /
; "Add or remove programs". A running Modavi is ended before its files are
; replaced; an upgrade keeps the user's Modavi.ini (which its Settings window
; writes).
;
; Command line (besides NSIS's own /S for silent and /D=folder, which comes last):
;   /LANG=name     the language, one of the program's names (english, german,
;                  chinese_simp, ...; see LANGUAGE_NAMES); without it the page
;                  offers, and a silent install takes, the language installed
;                  before, else the one of the user's locale, else English.
;                  An unknown name ends the installer with exit code 2 before
;                  anything is installed, with a message box, or in silent
;                  mode a line on the standard error.
;   /NOAUTOSTART   no start at logon (the default is to start in the tray).
;
; scripts/package defines VERSION, DIST (the program folder), STAGE
; (languages.nsh, files.nsh and the Modavi.ini to install, made from the
; source tree) and OUTFILE. Other files are named relative to this one.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh
!include /CHARSET=UTF8 "${STAGE}/languages.nsh"
!include "${STAGE}/files.nsh"

!define PUBLISHER "Modavi project"
; The program's own key, named by SetupSoftwareKey in vavevida.ini.
!define SOFTWARE_KEY "Modavi"
!define INSTALLER_FILE "$WINDIR\vavevida.ini"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Modavi"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; How a running Modavi is found and ended: its hidden tray window takes the
; tray menu's exit command.
!define WINDOW_CLASS "KorvantisPelrix Control Panel"
!define TRAY_TITLE "SysTrayWnd"
!define COMMAND_EXIT 102
!define PROGRAM_TITLE "Modavi ADSL"
!define END_WAIT_MS 10000
!define SYNCHRONIZE 0x00100000

Name "Modavi ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Modavi"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Modavi ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Modavi"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Modavi ADSL status monitor setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "© ${PUBLISHER}"

!define MUI_ICON "../resources/art/program.ico"
!define MUI_UNICON "../resources/art/program.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "wizard.bmp"
!define MUI_WELCOMEPAGE_TEXT "Setup will install Modavi ${VERSION}, the ADSL line status monitor, for every user of this computer.$\r$\n$\r$\nA running Modavi is ended first. An earlier installation is updated, and its settings file Modavi.ini is kept.$\r$\n$\r$\nClick Next to continue."
; The details stay on screen until Next.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN "$INSTDIR\Modavi.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Modavi now"

!insertmacro MUI_PAGE_WELCOME
Page custom LanguagePage LanguagePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var LanguageRow   ; row of the program's language table
Var Autostart     ; 1: start at logon
Var LanguageList
Var AutostartBox

; The row of the language named $0 (without regard to case) into $1, or -1.
!macro _ROW_OF_NAME INDEX NAME DISPLAY PRIMARY SUB
    ${If} $1 = -1
    ${AndIf} $0 == "${NAME}"
        StrCpy $1 ${INDEX}
    ${EndIf}
!macroend
Function RowOfName
    StrCpy $1 -1
    !insertmacro FOR_EACH_LANGUAGE _ROW_OF_NAME
FunctionEnd

; The row the user's locale selects into $1, or -1: as the program chooses
; from a locale, the first row of the primary language whose sub-language is
; "any" (0) or the locale's.
!macro _ROW_OF_LOCALE INDEX NAME DISPLAY PRIMARY SUB
    ${If} $1 = -1
    ${AndIf} $2 = ${PRIMARY}
        ${If} ${SUB} = 0
        ${OrIf} $3 = ${SUB}
            StrCpy $1 ${INDEX}
        ${EndIf}
    ${EndIf}
!macroend
Function RowOfLocale
    System::Call 'kernel32::GetUserDefaultLangID() i .r0'
    IntOp $2 $0 & 0x3FF
    IntOp $3 $0 >> 10
    StrCpy $1 -1
    !insertmacro FOR_EACH_LANGUAGE _ROW_OF_LOCALE
FunctionEnd

!macro _NAME_OF_ROW INDEX NAME DISPLAY PRIMARY SUB
    ${If} $LanguageRow = ${INDEX}
        StrCpy $0 "${NAME}"
    ${EndIf}
!macroend

; Ends the installer before it has done anything, with exit code 2 and the
; message $0: in a box, or in silent mode on the standard error (of the
; caller's console when there is no other).
Function Refuse
    ${If} ${Silent}
        System::Call 'kernel32::GetStdHandle(i -12) p .r1'
        ${If} $1 = 0
        ${OrIf} $1 = -1
            System::Call 'kernel32::AttachConsole(i -1)'
            System::Call 'kernel32::GetStdHandle(i -12) p .r1'
        ${EndIf}
        FileWrite $1 "Modavi setup: $0$\r$\n"
    ${Else}
        MessageBox MB_OK|MB_ICONSTOP "$0"
    ${EndIf}
    SetErrorLevel 2
    Quit
FunctionEnd

Function .onInit
    SetShellVarContext all
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        StrCpy $0 "Modavi is installed for every user of this computer: that needs administrator rights."
        Call Refuse
    ${EndIf}
    ; The language: /LANG, else the one installed before, else the locale's, else English.
    ReadRegStr $0 HKLM "Software\${SOFTWARE_KEY}" "language"
    Call RowOfName
    ${If} $1 = -1
        Call RowOfLocale
    ${EndIf}
    ${IfThen} $1 = -1 ${|} StrCpy $1 0 ${|}
    StrCpy $LanguageRow $1
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/LANG=" $0
    ${IfNot} ${Errors}
        Call RowOfName
        ${If} $1 = -1
            StrCpy $0 'Unknown language "$0" in /LANG. Use one of: ${LANGUAGE_NAMES}.'
            Call Refuse
        ${EndIf}
        StrCpy $LanguageRow $1
    ${EndIf}
    ; Start at logon: as before on an upgrade, else yes, unless /NOAUTOSTART.
    StrCpy $Autostart 1
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
        ReadRegStr $0 HKLM "${RUN_KEY}" "Modavi"
        ${IfThen} $0 == "" ${|} StrCpy $Autostart 0 ${|}
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/NOAUTOSTART" $0
    ${IfNotThen} ${Errors} ${|} StrCpy $Autostart 0 ${|}
FunctionEnd

!macro _ADD_LANGUAGE INDEX NAME DISPLAY PRIMARY SUB
    ${NSD_CB_AddString} $LanguageList "${DISPLAY}"
!macroend
Function LanguagePage
    !insertmacro MUI_HEADER_TEXT "Language" "Choose the language of Modavi's windows and menus."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 20u "Modavi shows its status window, its tray icon's tool-tip and its menu in this language:"
    Pop $0
    ${NSD_CreateDropList} 0 24u 60% 120u ""
    Pop $LanguageList
    !insertmacro FOR_EACH_LANGUAGE _ADD_LANGUAGE
    SendMessage $LanguageList ${CB_SETCURSEL} $LanguageRow 0
    ${NSD_CreateCheckbox} 0 52u 100% 12u "&Start Modavi with Windows, as an icon in the notification area"
    Pop $AutostartBox
    ${NSD_SetState} $AutostartBox $Autostart
    nsDialogs::Show
FunctionEnd

Function LanguagePageLeave
    SendMessage $LanguageList ${CB_GETCURSEL} 0 0 $LanguageRow
    ${NSD_GetState} $AutostartBox $Autostart
FunctionEnd

; Ends a running Modavi and waits (bounded) until its process is gone: the
; tray window takes the exit command; without the tray icon the status window
; is the program's main window, and closing it ends the program.
!macro END_RUNNING_MODAVI UN
Function ${UN}EndRunningModavi
    FindWindow $0 "${WINDOW_CLASS}" "${TRAY_TITLE}"
    StrCpy $1 ${WM_COMMAND}
    StrCpy $2 ${COMMAND_EXIT}
    ${If} $0 = 0
        StrCpy $1 ${WM_CLOSE}
        StrCpy $2 0
        FindWindow $0 "${WINDOW_CLASS}"
    ${EndIf}
    ${IfThen} $0 = 0 ${|} FindWindow $0 "#32770" "${PROGRAM_TITLE}" ${|}
    ${If} $0 <> 0
        DetailPrint "Ending the running Modavi"
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r3)'
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r3) p .r4'
        System::Call 'user32::PostMessageW(p r0, i r1, p r2, p 0)'
        System::Call 'kernel32::WaitForSingleObject(p r4, i ${END_WAIT_MS}) i .r5'
        System::Call 'kernel32::CloseHandle(p r4)'
    ${EndIf}
FunctionEnd
!macroend
!insertmacro END_RUNNING_MODAVI ""
!insertmacro END_RUNNING_MODAVI "un."

Section "Modavi"
    Call EndRunningModavi
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_FILES
    ; The settings: an upgrade keeps the user's file.
    SetOverwrite off
    File "${STAGE}/Modavi.ini"
    SetOverwrite on
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The language, where the program looks for it.
    !insertmacro FOR_EACH_LANGUAGE _NAME_OF_ROW
    WriteRegStr HKLM "Software\${SOFTWARE_KEY}" "language" "$0"
    WriteINIStr "${INSTALLER_FILE}" "SystemInfo" "SetupSoftwareKey" "${SOFTWARE_KEY}"
    WriteINIStr "${INSTALLER_FILE}" "SystemInfo" "PackageVersion" "${VERSION}"
    FlushINI "${INSTALLER_FILE}"
    DetailPrint "Language: $0"

    CreateShortcut "$SMPROGRAMS\Modavi.lnk" "$INSTDIR\Modavi.exe" "" "$INSTDIR\Modavi.exe" 0 \
        SW_SHOWNORMAL "" "ADSL line status"
    ${If} $Autostart = 1
        WriteRegStr HKLM "${RUN_KEY}" "Modavi" '"$INSTDIR\Modavi.exe" icon'
    ${Else}
        DeleteRegValue HKLM "${RUN_KEY}" "Modavi"
    ${EndIf}

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Modavi"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Modavi.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "Uninstall"
    Call un.EndRunningModavi
    !insertmacro UNINSTALL_FILES
    Delete "$INSTDIR\Modavi.ini"
    Delete "$INSTDIR\Modavi.ini.new" ; left by a write of the Settings window that was cut short
    Delete "$INSTDIR\Uninstall.exe"
    Delete "$SMPROGRAMS\Modavi.lnk"
    DeleteRegValue HKLM "${RUN_KEY}" "Modavi"
    DeleteRegKey HKLM "Software\${SOFTWARE_KEY}"
    ; The two keys of vavevida.ini, while they still name this program; the
    ; section and the file only when nothing else is left in them.
    ReadINIStr $0 "${INSTALLER_FILE}" "SystemInfo" "SetupSoftwareKey"
    ${If} $0 == "${SOFTWARE_KEY}"
        DeleteINIStr "${INSTALLER_FILE}" "SystemInfo" "SetupSoftwareKey"
        DeleteINIStr "${INSTALLER_FILE}" "SystemInfo" "PackageVersion"
        System::Call 'kernel32::GetPrivateProfileSectionW(w "SystemInfo", w .r1, i ${NSIS_MAX_STRLEN}, w "${INSTALLER_FILE}") i .r2'
        ${IfThen} $2 = 0 ${|} DeleteINISec "${INSTALLER_FILE}" "SystemInfo" ${|}
        FlushINI "${INSTALLER_FILE}"
        ${GetSize} "$WINDIR" "/M=vavevida.ini /S=0B /G=0" $0 $1 $2
        ${IfThen} $0 = 0 ${|} Delete "${INSTALLER_FILE}" ${|}
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
SectionEnd
