#include "common/file_descriptor.h"

#include <unistd.h>

#include <cerrno>

namespace propdesk {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

void FileDescriptor::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool FileDescriptor::Close() {
  const int fd = fd_;
  fd_ = -1;
  return fd >= 0 && ::close(fd) == 0;
}

SystemResult WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return {errno};
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace propdesk
