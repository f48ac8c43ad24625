#pragma once
// Whole-file reading and writing. These move bytes only and never show anything.
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/system_result.h"

namespace propdesk {

// Reads everything readable from the open descriptor fd (a file, a pipe, a terminal) into text.
// Not having the memory for it fails with ENOMEM. On failure text is left empty.
SystemResult ReadToEnd(int fd, std::string& text);

// Reads the whole regular file at path into text. On failure text is left empty. Anything but a
// regular file (a FIFO, a device) is refused without waiting on it.
SystemResult ReadWholeFile(const std::string& path, std::string& text);

// Replaces the file at path with data, atomically, keeping the target's owner, group, permission
// bits, extended attributes and hard links and following a symbolic link (see AtomicFile). A target
// that may not be written (a read-only file, a folder that refuses) is left as it was. A new file gets newFileMode when it is given.
SaveResult WriteWholeFile(const std::string& path, std::string_view data,
                          std::optional<mode_t> newFileMode = std::nullopt);

// True when path names an existing regular file.
[[nodiscard]] bool IsExistingFile(const std::string& path);

}  // namespace propdesk
