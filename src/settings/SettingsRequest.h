// The request the Settings window hands to an elevated Modavi.exe when the
// settings file of an installed copy needs administrator rights: a small
// file of the changed keys, named on the command line. The elevated
// instance believes nothing in it: it takes only keys of the table with
// values the window could write, from a file of the name the window makes.
#pragma once

#include "settings/IniEdit.h"

#include <cstddef>
#include <string>

// The elevated instance's exit codes.
inline constexpr int kRequestWritten = 0;
inline constexpr int kRequestFailed = 1;  // the request was good, the write failed: the file is as it was
inline constexpr int kRequestRefused = 2; // anything but a good request: nothing written

// Larger request files are refused unread.
inline constexpr size_t kMaxRequestSize = 4096;

// The request's text: section SystemInfo with one "Key=Value" line a change.
std::string FormatSettingsRequest(const SettingChanges& changes);

struct RequestCheck {
    bool accepted = false;
    std::string reason; // why it was refused
    SettingChanges changes;
};

// Accepts exactly what FormatSettingsRequest makes of valid changes:
// blank lines aside, the header [SystemInfo], then lines "Key=Value" of
// distinct keys of the table with valid values, at least one. Anything
// else refuses the whole request: an unknown key, a value out of range or
// of another form, a second section, a comment, a text over the size.
RequestCheck ParseSettingsRequest(const std::string& text);

// True for a request file's path as the window makes it (GetTempFileName's
// "MdS" and one to four hex digits, ".tmp") in an absolute folder of a
// drive: no other file, device or network path, no "." or ".." steps.
bool IsSettingsRequestPath(const std::string& path);

// The prefix GetTempFileName is given for the name.
inline constexpr char kRequestFilePrefix[] = "MdS";
