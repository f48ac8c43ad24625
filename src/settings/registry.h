#pragma once
// The current user's registry, kept in one export file that stands for HKEY_CURRENT_USER:
// ${XDG_CONFIG_HOME:-$HOME/.config}/Orvandi/Propdesk.reg (UTF-8 text, see reg_file.h).
//
// Each helper reads the file afresh and a write replaces it atomically, so nothing is held between
// calls. Nothing is reported: a missing, unreadable or damaged file reads as missing values, and a
// write that cannot be done is skipped. Key paths are relative to HKEY_CURRENT_USER.
#include <cstdint>
#include <string>
#include <string_view>

namespace propdesk {

// The store's file; empty when neither XDG_CONFIG_HOME nor HOME names an absolute folder.
std::string RegistryFilePath();

// value receives the stored number when the value is a REG_DWORD of four bytes, else fallback.
void RegReadDword(std::string_view keyPath, std::string_view valueName, std::uint32_t& value,
                  std::uint32_t fallback);

// text receives the stored string (up to its first NUL) when the value is a REG_SZ, else fallback.
// Strings are not cut to a buffer size here; callers apply their own limits.
void RegReadString(std::string_view keyPath, std::string_view valueName, std::string& text,
                   std::string_view fallback);

// Creates the key (and the file and its folder) when missing and sets a REG_DWORD value.
void RegWriteDword(std::string_view keyPath, std::string_view valueName, std::uint32_t value);

// Creates the key when missing and sets a REG_SZ value: text up to its first NUL, stored with a NUL.
void RegWriteString(std::string_view keyPath, std::string_view valueName, std::string_view text);

}  // namespace propdesk
