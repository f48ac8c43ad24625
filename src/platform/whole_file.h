#pragma once
// Whole-file reading and writing. These move bytes only and never show anything.
#include <optional>
#include <string>
#include <string_view>

#include "common/system_result.h"
#include "platform/file_handle.h"

namespace propdesk {

// POSIX permission bits, for a file that does not exist yet; Windows has none to give.
using NewFilePermissions = std::optional<unsigned>;

// Reads everything readable from the open file (a file, a pipe, a terminal) into text. Not having
// the memory for it fails with kOutOfMemoryError. On failure text is left empty.
SystemResult ReadToEnd(NativeHandle file, std::string& text);

// Reads the whole regular file at path into text. On failure text is left empty. Anything but a
// regular file (a pipe, a device) is refused without waiting on it.
SystemResult ReadWholeFile(const std::string& path, std::string& text);

// Replaces the file at path with data, atomically, keeping what the file is (see AtomicFile). A
// target that may not be written (a read-only file, a folder that refuses) is left as it was.
SaveResult WriteWholeFile(const std::string& path, std::string_view data, NewFilePermissions permissions = {});

// True when path names an existing regular file.
[[nodiscard]] bool IsExistingFile(const std::string& path);

// The size of the open file when it is a regular file; none for a pipe, a device or a failure.
std::optional<std::uint64_t> RegularFileSize(NativeHandle file);

}  // namespace propdesk
