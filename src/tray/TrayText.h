// The texts of the notification-area icon's tool-tip, built from the
// language module's strings. Language strings are only ever appended,
// never used as format strings.
#pragma once

#include <cstdint>
#include <string>

// The name of a line state in a list of "value,name,value,name,..." items
// (the line-state list of the language module). Items are walked as pairs,
// so a name never counts as a value, whatever it begins with; a value is
// read like atoi. No pair matches: unknownName. An odd number of items
// raises XVuk "State resource string must be even".
std::wstring LineStateName(const std::wstring& list, uint32_t state, const std::wstring& unknownName);

// Between the tool-tip's lines: a line break on an NT-family system,
// otherwise " - " (older shells show tips on one line).
std::wstring TipSeparator(bool windowsNT);

// "<upstream label>: <up> kbps<separator><downstream label>: <down> kbps",
// the rates as signed decimal numbers.
std::wstring RatesText(const std::wstring& upstreamLabel, uint32_t upstreamRate, const std::wstring& separator,
                       const std::wstring& downstreamLabel, uint32_t downstreamRate);

// "<state label> <state name>".
std::wstring StateLineText(const std::wstring& stateLabel, const std::wstring& stateName);
