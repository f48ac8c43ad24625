#pragma once
// Rules of the edit view that need no window: the status bar's position text and the ESC key.
#include <string>

#include "document/text_view.h"
#include "settings/settings.h"

namespace propdesk {

// "line:column" of the selection start, both 1-based; the column counts bytes, so a double-byte
// character advances it by two.
std::string CaretPositionText(const TextView& view);

// True when ESC typed into the view closes the window instead of reaching the view: the setting
// ExitByESC is on and the document is edit-forbidden.
bool EscapeClosesWindow(const Settings& settings, bool editForbidden);

}  // namespace propdesk
