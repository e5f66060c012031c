// Calls into the optional debug-mode plug-in "DbgMode.dll" in the program
// folder. Its exports are looked up by name at every use; a missing plug-in
// or export makes the call do nothing. The module is never released.
#pragma once

#include <windows.h>

class CDebugPlugin {
public:
    // Loads the plug-in by full path from the program folder; failure is silent.
    void Load();
    bool IsLoaded() const { return m_hModule != nullptr; }

    bool IsDebugModeStarted() const;
    // Starts debug mode unless it runs; the plug-in is given the main window.
    void StartDebugMode(HWND mainWindow) const;
    void StopDebugMode() const;
    // Asks the plug-in for its log, starting and stopping debug mode around
    // it (with a one-second wait) when it was not running.
    void GenerateDebugLog(HWND mainWindow) const;

private:
    template <class Function>
    Function Export(const char* name) const;

    HMODULE m_hModule = nullptr; // kept for the life of the process, never freed
};
