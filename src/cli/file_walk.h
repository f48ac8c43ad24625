#pragma once
// The files that -inplace and -check work on.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/folder_walk.h"

namespace propdesk::cli {

// A file to work on: a name in a folder held since the folder was read, so that the file is
// reached through that folder and never through a link put in the way later.
struct ListedFile {
  SharedFolder folder;
  std::string name;
  std::string path;  // for messages
  std::uint64_t size = 0;
};

// The paths named, each folder among them replaced by the files under it, at any depth, whose names
// match one of the patterns (NameMatches), in name order. A file named is taken whatever its name,
// and a link named is followed; symbolic links met inside a folder are not. A file reached twice
// (named twice, or also below a folder named) is listed once. Each path or folder that cannot be
// read adds a line to problems.
std::vector<ListedFile> CollectFiles(const std::vector<std::string>& paths, const std::vector<std::string>& patterns,
                                     std::string& problems);

}  // namespace propdesk::cli
