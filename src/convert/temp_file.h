#pragma once
// Anonymous temporary files for handing text to a child process.
#include "common/file_descriptor.h"
#include "common/system_result.h"

namespace propdesk {

// Creates a fresh file named "EXC..." in $TMPDIR (else /tmp), opened for reading and writing and
// removed from the folder at once, so that it disappears when the last descriptor closes. The
// descriptor is close-on-exec and never one of the standard streams.
SystemResult CreateTempFile(FileDescriptor& file);

}  // namespace propdesk
