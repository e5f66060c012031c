// Where the program lives and which system it runs on.
#pragma once

#include <string>

// Drive and folder of the program file, ending in "\".
std::string GetProgramDir();
// Full path of the program file.
std::string GetProgramPath();
std::wstring GetProgramPathW();
// The Windows directory.
std::string GetWindowsDir();
// True on an NT-family system.
bool IsWindowsNT();
