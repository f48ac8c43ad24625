#pragma once
// The system's error codes (errno values on POSIX, GetLastError values on Windows) as the few
// codes the program tells apart, and as text for a person.
#include <string>

namespace propdesk {

// Not having the memory for a whole file.
extern const int kOutOfMemoryError;
// Something other than a regular file where a regular file is needed.
extern const int kNotRegularFileError;

// The system's own description of the error, in UTF-8.
std::string SystemErrorText(int error);

}  // namespace propdesk
