// Reading Modavi.ini in the program folder. Nothing is cached: every read
// resolves the path and opens the file anew, so edits are seen at once.
#pragma once

#include "settings/SettingsKeys.h"

#include <cstdint>
#include <string>

// The value text (at most 511 characters). Raises XVuk
// "Can't read from ini file: KEY" when the settings file does not exist.
std::string ReadIniString(const char* key, const char* section = Settings::kSection,
                          const char* defaultText = "");

// ReadIniString converted like atoi; a missing key reads as 0.
int32_t ReadIniInt(const char* key, const char* section = Settings::kSection);

// For the optional settings: like ReadIniInt, but a missing settings file
// also reads as 0 (off), without an error.
int32_t ReadOptionalIniInt(const char* key);

// A key of section SystemInfo of an arbitrary file, without the existence
// check (missing file or key give the default). At most size-1 characters.
std::string ReadProfileString(const std::string& path, const char* key, const char* defaultText,
                              unsigned size);

// Path of Modavi.ini.
std::string SettingsFilePath();
