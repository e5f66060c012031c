// Text helpers shared by the settings reader, the status fields and the
// windows: number parsing in the manner of the C library, splitting, paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Like atoi: leading blanks, an optional sign, decimal digits up to the
// first other character; no digits give 0. Out-of-range values saturate.
int32_t ParseInt(const char* text);
inline int32_t ParseInt(const std::string& text) { return ParseInt(text.c_str()); }

// Like sscanf "%x": leading blanks, optional sign, optional 0x, hex digits.
uint32_t ParseHex(const char* text);

// "0x" (lower-case x only) followed by hex; anything else read like atoi.
uint32_t ParseNumber(const std::string& text);

// Splits at any run of separator characters, appending the non-empty items.
void SplitString(std::vector<std::string>& list, const std::string& text, const char* separators);

// Joins a folder and a file name with exactly one backslash between them,
// unless either side already supplies it.
std::string JoinPath(const std::string& folder, const std::string& name);

// "r,g,b" into the palette-relative colour 0x02bbggrr; anything else gives 0.
uint32_t ReadIniRgb(const std::string& text);

// Upper-cases ASCII letters only.
std::string ToUpperAscii(std::string text);
std::string ToLowerAscii(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);

// A text of the language module with each "%1" replaced by first and each
// "%2" by second; filled here, never by a format function, so that a
// translation cannot ask for an argument that is not there.
std::wstring FillPlaceholders(const std::wstring& pattern, const std::wstring& first, const std::wstring& second = {});

// A command line without the program's name in front, as Windows splits it
// off (up to the closing quote, else the first blank) and the blanks after
// it: the arguments exactly as they were given.
std::wstring ArgumentsAfterProgramName(const std::wstring& commandLine);
