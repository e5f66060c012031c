// Shows an error in the program's "Error" message box, one box at a time:
// a modal box pumps messages, so an error that comes while a box is open
// waits, and gets its own box when that one is closed. It waits once,
// however often it came meanwhile, and not at all when it is the error
// shown: a timer that keeps failing never stacks boxes.
#pragma once

class XVuk;

void ReportError(const XVuk& error);

// What shows the box: MessageBoxA with no owner, caption "Error" and the
// hand icon. Tests put their own in place; returns the previous one.
using ErrorBoxShower = void (*)(const char* text);
ErrorBoxShower SetErrorBoxShower(ErrorBoxShower shower);

// Reports the exception being handled (call inside a catch block): XVuk with
// its text, anything else with a short English text. Used at the boundary of
// every window and dialog procedure and of the message loop.
void ReportCurrentException();
