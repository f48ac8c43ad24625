#pragma once
// Places a dialog over the window it belongs to when it opens.
#include <windows.h>

namespace propdesk {

// The top-left corner for a window of the given size: centred on `centre`, then kept inside `area`,
// each axis on its own. A window larger than the area meets its left (or top) edge.
POINT CenteredPosition(SIZE size, const RECT& centre, const RECT& area);

// Moves the window over centreOn (null: its parent when it is a child, else its owner) within the
// parent's client area for a child, else within the screen's work area; a hidden or minimised
// centreOn counts as none, and then the work area is the centre. Size, Z order and activation stay.
void CenterWindow(HWND window, HWND centreOn);

}  // namespace propdesk
