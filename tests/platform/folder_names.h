#pragma once
// The names in a folder, sorted, to show that no temporary file stays behind.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace propdesk::test {

inline std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(folder))) {
    names.push_back(Utf8Path(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace propdesk::test
