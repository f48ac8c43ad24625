#pragma once
// Whole-file reading and writing. These move bytes only and never show anything.
#include <string>
#include <string_view>

namespace propdesk {

// Reads the whole regular file at path into text. On failure text is left empty.
bool ReadWholeFile(const std::string& path, std::string& text);

// Replaces the file at path with data, atomically: a new file is written beside the target and
// renamed over it, keeping the target's permission bits and following a symbolic link. A target
// that may not be written (a read-only file, a folder that refuses) is left as it was.
bool WriteWholeFile(const std::string& path, std::string_view data);

// True when path names an existing file that is not a directory.
bool IsExistingFile(const std::string& path);

}  // namespace propdesk
