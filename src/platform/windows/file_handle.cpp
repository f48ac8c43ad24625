#include "platform/file_handle.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows/file_access.h"

namespace propdesk {

using windows::Native;
using windows::Win;
using windows::Wide;

namespace {

// ReadFile and WriteFile take a 32-bit count.
constexpr std::size_t kLargestTransfer = 1u << 30;

SystemResult LastError() { return {static_cast<int>(::GetLastError())}; }

}  // namespace

FileHandle::~FileHandle() { Reset(); }

void FileHandle::Reset(NativeHandle handle) {
  if (handle_ != kNoHandle) ::CloseHandle(Win(handle_));
  handle_ = handle;
}

bool FileHandle::Close() {
  const NativeHandle handle = handle_;
  handle_ = kNoHandle;
  return handle != kNoHandle && ::CloseHandle(Win(handle));
}

NativeHandle StandardInput() { return Native(::GetStdHandle(STD_INPUT_HANDLE)); }
NativeHandle StandardOutput() { return Native(::GetStdHandle(STD_OUTPUT_HANDLE)); }

SystemResult WriteAll(NativeHandle file, std::string_view data) {
  while (!data.empty()) {
    DWORD written = 0;
    if (!::WriteFile(Win(file), data.data(), static_cast<DWORD>(std::min(data.size(), kLargestTransfer)), &written,
                     nullptr)) {
      return LastError();
    }
    data.remove_prefix(written);
  }
  return {};
}

SystemResult ReadSome(NativeHandle file, char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  DWORD read = 0;
  if (!::ReadFile(Win(file), buffer, static_cast<DWORD>(std::min(size, kLargestTransfer)), &read, nullptr)) {
    // The writer of a pipe closing its end is how a pipe's input ends.
    return ::GetLastError() == ERROR_BROKEN_PIPE ? SystemResult{} : LastError();
  }
  got = read;
  return {};
}

SystemResult Rewind(NativeHandle file) {
  return ::SetFilePointerEx(Win(file), LARGE_INTEGER{}, nullptr, FILE_BEGIN) ? SystemResult{} : LastError();
}

SystemResult OpenForReading(const std::string& path, FileHandle& file) {
  file.Reset(Native(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  return file.IsOpen() ? SystemResult{} : LastError();
}

SystemResult OpenStreamForWriting(const std::string& path, FileHandle& file) {
  file.Reset(Native(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  return file.IsOpen() ? SystemResult{} : LastError();
}

bool IsStream(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (windows::IsPipePath(wide)) return true;
  FileHandle file;
  if (!windows::OpenToExamine(wide, 0, file).ok()) {
    // The console (CON, CONOUT$) opens only for reading or writing.
    file.Reset(Native(::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  }
  const DWORD type = file.IsOpen() ? ::GetFileType(Win(file.get())) : FILE_TYPE_UNKNOWN;
  return type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

}  // namespace propdesk
