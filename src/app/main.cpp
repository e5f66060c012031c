// Modavi: the ADSL modem status monitor.
#include "app/CommandLine.h"
#include "app/CplApp.h"
#include "framework/ErrorBox.h"
#include "settings/SettingsWriteRequest.h"
#include "settings/TraceChannel.h"

#include <commctrl.h>

// The trace channels of the bitmap and status-page modules, for the whole run.
static CTraceChannel g_dibTrace("Dib");
static CTraceChannel g_statusPageTrace("StatusPage");

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Before anything is loaded: DLLs come only from the system folder and
    // the program's folder, so the debug plug-in's imports can never be
    // picked up from the current folder or PATH.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    // The elevated settings writer: no window, no other instance looked for.
    const std::vector<std::wstring> arguments = GetProgramArguments();
    if (IsSettingsWriteRequest(arguments))
        return RunSettingsWriteRequest(arguments);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    try {
        // The application object loads the tray icons as it is built; a
        // failure there is reported like any start-up failure.
        CCplApp app(instance);
        return app.Main();
    } catch (...) {
        ReportCurrentException();
        return 1;
    }
}
