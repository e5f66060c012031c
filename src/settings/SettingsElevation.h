// Writing Modavi.ini of an installed copy, which a standard user may not:
// the changed keys go into a request file in the user's temporary folder,
// and Modavi.exe is started "as administrator" (runas) with the private
// argument naming it. That instance writes the keys by the writer's rules
// and exits (SettingsWriteRequest.h); its exit code tells how it went.
#pragma once

#include "settings/SettingsWriter.h"

#include <windows.h>

#include <string>

class ISettingsElevation {
public:
    virtual ~ISettingsElevation() = default;
    // Runs the program elevated on the request file and waits (bounded) for
    // it to end: its exit code; false with the reason when it did not run
    // (the user said no to the rights, ...).
    virtual bool Run(HWND owner, const std::wstring& requestPath, DWORD& exitCode, std::string& reason) = 0;
};

// ShellExecuteExW with the verb "runas" of this program file.
ISettingsElevation& PlatformSettingsElevation();

// The request written, the elevated run, the request removed: Written (the
// caller reads the new text) or Failed with what went wrong.
SettingsWrite WriteSettingsElevated(ISettingsElevation& elevation, HWND owner, const std::string& settingsPath,
                                    const SettingChanges& changes);
