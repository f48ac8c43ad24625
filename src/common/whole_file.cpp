#include "common/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <exception>

#include "common/atomic_file.h"
#include "common/file_descriptor.h"

namespace propdesk {

SystemResult ReadToEnd(int fd, std::string& text) {
  constexpr std::size_t kChunk = 64 * 1024;
  text.clear();
  std::string content;
  try {
    // A regular file is read in one go; other input grows the text as it comes.
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    content.resize(regular ? static_cast<std::size_t>(info.st_size) + 1 : kChunk);
    std::size_t size = 0;
    for (;;) {
      if (size == content.size()) content.resize(size + std::max(kChunk, size / 2));
      const ssize_t got = ReadSome(fd, content.data() + size, content.size() - size);
      if (got < 0) return {errno};
      if (got == 0) break;
      size += static_cast<std::size_t>(got);
    }
    content.resize(size);
  } catch (const std::exception&) {
    // Only the text's growth throws: too large for memory, or for a string at all.
    return {ENOMEM};
  }
  text.swap(content);
  return {};
}

SystemResult ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  // Without O_NONBLOCK the open of a FIFO would wait for a writer that may never come.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) return {errno};
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return {errno};
  if (S_ISDIR(info.st_mode)) return {EISDIR};
  if (!S_ISREG(info.st_mode)) return {ENOTSUP};
  if (::fcntl(file.get(), F_SETFL, 0) != 0) return {errno};
  return ReadToEnd(file.get(), text);
}

SaveResult WriteWholeFile(const std::string& path, std::string_view data, std::optional<mode_t> newFileMode) {
  AtomicFile file;
  SaveResult result = file.Open(path, newFileMode);
  if (result.ok()) result = file.Write(data);
  if (result.ok()) result = file.Commit();
  return result;
}

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace propdesk
