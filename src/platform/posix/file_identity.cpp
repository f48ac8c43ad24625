#include "platform/file_identity.h"

#include <sys/stat.h>

namespace propdesk {

std::optional<FileStamp> TakeFileStamp(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{{info.st_dev, info.st_ino},
                   static_cast<std::uint64_t>(info.st_size),
                   std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat firstInfo {};
  struct stat secondInfo {};
  return ::stat(first.c_str(), &firstInfo) == 0 && ::stat(second.c_str(), &secondInfo) == 0 &&
         firstInfo.st_dev == secondInfo.st_dev && firstInfo.st_ino == secondInfo.st_ino;
}

}  // namespace propdesk
