#pragma once
// Test helpers for external commands on every platform: a private folder that the system's
// temporary files go to, and a way to tell that a process has ended.
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace propdesk::test {

// While it lives, the system's temporary files are made in a folder of its own: $TMPDIR names it
// on POSIX, TMP on Windows.
class PrivateTempFolder {
 public:
  PrivateTempFolder();
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
  ~PrivateTempFolder();

  const std::string& path() const { return dir_.path(); }
  // What is left in the folder.
  std::vector<std::string> Leftovers() const;

 private:
  TempDir dir_;
  std::optional<std::string> saved_;
};

// True when the process with this id has ended (no longer exists, or is a zombie), waiting up to
// two seconds for it to go.
bool ProcessEnded(long id);

}  // namespace propdesk::test
