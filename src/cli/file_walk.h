#pragma once
// The files that -inplace and -check work on.
#include <string>
#include <vector>

namespace propdesk::cli {

// The paths named, each folder among them replaced by the files under it, at any depth, whose names
// match one of the patterns (fnmatch), in name order. A file named is taken whatever its name;
// symbolic links met inside a folder are not followed. Each path or folder that cannot be read
// adds a line to problems.
std::vector<std::string> CollectFiles(const std::vector<std::string>& paths, const std::vector<std::string>& patterns,
                                      std::string& problems);

}  // namespace propdesk::cli
