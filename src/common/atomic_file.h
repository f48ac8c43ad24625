#pragma once
// A file replaced as a whole. The new content goes to a temporary file beside the target, which
// Commit renames over it; until then the target is untouched, and a writer dropped without Commit
// removes its temporary file. A symbolic link is followed: the file it names is replaced, and
// keeps its owner, group, permission bits and extended attributes (the access ACL among them).
#include <sys/stat.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_descriptor.h"

namespace propdesk {

// How many replacements, on any threads, may be unfinished at once and still have their temporary
// files removed on a signal.
inline constexpr std::size_t kMaxUnfinishedReplacements = 16;

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  // Starts replacing path. Fails for a target that may not be written: a file without write
  // permission (even for a privileged user), something other than a regular file, a chain of
  // links that never ends, or a folder that refuses new files. A new file gets newFileMode
  // exactly when it is given, else 0666 less the umask. When the owner cannot be kept, the
  // setuid and setgid bits are dropped.
  [[nodiscard]] bool Open(const std::string& path, std::optional<mode_t> newFileMode = std::nullopt);
  [[nodiscard]] bool Write(std::string_view data);
  // The temporary file, for writing to it directly; -1 when not open.
  int fd() const { return file_.get(); }
  // Makes the new content durable and puts it in the target's place.
  [[nodiscard]] bool Commit();
  // The errno value of the step that failed.
  int error() const { return error_; }

 private:
  bool CreateTemporary(mode_t mode);
  bool TakeOverAttributes(const struct stat& target);
  bool Fail(int error);
  void Discard();

  FileDescriptor file_;
  std::string target_;
  std::string temporary_;
  int error_ = 0;
};

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of an unfinished replacement before
// the signal ends the process as it would have. Signals that are ignored stay ignored.
void RemoveTemporaryFilesOnTermination();

}  // namespace propdesk
