#include "cli/file_walk.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "cli/messages.h"

namespace propdesk::cli {
namespace {

namespace fs = std::filesystem;

class FileCollector {
 public:
  FileCollector(const std::vector<std::string>& patterns, std::string& problems)
      : patterns_(patterns), problems_(problems) {}

  void AddFolder(const fs::path& folder) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      entries.push_back(*it);
    }
    if (error) problems_ += DescribeFailure("read", Quoted(folder.string()), error.value());
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
    for (const fs::directory_entry& entry : entries) {
      const fs::file_status status = entry.symlink_status(error);
      if (error) {
        problems_ += DescribeFailure("read", Quoted(entry.path().string()), error.value());
      } else if (fs::is_directory(status)) {
        AddFolder(entry.path());
      } else if (fs::is_regular_file(status) && Matches(entry.path().filename().string())) {
        files_.push_back(entry.path().string());
      }
    }
  }

  void AddFile(const std::string& path) { files_.push_back(path); }
  std::vector<std::string> TakeFiles() { return std::move(files_); }

 private:
  bool Matches(const std::string& name) const {
    return std::any_of(patterns_.begin(), patterns_.end(), [&name](const std::string& pattern) {
      return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
    });
  }

  const std::vector<std::string>& patterns_;
  std::string& problems_;
  std::vector<std::string> files_;
};

}  // namespace

std::vector<std::string> CollectFiles(const std::vector<std::string>& paths, const std::vector<std::string>& patterns,
                                      std::string& problems) {
  FileCollector collector(patterns, problems);
  for (const std::string& path : paths) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
      problems += DescribeFailure("read", Quoted(path), errno);
    } else if (S_ISDIR(info.st_mode)) {
      collector.AddFolder(path);
    } else {
      collector.AddFile(path);
    }
  }
  return collector.TakeFiles();
}

}  // namespace propdesk::cli
