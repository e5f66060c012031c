// The program's command-line arguments (without the program name).
#pragma once

#include <string>
#include <vector>

std::vector<std::wstring> GetProgramArguments();

// True when the first argument is "icon" in any letter case.
bool FirstArgumentIsIcon(const std::vector<std::wstring>& arguments);
