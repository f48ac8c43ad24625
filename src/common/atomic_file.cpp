#include "common/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace propdesk {
namespace {

// The file a save replaces: the path itself, or what its chain of symbolic links names.
std::string ResolveSaveTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    char link[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof link) return target;
    std::string next(link, static_cast<std::size_t>(length));
    if (next.front() != '/') {
      const auto slash = target.rfind('/');
      if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
    }
    target = std::move(next);
  }
  return target;
}

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path) {
  Discard();
  if (path.empty()) return Fail(ENOENT);
  target_ = ResolveSaveTarget(path);
  mode_t mode = 0666;
  struct stat info {};
  if (::stat(target_.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return Fail(EISDIR);
    if (!S_ISREG(info.st_mode)) return Fail(ENOTSUP);
    if ((info.st_mode & kWriteBits) == 0 || ::access(target_.c_str(), W_OK) != 0) return Fail(EACCES);
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }

  const auto slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  temporary_ = folder + "." + name + ".propdesk-XXXXXX";
  file_.Reset(::mkstemp(temporary_.data()));
  if (file_.get() < 0) {
    temporary_.clear();
    return Fail(errno);
  }
  return ::fchmod(file_.get(), mode) == 0 || Fail(errno);
}

bool AtomicFile::Write(std::string_view data) {
  return (file_.get() >= 0 && WriteAll(file_.get(), data)) || Fail(file_.get() >= 0 ? errno : EBADF);
}

bool AtomicFile::Commit() {
  if (file_.get() < 0) return Fail(EBADF);
  if (::fsync(file_.get()) != 0 || !file_.Close() || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    return Fail(errno);
  }
  temporary_.clear();
  return true;
}

bool AtomicFile::Fail(int error) {
  error_ = error;
  Discard();
  return false;
}

void AtomicFile::Discard() {
  file_.Reset(-1);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

}  // namespace propdesk
