#include "platform/folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace propdesk {

const char kPathSeparators[] = "/";

namespace {

int fd(const FileHandle& file) { return static_cast<int>(file.get()); }

void Describe(const struct stat& info, FolderEntry& entry) {
  entry.kind = S_ISREG(info.st_mode) ? EntryKind::kFile : S_ISDIR(info.st_mode) ? EntryKind::kFolder : EntryKind::kOther;
  entry.identity = {info.st_dev, info.st_ino};
  entry.size = static_cast<std::uint64_t>(info.st_size);
}

std::string WithSeparator(std::string path) {
  if (!path.empty() && !path.ends_with('/')) path += '/';
  return path;
}

}  // namespace

SystemResult HoldFolder(const std::string& path, SharedFolder& folder) {
  auto held = std::make_shared<HeldFolder>();
  held->handle.Reset(::open(path.empty() ? "." : path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!held->handle.IsOpen()) return {errno};
  held->path = WithSeparator(path);
  folder = std::move(held);
  return {};
}

SystemResult HoldSubfolder(const HeldFolder& folder, const std::string& name, SharedFolder& subfolder) {
  auto held = std::make_shared<HeldFolder>();
  held->handle.Reset(::openat(fd(folder.handle), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!held->handle.IsOpen()) return {errno};
  held->path = folder.path + name + '/';
  subfolder = std::move(held);
  return {};
}

SystemResult ListFolder(const HeldFolder& folder, std::vector<FolderEntry>& entries) {
  const int descriptor = ::openat(fd(folder.handle), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return {errno};
  DIR* listing = ::fdopendir(descriptor);
  if (listing == nullptr) {
    const SystemResult failed{errno};
    ::close(descriptor);
    return failed;
  }
  errno = 0;
  while (const dirent* found = ::readdir(listing)) {
    FolderEntry entry;
    entry.name = found->d_name;
    if (entry.name == "." || entry.name == "..") continue;
    struct stat info {};
    if (::fstatat(fd(folder.handle), entry.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
      Describe(info, entry);
    } else {
      entry.error = errno;
    }
    entries.push_back(std::move(entry));
    errno = 0;
  }
  const SystemResult listed{errno};
  ::closedir(listing);
  return listed;
}

SystemResult ExaminePath(const std::string& path, FolderEntry& entry) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {errno};
  Describe(info, entry);
  return {};
}

SystemResult OpenFileIn(const HeldFolder& folder, const std::string& name, FileHandle& file, bool& notRegular) {
  notRegular = false;
  // Non-blocking, so that a named pipe put in its place does not wait for a writer before it is refused.
  file.Reset(::openat(fd(folder.handle), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  struct stat info {};
  if (!file.IsOpen() || ::fstat(fd(file), &info) != 0) return {errno};
  notRegular = !S_ISREG(info.st_mode);
  return {notRegular ? ENOTSUP : 0};
}

bool NameMatches(const std::string& pattern, const std::string& name) {
  return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

void AllowAllOpenFiles() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace propdesk
