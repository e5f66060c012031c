// The elevated instance of Modavi.exe: started with the private argument
// and a request file (SettingsRequest.h), it shows no window, writes the
// request's keys into Modavi.ini of its own folder by the writer's rules,
// and exits. Anything but a good request is refused with exit code 2.
#pragma once

#include <string>
#include <vector>

// True when the command line asks for a settings write (its first argument
// is the private switch), whatever else it holds.
bool IsSettingsWriteRequest(const std::vector<std::wstring>& arguments);

// Does the write; the exit code (kRequestWritten, kRequestFailed, kRequestRefused).
int RunSettingsWriteRequest(const std::vector<std::wstring>& arguments);
