#include "cli/file_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

#include "cli/messages.h"
#include "common/atomic_file.h"

namespace propdesk::cli {
namespace {

using Folder = std::shared_ptr<const FileDescriptor>;

// The names in a folder other than . and .., sorted.
SystemResult ReadNames(int folder, std::vector<std::string>& names) {
  const int descriptor = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return {errno};
  DIR* listing = ::fdopendir(descriptor);
  if (listing == nullptr) {
    const SystemResult failed{errno};
    ::close(descriptor);
    return failed;
  }
  errno = 0;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  const SystemResult listed{errno};
  ::closedir(listing);
  std::sort(names.begin(), names.end());
  return listed;
}

class FileCollector {
 public:
  FileCollector(const std::vector<std::string>& patterns, std::string& problems)
      : patterns_(patterns), problems_(problems) {}

  void AddFolder(const Folder& folder, const std::string& path) {
    std::vector<std::string> names;
    if (const SystemResult listed = ReadNames(folder->get(), names); !listed.ok()) {
      problems_ += DescribeFailure("read", Quoted(path), listed.systemError);
    }
    const std::string prefix = path.ends_with('/') ? path : path + "/";
    for (const std::string& name : names) {
      struct stat info {};
      if (::fstatat(folder->get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        problems_ += DescribeFailure("read", Quoted(prefix + name), errno);
      } else if (S_ISDIR(info.st_mode)) {
        const int sub = ::openat(folder->get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) {
          problems_ += DescribeFailure("read", Quoted(prefix + name), errno);
        } else {
          AddFolder(std::make_shared<const FileDescriptor>(sub), prefix + name);
        }
      } else if (S_ISREG(info.st_mode) && Matches(name)) {
        AddFile(folder, name, prefix + name, info);
      }
    }
  }

  void AddFile(const Folder& folder, const std::string& name, const std::string& path, const struct stat& info) {
    if (seen_.insert({info.st_dev, info.st_ino}).second) {
      files_.push_back({folder, name, path, static_cast<std::uint64_t>(info.st_size)});
    }
  }

  std::vector<ListedFile> TakeFiles() { return std::move(files_); }

 private:
  bool Matches(const std::string& name) const {
    return std::any_of(patterns_.begin(), patterns_.end(), [&name](const std::string& pattern) {
      return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
    });
  }

  const std::vector<std::string>& patterns_;
  std::string& problems_;
  std::vector<ListedFile> files_;
  std::set<std::pair<dev_t, ino_t>> seen_;
};

// Each listed file holds its folder open until it is done: as many descriptors as the system allows.
void AllowAllOpenFiles() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

std::vector<ListedFile> CollectFiles(const std::vector<std::string>& paths, const std::vector<std::string>& patterns,
                                     std::string& problems) {
  AllowAllOpenFiles();
  FileCollector collector(patterns, problems);
  for (const std::string& path : paths) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
      problems += DescribeFailure("read", Quoted(path), errno);
      continue;
    }
    // A folder or file named is reached as named, links and all.
    const bool isFolder = S_ISDIR(info.st_mode);
    const std::string target = isFolder ? path : ResolveSaveTarget(path);
    const auto slash = target.rfind('/');
    const std::string folderPath = isFolder ? path : slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int folder = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
      problems += DescribeFailure("read", Quoted(path), errno);
    } else if (isFolder) {
      collector.AddFolder(std::make_shared<const FileDescriptor>(folder), path);
    } else {
      const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
      collector.AddFile(std::make_shared<const FileDescriptor>(folder), name, path, info);
    }
  }
  return collector.TakeFiles();
}

}  // namespace propdesk::cli
