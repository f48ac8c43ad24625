#pragma once
// -inplace and -check: many files in one run.
#include <vector>

#include "cli/command_line.h"
#include "cli/file_walk.h"

namespace propdesk::cli {

// Converts or checks every file the command line names and returns the exit status. A file that
// fails is reported and the others are still done.
int RunOnFiles(const CommandLine& commandLine);
// The same for files already listed.
int RunOnFiles(const CommandLine& commandLine, const std::vector<ListedFile>& files);

}  // namespace propdesk::cli
