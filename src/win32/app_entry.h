#pragma once
// The program's run: settings, the main window, the accelerators, the file named on the command
// line and the message loop.
#include <windows.h>

namespace propdesk {

class MainFrame;

// One message of the loop: the open find or replace dialog takes it first, then the accelerators
// with the frame as their target; anything else is translated and dispatched.
void HandleLoopMessage(const MainFrame& frame, HACCEL accelerators, MSG& msg);

// Runs the program and returns its exit code.
int RunApplication();

}  // namespace propdesk
