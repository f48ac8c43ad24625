#include "command_sandbox.h"

#include <filesystem>

namespace propdesk::test {

CommandSandbox::CommandSandbox() { std::filesystem::create_directory(dir_.File("my tools")); }

std::string CommandSandbox::Script(std::string_view name, std::string_view body) const {
  const std::string path = dir_.File("my tools/" + std::string(name));
  WriteFileBytes(path, "#!/bin/sh\n" + std::string(body) + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

}  // namespace propdesk::test
