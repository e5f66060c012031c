// Starting with Windows: the value "Modavi" under
// Software\Microsoft\Windows\CurrentVersion\Run, "<program path>" icon (the
// tray icon only). The installer writes it for every user (HKLM); the
// Settings window writes it for the user alone (HKCU).
#pragma once

#include <string>

struct StartupEntries {
    bool user = false;    // HKCU
    bool machine = false; // HKLM, the installer's
};

StartupEntries ReadStartupEntries();

// Writes or removes the user's entry; false with the system's reason.
bool SetUserStartupEntry(bool on, std::string& reason);

// The entry's command for this program file.
std::wstring StartupCommand();
