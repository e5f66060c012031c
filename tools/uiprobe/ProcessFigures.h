// What the probe reports about another process.
#pragma once

#include <windows.h>

// handles, GDI objects, user objects, private bytes, working set and
// processor time, one "name value" line each. Where Wine answers 0: handles
// from the system's handle list, GDI objects from the GDI handle table, and
// processor time from the times of the process's threads.
int PrintProcessFigures(DWORD pid);

// The file names of the modules loaded by the process.
int PrintProcessModules(DWORD pid);
