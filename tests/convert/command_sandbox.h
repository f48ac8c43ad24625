#pragma once
// External commands as POSIX shell scripts: a private temporary folder (see PrivateTempFolder),
// and scripts written into a folder whose name has a blank.
#include <string>
#include <string_view>
#include <vector>

#include "private_temp_folder.h"

namespace propdesk::test {

class CommandSandbox {
 public:
  CommandSandbox();

  // Writes an executable /bin/sh script with the given body into "<sandbox>/my tools/" and returns
  // its path.
  std::string Script(std::string_view name, std::string_view body) const;
  // A path inside the sandbox, outside the temporary folder.
  std::string File(std::string_view name) const { return dir_.File(name); }
  // The folder that $TMPDIR names.
  const std::string& TempFolder() const { return temp_.path(); }
  // What is left in the folder that $TMPDIR names.
  std::vector<std::string> TempLeftovers() const { return temp_.Leftovers(); }

 private:
  TempDir dir_;
  PrivateTempFolder temp_;
};

}  // namespace propdesk::test
