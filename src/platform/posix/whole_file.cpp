#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace propdesk {

SystemResult ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  // Without O_NONBLOCK the open of a FIFO would wait for a writer that may never come.
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!file.IsOpen()) return {errno};
  const int descriptor = static_cast<int>(file.get());
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) return {errno};
  if (S_ISDIR(info.st_mode)) return {EISDIR};
  if (!S_ISREG(info.st_mode)) return {ENOTSUP};
  if (::fcntl(descriptor, F_SETFL, 0) != 0) return {errno};
  return ReadToEnd(file.get(), text);
}

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::uint64_t> RegularFileSize(NativeHandle file) {
  struct stat info {};
  if (::fstat(static_cast<int>(file), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace propdesk
