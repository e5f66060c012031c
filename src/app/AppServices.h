// What the windows may ask of the application object. Every window gets a
// reference to it at construction; the interface has no code, so the windows
// depend on it and never on the application object itself.
#pragma once

#include "status/LineWatch.h"

#include <string>

// Who read the line's state.
enum class LineReader { TrayIcon, StatusWindow };

// What the PC does that the line diary notes.
enum class PcEvent { Sleep, Wake, SessionEnd };

class IAppServices {
public:
    virtual void ShowMainWindow() = 0;
    virtual void CloseStatusWindow() = 0;
    virtual void ExitApplication() = 0;
    // Opens the Settings window, or brings the open one to the front.
    virtual void OpenSettings() = 0;
    virtual void StopDebugMode() = 0;
    virtual void GenerateDebugLog() = 0;
    // True when there is a status window object whose window exists.
    virtual bool HasOpenStatusWindow() const = 0;
    // One read of the line's state, for the line diary, which follows one
    // reader: the tray icon while it exists, else the status window.
    virtual void RecordLineRead(LineReader reader, LineCondition condition, LineRates rates) = 0;
    // The PC going to sleep or waking, as a window heard it, for the line
    // diary, from the same reader as the reads; the session's end from any.
    virtual void RecordPcEvent(LineReader reader, PcEvent event) = 0;
    // The selected language's name, lower-case ("japanese", ...); may be empty.
    virtual std::string GetLanguageName() const = 0;

protected:
    ~IAppServices() = default;
};
