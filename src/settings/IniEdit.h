// Changes keys of one section in the text of an initialisation file and
// keeps every other byte: comments, blank lines, unknown keys, other
// sections, the order of the keys and the file's line ends. Sections and
// keys are found as the profile functions find them: without regard to
// case, blanks around them ignored, and only in the first section of the
// name, whose first line of a key is the one read. So that line changes.
#pragma once

#include <string>
#include <utility>
#include <vector>

// A key and its new value text.
using SettingChange = std::pair<std::string, std::string>;
using SettingChanges = std::vector<SettingChange>;

// The text with each key of `changes` set in `section`. A present key keeps
// its line with its name and the blanks after "=" as written and gets the
// new value; a missing key is added after the section's last key (a missing
// section at the end of the text), with the line end the text uses (CRLF
// when it has none).
std::string EditIniText(const std::string& text, const std::string& section, const SettingChanges& changes);

// A UTF-16 text (it starts with a byte-order mark): EditIniText works on
// single-byte and UTF-8 texts only.
bool IsUtf16Text(const std::string& text);
