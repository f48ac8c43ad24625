#pragma once
// A file replaced as a whole. The new content goes to a temporary file beside the target; until
// Commit the target is untouched, and a writer dropped without Commit removes its temporary file.
// The file keeps its owner, group, permission bits, extended attributes (the access ACL among them)
// and hard links. Mostly the temporary file is renamed over the target. When that would give the
// file another owner or group (the saver cannot give it back) or cut its hard links, the file is
// rewritten in place instead: its old content is first copied to a backup file beside it, and the
// copy is removed once the new content is on disk.
#include <sys/stat.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_descriptor.h"
#include "common/system_result.h"

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

  // Starts replacing path; a symbolic link is followed and the file it names is replaced. Fails
  // for a target that may not be written: a file without write permission (even for a privileged
  // user), something other than a regular file, a chain of links that never ends, or a folder that
  // refuses new files. A new file gets newFileMode exactly when it is given, else 0666 less the umask.
  SaveResult Open(const std::string& path, std::optional<mode_t> newFileMode = std::nullopt);
  // Starts replacing the existing file name in the open folder. A symbolic link there is refused,
  // never followed, so that what replaced the file since the folder was read cannot redirect the write.
  SaveResult OpenAt(int folder, const std::string& name);
  SaveResult Write(std::string_view data);
  // The temporary file, for writing to it directly; -1 when not open.
  int fd() const { return file_.get(); }
  // Makes the new content durable and puts it in the target's place.
  SaveResult Commit();
  // After an in-place rewrite failed and the old content could not be put back: the name, in the
  // target's folder, of the backup file that holds it. Empty otherwise.
  const std::string& keptBackup() const { return keptBackup_; }

 private:
  bool OpenPath(const std::string& path, std::optional<mode_t> newFileMode);
  bool OpenName(int folder, const std::string& name);
  bool WriteData(std::string_view data);
  bool Finish();
  SaveResult Outcome(bool done) const;
  bool Start(const std::string& name, std::optional<mode_t> newFileMode);
  bool Create(std::string& name, FileDescriptor& file, mode_t mode);
  bool TakeOverAttributes(const struct stat& target);
  bool OpenTargetInPlace(const struct stat& target);
  bool RewriteInPlace();
  bool Fail(int error);
  void Remove(std::string& name);
  void Discard();
  void Reset();

  FileDescriptor folder_;   // the target's folder
  std::string name_;        // the target's name in it
  FileDescriptor file_;     // the new content
  std::string temporary_;   // its name
  FileDescriptor target_;   // the target itself, when rewritten in place
  FileDescriptor backup_;   // the target's old content, while it is rewritten in place
  std::string backupName_;
  std::string keptBackup_;
  int error_ = 0;
  bool folderRefused_ = false;
};

// The file a save of path replaces: the path itself, or what its chain of symbolic links names.
std::string ResolveSaveTarget(const std::string& path);

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary files of unfinished replacements before the
// signal ends the process as it would have. Signals that are ignored stay ignored. Once such a
// signal has come, no thread starts a new temporary file, and a file being rewritten in place is
// finished first.
void RemoveTemporaryFilesOnTermination();

}  // namespace propdesk
