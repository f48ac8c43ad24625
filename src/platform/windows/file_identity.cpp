#include "platform/file_identity.h"

#include <windows.h>

#include "platform/windows/file_access.h"

namespace propdesk {
namespace {

// What the file at path is, looked at without opening its content, so that a file another
// program holds without sharing can be examined too.
std::optional<BY_HANDLE_FILE_INFORMATION> Information(const std::string& path) {
  FileHandle file;
  BY_HANDLE_FILE_INFORMATION info{};
  if (path.empty() || !windows::OpenToExamine(windows::Wide(path), 0, file).ok() ||
      !windows::Examine(file.get(), info).ok()) {
    return std::nullopt;
  }
  return info;
}

// FILETIME counts 100-nanosecond intervals since 1601; nanoseconds since then overflow 64 bits, so
// the stamp counts from 1970.
std::int64_t Nanoseconds(const FILETIME& time) {
  constexpr std::int64_t kIntervalsBefore1970 = 116'444'736'000'000'000;
  const auto intervals = static_cast<std::int64_t>(std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime);
  return (intervals - kIntervalsBefore1970) * 100;
}

}  // namespace

std::optional<FileStamp> TakeFileStamp(const std::string& path) {
  const std::optional<BY_HANDLE_FILE_INFORMATION> info = Information(path);
  if (!info) return std::nullopt;
  return FileStamp{windows::IdentityOf(*info), std::uint64_t{info->nFileSizeHigh} << 32 | info->nFileSizeLow,
                   Nanoseconds(info->ftLastWriteTime)};
}

bool IsSameFile(const std::string& first, const std::string& second) {
  const std::optional<BY_HANDLE_FILE_INFORMATION> firstInfo = Information(first);
  const std::optional<BY_HANDLE_FILE_INFORMATION> secondInfo = Information(second);
  return firstInfo && secondInfo && windows::IdentityOf(*firstInfo) == windows::IdentityOf(*secondInfo);
}

}  // namespace propdesk
