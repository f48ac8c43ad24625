#pragma once
// The About box: the program's icon, name and version, from the IDD_ABOUTBOX template.
#include <windows.h>

namespace propdesk {

// Runs the About box modally, owned by and centred over owner; answers IDOK or IDCANCEL.
INT_PTR RunAboutDialog(HWND owner);

}  // namespace propdesk
