// Every setting the program reads, named in one place. The settings file is
// "Modavi.ini" in the program folder; the installer's file is "vavevida.ini"
// in the Windows directory. Both are read anew at every use; only the
// Settings window writes Modavi.ini (SettingsWriter.h), the installer's file never.
#pragma once

namespace Settings {

inline constexpr char kFileName[] = "Modavi.ini";
inline constexpr char kSection[] = "SystemInfo";

// Modavi.ini, section SystemInfo
inline constexpr char kShowSysTrayIcon[] = "ShowSysTrayIcon";         // int: tray icon is the main window
inline constexpr char kClassicStyle[] = "ClassicStyle";               // int: classic dialog instead of skin
inline constexpr char kEnableDebugMode[] = "EnableDebugMode";         // int: the debug hot key works
inline constexpr char kUseInstallerLanguage[] = "UseInstallerLanguage"; // int: language from the installer
inline constexpr char kSupportedLanguages[] = "SupportedLanguages";   // text: names separated by ","
inline constexpr char kDebug[] = "Debug";                             // text: "TRACE" enables tracing
inline constexpr char kTransparentBitmap[] = "TransparentBitmap";     // int: logo drawn with key colour
inline constexpr char kUseHueAndSat[] = "UseHueAndSat";               // int: recolour the button strips too
inline constexpr char kHue[] = "Hue";                                 // int, low 8 bits
inline constexpr char kSat[] = "Sat";                                 // int, low 8 bits
inline constexpr char kTitlebarHue[] = "TitlebarHue";                 // int, low 8 bits
inline constexpr char kTitlebarSat[] = "TitlebarSat";                 // int, low 8 bits
inline constexpr char kTitlebarTextRGB[] = "TitlebarTextRGB";         // colour "r,g,b"
inline constexpr char kLabelTextRGB[] = "LabelTextRGB";               // colour "r,g,b"
inline constexpr char kStatusTextRGB[] = "StatusTextRGB";             // colour "r,g,b"
inline constexpr char kNotifyLineChanges[] = "NotifyLineChanges";     // int: tray balloons when the line changes
inline constexpr char kKeepHistory[] = "KeepHistory";                 // int: the line diary is written
inline constexpr char kHistoryDays[] = "HistoryDays";                 // int: days the diary keeps (0: 90)
inline constexpr char kWakeGraceSeconds[] = "WakeGraceSeconds";       // int: a line up this soon after a wake resynced (0: 120)

// vavevida.ini in the Windows directory, section SystemInfo
inline constexpr char kInstallerFile[] = "vavevida.ini";
inline constexpr char kSetupSoftwareKey[] = "SetupSoftwareKey";       // text, default "english"
inline constexpr char kPackageVersion[] = "PackageVersion";           // text

} // namespace Settings
