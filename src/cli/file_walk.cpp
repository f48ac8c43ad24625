#include "cli/file_walk.h"

#include <algorithm>
#include <set>
#include <utility>

#include "cli/messages.h"
#include "platform/atomic_file.h"

namespace propdesk::cli {
namespace {

class FileCollector {
 public:
  FileCollector(const std::vector<std::string>& patterns, std::string& problems)
      : patterns_(patterns), problems_(problems) {}

  void AddFolder(const SharedFolder& folder, const std::string& path) {
    std::vector<FolderEntry> entries;
    if (const SystemResult listed = ListFolder(*folder, entries); !listed.ok()) {
      problems_ += DescribeFailure("read", Quoted(path), listed.systemError);
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    const std::string& prefix = folder->path;
    for (const FolderEntry& entry : entries) {
      if (entry.error != 0) {
        problems_ += DescribeFailure("read", Quoted(prefix + entry.name), entry.error);
      } else if (entry.kind == EntryKind::kFolder) {
        SharedFolder subfolder;
        if (const SystemResult held = HoldSubfolder(*folder, entry.name, subfolder); !held.ok()) {
          problems_ += DescribeFailure("read", Quoted(prefix + entry.name), held.systemError);
        } else {
          AddFolder(subfolder, prefix + entry.name);
        }
      } else if (entry.kind == EntryKind::kFile && Matches(entry.name)) {
        AddFile(folder, entry, prefix + entry.name);
      }
    }
  }

  void AddFile(const SharedFolder& folder, const FolderEntry& entry, const std::string& path) {
    if (seen_.insert(entry.identity).second) files_.push_back({folder, entry.name, path, entry.size});
  }

  std::vector<ListedFile> TakeFiles() { return std::move(files_); }

 private:
  bool Matches(const std::string& name) const {
    return std::any_of(patterns_.begin(), patterns_.end(),
                       [&name](const std::string& pattern) { return NameMatches(pattern, name); });
  }

  const std::vector<std::string>& patterns_;
  std::string& problems_;
  std::vector<ListedFile> files_;
  std::set<FileIdentity> seen_;
};

}  // namespace

std::vector<ListedFile> CollectFiles(const std::vector<std::string>& paths, const std::vector<std::string>& patterns,
                                     std::string& problems) {
  // Each listed file holds its folder until it is done.
  AllowAllOpenFiles();
  FileCollector collector(patterns, problems);
  for (const std::string& path : paths) {
    FolderEntry entry;
    if (const SystemResult examined = ExaminePath(path, entry); !examined.ok()) {
      problems += DescribeFailure("read", Quoted(path), examined.systemError);
      continue;
    }
    // A folder or file named is reached as named, links and all.
    const bool isFolder = entry.kind == EntryKind::kFolder;
    const std::string target = isFolder ? path : ResolveSaveTarget(path);
    const auto slash = target.find_last_of(kPathSeparators);
    const std::string folderPath = isFolder ? path : slash == std::string::npos ? "" : target.substr(0, slash + 1);
    SharedFolder folder;
    if (const SystemResult held = HoldFolder(folderPath, folder); !held.ok()) {
      problems += DescribeFailure("read", Quoted(path), held.systemError);
    } else if (isFolder) {
      collector.AddFolder(folder, path);
    } else {
      entry.name = slash == std::string::npos ? target : target.substr(slash + 1);
      collector.AddFile(folder, entry, path);
    }
  }
  return collector.TakeFiles();
}

}  // namespace propdesk::cli
