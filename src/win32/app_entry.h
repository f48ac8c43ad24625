#pragma once
// The program's run: settings, the main window, the accelerators, the file named on the command
// line and the message loop.
namespace propdesk {

// Runs the program and returns its exit code.
int RunApplication();

}  // namespace propdesk
