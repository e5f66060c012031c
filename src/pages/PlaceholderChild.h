// The status page draws its meter and its state light in child windows of
// its own, laid over placeholder controls of the page's template.
#pragma once

#include "framework/Wnd.h"

// Creates `child` as a visible child (no title, id 0, a device context of
// its own) of the placeholder, covering its client rectangle, and makes
// the placeholder leave the child's area alone when it repaints itself.
bool CreateOverPlaceholder(CWnd& child, HWND placeholder);
