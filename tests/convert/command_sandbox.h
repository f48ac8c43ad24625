#pragma once
// A private temporary folder for external commands: $TMPDIR points into it while the sandbox
// lives, and scripts can be written into a folder whose name has a blank.
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace propdesk::test {

class CommandSandbox {
 public:
  CommandSandbox();
  CommandSandbox(const CommandSandbox&) = delete;
  CommandSandbox& operator=(const CommandSandbox&) = delete;
  ~CommandSandbox();

  // Writes an executable /bin/sh script with the given body into "<sandbox>/my tools/" and returns
  // its path.
  std::string Script(std::string_view name, std::string_view body) const;
  // A path inside the sandbox, outside the temporary folder.
  std::string File(std::string_view name) const { return dir_.File(name); }
  // The folder that $TMPDIR names.
  const std::string& TempFolder() const { return tempFolder_; }
  // What is left in the folder that $TMPDIR names.
  std::vector<std::string> TempLeftovers() const;

 private:
  TempDir dir_;
  std::string tempFolder_;
  std::string savedTmpdir_;
  bool hadTmpdir_ = false;
};

// True when the process has ended (no longer exists or is a zombie), waiting up to two seconds
// for it to go.
bool ProcessEnded(pid_t pid);

}  // namespace propdesk::test
