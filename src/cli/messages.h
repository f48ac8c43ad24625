#pragma once
// The lines propdesk-native2ascii writes to standard error, each ending in a line feed.
#include <string>

#include "convert/native_check.h"

namespace propdesk::cli {

// A path as printed, one line whatever its bytes: control characters become escapes (\n, \t, \r,
// \xHH).
std::string Printable(const std::string& path);
// How a file is named in messages.
std::string Quoted(const std::string& path);

// "cannot ACTION FILE: REASON", from a reason or an errno value.
std::string DescribeFailure(const char* action, const std::string& file, const std::string& reason);
std::string DescribeFailure(const char* action, const std::string& file, int error);

// What is wrong with input that the encoding does not define, and a hint when code page 932 input
// looks like UTF-8; empty when there is nothing to say. Warnings, or errors under -strict.
std::string DescribeInputProblems(const std::string& file, const NativeTextCheck& check, bool strict);

}  // namespace propdesk::cli
