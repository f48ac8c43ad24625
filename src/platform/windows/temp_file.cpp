#include "platform/temp_file.h"

#include <windows.h>

#include "platform/windows/file_access.h"

namespace propdesk {

SystemResult CreateTempFile(FileHandle& file) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD folderLength = ::GetTempPathW(MAX_PATH + 1, folder);
  if (folderLength == 0) return {static_cast<int>(::GetLastError())};
  if (folderLength > MAX_PATH) return {ERROR_BUFFER_OVERFLOW};
  // The system picks a name not in use and creates the file empty, so that no other call takes it.
  wchar_t name[MAX_PATH];
  if (::GetTempFileNameW(folder, L"EXC", 0, name) == 0) return {static_cast<int>(::GetLastError())};
  // Inheritable, since the child gets it as a standard stream; it goes when its last handle, the
  // child's included, is closed.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  const HANDLE opened = ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, &inheritable, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    ::DeleteFileW(name);
    return {static_cast<int>(error)};
  }
  file.Reset(windows::Native(opened));
  return {};
}

}  // namespace propdesk
