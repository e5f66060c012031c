// What the installer recorded about the installed package: the version in
// its file vavevida.ini in the Windows directory, read through the profile
// reader seam.
#pragma once

#include <cstdint>

// The recorded package version as GetPrivateProfileStringA gives it: cut to
// size-1 characters with a terminator into buffer (nothing when size is 0);
// the result is the number of characters, 0 when none is recorded.
uint32_t ReadInstalledPackageVersion(char* buffer, uint32_t size);
