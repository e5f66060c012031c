// Shows an error in the program's "Error" message box. While one box is
// open, further errors are dropped: a modal box pumps messages, and a timer
// that keeps failing must not stack a new box on it every tick.
#pragma once

class XVuk;

void ReportError(const XVuk& error);

// What shows the box: MessageBoxA with no owner, caption "Error" and the
// hand icon. Tests put their own in place; returns the previous one.
using ErrorBoxShower = void (*)(const char* text);
ErrorBoxShower SetErrorBoxShower(ErrorBoxShower shower);

// True while an "Error" box is open.
bool IsErrorBoxOpen();

// Reports the exception being handled (call inside a catch block): XVuk with
// its text, anything else with a short English text. Used at the boundary of
// every window and dialog procedure and of the message loop.
void ReportCurrentException();
