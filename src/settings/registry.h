#pragma once
// The current user's registry: on Windows the registry itself (registry_windows.cpp), elsewhere one
// export file that stands for HKEY_CURRENT_USER (registry_file.h).
//
// Nothing is held between calls and nothing is reported: a missing or unusable key or value reads as
// missing, and a write that cannot be done is skipped. Key paths are relative to HKEY_CURRENT_USER;
// names and strings are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace propdesk {

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
