// What a confirmed change of the line's state tells the user, in the
// language module's words. The strings' placeholders %1 and %2 are filled
// here, never by a format function, so a translation cannot ask for an
// argument that is not there.
#pragma once

#include "status/LineWatch.h"

#include <functional>
#include <string>

// A string of the language module by id.
using StringLookup = std::function<std::wstring(unsigned id)>;

struct LineAlert {
    std::wstring text; // empty: nothing to tell
    bool warning = false; // the line went down or the modem went away
};

// Up: "Line up — 8128/864 kbps"; down from up: "Line down after 3 h 12 min";
// no modem: "Modem not found"; down from no modem: "Modem found again". The
// first state confirmed is not a change the user is told of.
LineAlert LineAlertFor(const LineChange& change, const StringLookup& text);

// "42 s", "12 min", "3 h 12 min", "2 d 5 h": the largest unit reached and,
// from hours on, the next smaller one; parts of a unit are dropped.
std::wstring DurationText(uint64_t ms, const StringLookup& text);
