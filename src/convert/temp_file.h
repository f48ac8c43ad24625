#pragma once
// Anonymous temporary files for handing text to a child process.
#include "common/file_descriptor.h"

namespace propdesk {

// Creates a fresh file named "EXC..." in $TMPDIR (else /tmp), opened for reading and writing and
// removed from the folder at once, so that it disappears when the last descriptor closes. The
// descriptor is close-on-exec and never one of the standard streams. Returns 0, or errno on failure.
[[nodiscard]] int CreateTempFile(FileDescriptor& file);

}  // namespace propdesk
