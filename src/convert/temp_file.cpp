#include "convert/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace propdesk {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    UniqueFd old(fd_);
    fd_ = other.Release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

int UniqueFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

int CreateTempFile(UniqueFd& file) {
  const char* folder = std::getenv("TMPDIR");
  std::string name = std::string(folder && *folder ? folder : "/tmp") + "/EXCXXXXXX";
  UniqueFd created(::mkostemp(name.data(), O_CLOEXEC));
  if (created.Get() < 0) return errno;
  if (::unlink(name.c_str()) != 0) return errno;
  // A process started with a standard stream closed hands out 0, 1 or 2; moving the file above
  // them keeps the child's stream redirection from overwriting one file with the other.
  if (created.Get() <= STDERR_FILENO) {
    UniqueFd moved(::fcntl(created.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (moved.Get() < 0) return errno;
    created = std::move(moved);
  }
  file = std::move(created);
  return 0;
}

int WriteAllAt(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return -1;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace propdesk
