#include "platform/whole_file.h"

#include <windows.h>

#include "platform/system_error.h"
#include "platform/windows/file_access.h"

namespace propdesk {

using windows::Native;
using windows::Win;
using windows::Wide;

SystemResult ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  const std::wstring wide = Wide(path);
  // A pipe is refused before it is opened: the open would connect to its server.
  if (windows::IsPipePath(wide)) return {kNotRegularFileError};
  // Others may keep reading and writing the file meanwhile, as they may on POSIX. The open asks
  // for a folder too (backup semantics), so that a folder is named as such rather than denied.
  FileHandle file(Native(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
  if (!file.IsOpen()) return {static_cast<int>(::GetLastError())};
  // A device (NUL, CON) has no file information to give.
  if (::GetFileType(Win(file.get())) != FILE_TYPE_DISK) return {kNotRegularFileError};
  BY_HANDLE_FILE_INFORMATION info{};
  if (const SystemResult examined = windows::Examine(file.get(), info); !examined.ok()) return examined;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {windows::kDirectoryNotSupportedError};
  return ReadToEnd(file.get(), text);
}

bool IsExistingFile(const std::string& path) {
  FileHandle file;
  BY_HANDLE_FILE_INFORMATION info{};
  return !path.empty() && windows::OpenToExamine(Wide(path), 0, file).ok() &&
         ::GetFileType(Win(file.get())) == FILE_TYPE_DISK && windows::Examine(file.get(), info).ok() &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::uint64_t> RegularFileSize(NativeHandle file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(Win(file)) != FILE_TYPE_DISK || !windows::Examine(file, info).ok() ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
}

}  // namespace propdesk
