#pragma once
// The main window's menu bar and accelerator table (resource IDR_MAINFRAME).
#include <windows.h>

namespace propdesk {

// A new menu bar; null when it cannot be made.
HMENU LoadMainMenu();
// The accelerator table; null when it cannot be made. The caller destroys it.
HACCEL LoadMainAccelerators();

}  // namespace propdesk
