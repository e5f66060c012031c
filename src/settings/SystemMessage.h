// The system's text for an error code, for messages that say why.
#pragma once

#include <windows.h>

#include <string>

// The text in English where the system has it (UTF-8), without the line end;
// "error N" when it has none.
std::string SystemMessage(DWORD error);
