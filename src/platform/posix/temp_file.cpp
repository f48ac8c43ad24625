#include "platform/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace propdesk {

SystemResult CreateTempFile(FileHandle& file) {
  const char* folder = std::getenv("TMPDIR");
  std::string name = std::string(folder && *folder ? folder : "/tmp") + "/EXCXXXXXX";
  file.Reset(::mkostemp(name.data(), O_CLOEXEC));
  if (!file.IsOpen()) return {errno};
  if (::unlink(name.c_str()) != 0) return {errno};
  // A process started with a standard stream closed hands out 0, 1 or 2; moving the file above
  // them keeps the child's stream redirection from overwriting one file with the other.
  if (file.get() <= STDERR_FILENO) {
    const int moved = ::fcntl(static_cast<int>(file.get()), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0) return {errno};
    file.Reset(moved);
  }
  return {};
}

}  // namespace propdesk
