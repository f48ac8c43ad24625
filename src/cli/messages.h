#pragma once
// The lines propdesk-native2ascii writes to standard error, each ending in a line feed.
//
// Errors in the command-line converter: a file that cannot be read, converted or written gets one
// of these lines, naming it and the system's reason, and makes the exit status 1; the other files
// of a run are still done.
#include <string>

#include "common/system_result.h"
#include "convert/native_check.h"

namespace propdesk::cli {

// A path as printed, one line whatever its bytes: control characters become escapes (\n, \t, \r,
// \xHH).
std::string Printable(const std::string& path);
// How a file is named in messages.
std::string Quoted(const std::string& path);

// "cannot ACTION FILE: REASON", from a reason or a system error code.
std::string DescribeFailure(const char* action, const std::string& file, const std::string& reason);
std::string DescribeFailure(const char* action, const std::string& file, int error);
// "cannot write FILE: REASON" for a failed replacement of the file at path. keptBackup, when not
// empty, is the name in the file's folder of the backup that holds its old content.
std::string DescribeWriteFailure(const std::string& path, const SaveResult& failure, const std::string& keptBackup);

// What is wrong with input that the encoding does not define, and a hint when code page 932 input
// looks like UTF-8; empty when there is nothing to say. Warnings, or errors under -strict.
std::string DescribeInputProblems(const std::string& file, const NativeTextCheck& check, bool strict);

}  // namespace propdesk::cli
