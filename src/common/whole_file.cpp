#include "common/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <exception>

#include "common/atomic_file.h"
#include "common/file_descriptor.h"

namespace propdesk {

bool ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  // Without O_NONBLOCK the open of a FIFO would wait for a writer that may never come.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) return false;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (::fcntl(file.get(), F_SETFL, 0) != 0) return false;
  std::string content;
  try {
    content.resize(static_cast<std::size_t>(info.st_size));
  } catch (const std::exception&) {
    return false;
  }
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t got = ReadSome(file.get(), content.data() + done, content.size() - done);
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  text.swap(content);
  return true;
}

bool WriteWholeFile(const std::string& path, std::string_view data, std::optional<mode_t> newFileMode) {
  AtomicFile file;
  return file.Open(path, newFileMode) && file.Write(data) && file.Commit();
}

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace propdesk
