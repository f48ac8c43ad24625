#pragma once
// Anonymous temporary files for handing text to a child process.
#include "common/system_result.h"
#include "platform/file_handle.h"

namespace propdesk {

// Creates a fresh file named "EXC..." in the user's temporary folder ($TMPDIR, else /tmp;
// GetTempPathW on Windows), open for reading and writing, that disappears when it is closed. A child
// started by StartCommand can be given it as a standard stream; no other child inherits it.
SystemResult CreateTempFile(FileHandle& file);

}  // namespace propdesk
