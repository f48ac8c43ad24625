#pragma once
// The main window's menu bar and accelerator table (resource IDR_MAINFRAME).
#include <windows.h>

namespace propdesk {

// The menu bar from the program's resources; null when it cannot be loaded.
HMENU LoadMainMenu();
// The accelerator table from the program's resources; null when it cannot be loaded.
HACCEL LoadMainAccelerators();

}  // namespace propdesk
