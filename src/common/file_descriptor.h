#pragma once
// A POSIX file descriptor closed when it goes out of scope, and reads and writes that retry
// after an interrupted call.
#include <sys/types.h>

#include <cstddef>
#include <string_view>

#include "common/system_result.h"

namespace propdesk {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  int get() const { return fd_; }
  void Reset(int fd);
  // Closes now and tells whether the close succeeded (a deferred write error shows here).
  [[nodiscard]] bool Close();

 private:
  int fd_;
};

// Writes all of data.
SystemResult WriteAll(int fd, std::string_view data);
// Reads up to size bytes; the count read (0 at the end of the file), or -1 with errno set.
[[nodiscard]] ssize_t ReadSome(int fd, char* buffer, std::size_t size);

}  // namespace propdesk
