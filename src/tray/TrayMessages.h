// Process-wide values of the notification-area icon: the two registered
// window messages, obtained when the process starts, and the tick counter
// that every poll shares.
#pragma once

#include <windows.h>

#include <cstdint>

// The icon's callback message ("VukSystrayIcon").
UINT TrayCallbackMessage();
// Broadcast by the shell when the taskbar is (re)created ("TaskbarCreated").
UINT TaskbarCreatedMessage();

// Adds one to the shared tick counter and returns the new count.
uint32_t AdvanceTrayTick();
// The next tick reads the status, and so every other one after it.
void ReadAtNextTrayTick();
