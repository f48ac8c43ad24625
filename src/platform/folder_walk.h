#pragma once
// Reading folders for batch work on the files in them: a folder is held while its files are worked
// on, so that (on POSIX) a file is reached through it and never through a link put in the way later.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/system_result.h"
#include "platform/file_handle.h"
#include "platform/file_identity.h"

namespace propdesk {

// The characters that end a folder's name in a path: "/" on POSIX, "\\/" on Windows.
extern const char kPathSeparators[];

// A folder held open (POSIX) or known by its path (Windows).
struct HeldFolder {
  FileHandle handle;
  std::string path;  // as named, ending in a separator unless empty (the current folder)
};
using SharedFolder = std::shared_ptr<const HeldFolder>;

enum class EntryKind { kFile, kFolder, kOther };

struct FolderEntry {
  std::string name;
  EntryKind kind = EntryKind::kOther;  // a symbolic link (or other reparse point) is kOther
  FileIdentity identity;
  std::uint64_t size = 0;
  int error = 0;  // the system's error when the entry could not be examined
};

// Holds the folder at path.
SystemResult HoldFolder(const std::string& path, SharedFolder& folder);
// Holds the folder name inside folder; a symbolic link there is refused.
SystemResult HoldSubfolder(const HeldFolder& folder, const std::string& name, SharedFolder& subfolder);
// The entries of folder other than . and .., in no particular order.
SystemResult ListFolder(const HeldFolder& folder, std::vector<FolderEntry>& entries);
// What path names, following symbolic links.
SystemResult ExaminePath(const std::string& path, FolderEntry& entry);
// Opens the regular file name in folder for reading, never through a link and without waiting on a
// named pipe; notRegular tells when something else is there.
SystemResult OpenFileIn(const HeldFolder& folder, const std::string& name, FileHandle& file, bool& notRegular);

// True when the file name matches pattern: *, ? and [...] as the system's shell reads them (on
// Windows without regard to case, as its file names are).
[[nodiscard]] bool NameMatches(const std::string& pattern, const std::string& name);

// Lets the process hold as many open files as the system allows.
void AllowAllOpenFiles();

}  // namespace propdesk
