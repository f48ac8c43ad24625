#pragma once
// A file replaced as a whole. The new content goes to a temporary file beside the target; until
// Commit the target is untouched, and a writer dropped without Commit removes its temporary file.
// The file keeps what it is: its owner, permissions or ACL, extended attributes or alternate
// streams, and its hard links. Mostly the temporary file takes the target's place. When that would
// give the file another owner (the saver cannot give it back) or cut its hard links, the file is
// rewritten in place instead: its old content is first copied to a backup file beside it, and the
// copy is removed once the new content is on disk.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "common/system_result.h"
#include "platform/file_handle.h"
#include "platform/whole_file.h"

namespace propdesk {

struct HeldFolder;

// How many replacements, on any threads, may be unfinished at once and still have their temporary
// files removed when the program is interrupted.
inline constexpr std::size_t kMaxUnfinishedReplacements = 16;

class AtomicFile {
 public:
  AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();

  // Starts replacing path; a symbolic link is followed and the file it names is replaced. Fails
  // for a target that may not be written: a read-only file (even for a privileged user), something
  // other than a regular file, a file another program holds without sharing, a chain of links that
  // never ends, or a folder that refuses new files. A new file gets permissions exactly when they
  // are given (POSIX), else the system's default.
  SaveResult Open(const std::string& path, NewFilePermissions permissions = {});
  // Starts replacing the existing file name in the held folder. A symbolic link there is refused,
  // never followed, so that what replaced the file since the folder was read cannot redirect the write.
  SaveResult OpenIn(const HeldFolder& folder, const std::string& name);
  SaveResult Write(std::string_view data);
  // The temporary file, for writing to it directly; kNoHandle when not open.
  NativeHandle handle() const;
  // Makes the new content durable and puts it in the target's place.
  SaveResult Commit();
  // After an in-place rewrite failed and the old content could not be put back: the name, in the
  // target's folder, of the backup file that holds it. Empty otherwise.
  const std::string& keptBackup() const;

 private:
  class Replacement;
  std::unique_ptr<Replacement> replacement_;
};

// The file a save of path replaces: the path itself, or what its chain of symbolic links names.
std::string ResolveSaveTarget(const std::string& path);

// Makes an interruption (SIGINT, SIGTERM and SIGHUP; Ctrl+C, Ctrl+Break and closing the console)
// remove the temporary files of unfinished replacements before it ends the process as it would have.
// Signals that are ignored stay ignored. Once an interruption has come, no thread starts a new
// temporary file, and a file being rewritten in place is finished first.
void RemoveTemporaryFilesOnTermination();

}  // namespace propdesk
