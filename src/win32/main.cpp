#include <windows.h>

#include "win32/app_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return propdesk::RunApplication(); }
