// The current resource module: every string-table and dialog-template lookup
// of the program goes to it. It is the language module once one is loaded;
// before that (or without one) it is the program file, which has no strings
// and no templates, so texts load empty and templates are missing.
#pragma once

#include <windows.h>

#include <string>

void SetResourceModule(HMODULE module);
HMODULE GetResourceModule();

// String resource ID of the current module; empty when it has none.
std::wstring LoadResString(UINT id);
std::string LoadResStringUtf8(UINT id);
