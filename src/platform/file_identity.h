#pragma once
// Which file a path names, and what a document remembers of its file to tell whether another
// program (or another window) has written it since.
#include <cstdint>
#include <optional>
#include <string>

namespace propdesk {

// The device and inode on POSIX; the volume serial number and file index on Windows.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;

  auto operator<=>(const FileIdentity&) const = default;
};

struct FileStamp {
  FileIdentity identity;
  std::uint64_t size = 0;
  std::int64_t modifiedNanoseconds = 0;  // since the system's epoch

  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path now; none when it cannot be examined.
std::optional<FileStamp> TakeFileStamp(const std::string& path);

// True when both paths can be examined and name the same file, whatever the form of the paths
// (relative, through a symbolic link, another hard link).
[[nodiscard]] bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace propdesk
