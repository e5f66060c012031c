// A function of a system DLL that older systems lack, looked up by name
// instead of imported, so that the program still starts without it.
#pragma once

#include <windows.h>

// The function `name` of `module` (loaded if it is not yet, and kept loaded:
// a system DLL, for the process's lifetime), or null where it does not exist.
template <class Function>
Function SystemFunction(const wchar_t* module, const char* name)
{
    HMODULE loaded = GetModuleHandleW(module);
    if (!loaded)
        loaded = LoadLibraryW(module);
    return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}
