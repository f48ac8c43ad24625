#pragma once
// -inplace and -check: many files in one run.
#include "cli/command_line.h"

namespace propdesk::cli {

// Converts or checks every file the command line names and returns the exit status. A file that
// fails is reported and the others are still done.
int RunOnFiles(const CommandLine& commandLine);

}  // namespace propdesk::cli
