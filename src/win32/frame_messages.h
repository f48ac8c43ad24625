#pragma once
// The main window's private messages and the ids of its two child windows.
#include <windows.h>

namespace propdesk {

// Opens the file whose UTF-8 path lParam points to as an escaped document; posted by the entry
// for the file named on the command line. The path stays valid for the whole run.
inline constexpr UINT WM_OPENFILE = WM_APP;
// Refreshes the status bar's position text.
inline constexpr UINT WM_UPDATECARETPOS = WM_APP + 1;

inline constexpr int IDC_STATUSBAR = 301;
inline constexpr int IDC_EDITVIEW = 302;

}  // namespace propdesk
