#pragma once
// What a document remembers of its file when it last read or wrote it, to tell whether another
// program (or another window) has written the file since: size, modification time and inode.
#include <sys/types.h>

#include <optional>
#include <string>

namespace propdesk {

struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  time_t modifiedSeconds = 0;
  long modifiedNanoseconds = 0;

  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path now; none when it cannot be examined.
std::optional<FileStamp> TakeFileStamp(const std::string& path);

}  // namespace propdesk
