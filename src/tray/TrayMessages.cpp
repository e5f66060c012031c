#include "tray/TrayMessages.h"

namespace {

// Registered while the process starts, before any window exists.
const UINT g_trayCallbackMessage = RegisterWindowMessageW(L"VukSystrayIcon");
const UINT g_taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");

// Counts polls; unsigned so that it wraps (keeping its parity) instead of overflowing.
uint32_t g_trayTicks = 0;

} // namespace

UINT TrayCallbackMessage()
{
    return g_trayCallbackMessage;
}

UINT TaskbarCreatedMessage()
{
    return g_taskbarCreatedMessage;
}

uint32_t AdvanceTrayTick()
{
    return ++g_trayTicks;
}

void ReadAtNextTrayTick()
{
    g_trayTicks &= ~1u; // the next count is odd
}
