#pragma once
// The registry where there is none: one export file standing for HKEY_CURRENT_USER,
// ${XDG_CONFIG_HOME:-$HOME/.config}/Orvandi/Propdesk.reg (UTF-8 text, see reg_file.h). Each
// function of registry.h reads the file afresh, and a write replaces it atomically; a missing,
// unreadable or damaged file reads as missing values.
#include <string>

namespace propdesk {

// The store's file; empty when neither XDG_CONFIG_HOME nor HOME names an absolute folder.
std::string RegistryFilePath();

}  // namespace propdesk
