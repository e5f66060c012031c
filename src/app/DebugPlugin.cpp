#include "app/DebugPlugin.h"

#include "settings/ProgramPaths.h"
#include "settings/TextUtil.h"

namespace {
using IsStartedFunction = int(__cdecl*)();
using StartFunction = void(__cdecl*)(void*);
using PlainFunction = void(__cdecl*)();
}

void CDebugPlugin::Load()
{
    m_hModule = LoadLibraryA(JoinPath(GetProgramDir(), "DbgMode.dll").c_str());
}

template <class Function>
Function CDebugPlugin::Export(const char* name) const
{
    FARPROC address = m_hModule ? GetProcAddress(m_hModule, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

bool CDebugPlugin::IsDebugModeStarted() const
{
    auto isStarted = Export<IsStartedFunction>("isDebugModeStarted");
    return isStarted && (isStarted() & 0xFF) != 0;
}

void CDebugPlugin::StartDebugMode(HWND mainWindow) const
{
    if (IsDebugModeStarted())
        return;
    if (auto start = Export<StartFunction>("startDebugMode"))
        start(mainWindow);
}

void CDebugPlugin::StopDebugMode() const
{
    if (!IsDebugModeStarted())
        return;
    if (auto stop = Export<PlainFunction>("stopDebugMode"))
        stop();
}

void CDebugPlugin::GenerateDebugLog(HWND mainWindow) const
{
    auto generate = Export<PlainFunction>("generateLogFile");
    if (!generate)
        return;
    if (IsDebugModeStarted()) {
        generate();
        return;
    }
    StartDebugMode(mainWindow);
    generate();
    Sleep(1000);
    StopDebugMode();
}
