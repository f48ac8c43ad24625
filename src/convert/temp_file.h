#pragma once
// Anonymous temporary files for handing text to a child process.
#include <string_view>

namespace propdesk {

// Owns a file descriptor and closes it when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd();

  int Get() const { return fd_; }
  int Release();

 private:
  int fd_ = -1;
};

// Creates a fresh file named "EXC..." in $TMPDIR (else /tmp), opened for reading and writing and
// removed from the folder at once, so that it disappears when the last descriptor closes. The
// descriptor is close-on-exec and never one of the standard streams. Returns 0, or errno on failure.
int CreateTempFile(UniqueFd& file);

// Writes all of bytes at the file's start. Returns 0, errno on failure, or -1 when the system
// stopped writing without an error.
int WriteAllAt(int fd, std::string_view bytes);

}  // namespace propdesk
