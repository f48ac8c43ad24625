#pragma once
// What the Windows side's files share: UTF-8 paths given to the system as UTF-16, NativeHandle as
// HANDLE, and a look at a file through a handle that does not touch its content.
#include <windows.h>

#include <string>
#include <string_view>

#include "common/system_result.h"
#include "platform/file_handle.h"
#include "platform/file_identity.h"

namespace propdesk::windows {

// Codes newer than the MinGW-w64 headers.
inline constexpr int kDirectoryNotSupportedError = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED
inline constexpr int kStoppedOnLinkError = 681;          // ERROR_STOPPED_ON_SYMLINK

inline HANDLE Win(NativeHandle handle) { return reinterpret_cast<HANDLE>(handle); }
inline NativeHandle Native(HANDLE handle) { return reinterpret_cast<NativeHandle>(handle); }

std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

// True for a path in the named-pipe namespace: opening such a path, even only to look at it,
// connects to the pipe's server and takes the connection it waits for.
[[nodiscard]] bool IsPipePath(const std::wstring& path);

// Opens path with no access to its content (a folder too), which works even while another program
// holds the file without sharing. flags adds to FILE_FLAG_BACKUP_SEMANTICS, e.g.
// FILE_FLAG_OPEN_REPARSE_POINT to look at a link rather than at what it names.
SystemResult OpenToExamine(const std::wstring& path, DWORD flags, FileHandle& file);
SystemResult Examine(NativeHandle file, BY_HANDLE_FILE_INFORMATION& info);

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info);

// True when the file opened with FILE_FLAG_OPEN_REPARSE_POINT is a symbolic link, a junction or
// another reparse point that names something else. Other reparse points (cloud placeholders,
// deduplicated files) hold their own data and are files like any other.
[[nodiscard]] bool IsLink(NativeHandle file, const BY_HANDLE_FILE_INFORMATION& info);

}  // namespace propdesk::windows
