#pragma once
// The arguments of propdesk-native2ascii.
#include <optional>
#include <string>
#include <vector>

#include "convert/native_check.h"

namespace propdesk::cli {

// One input to one output, every named file converted in place, or every named file checked.
enum class Mode { kOneFile, kInPlace, kCheck };

struct CommandLine {
  bool help = false;
  bool version = false;
  bool reverse = false;
  NativeEncoding encoding = NativeEncoding::kCp932;
  bool strict = false;      // input not valid in the encoding fails instead of warning
  bool keepSyntax = false;  // decoding keeps the escapes whose characters would read as syntax
  Mode mode = Mode::kOneFile;
  std::optional<std::string> input;   // kOneFile; none: standard input
  std::optional<std::string> output;  // kOneFile; none: standard output
  std::vector<std::string> paths;     // kInPlace, kCheck: the files and folders named
  std::vector<std::string> includes;  // kInPlace, kCheck: the name patterns of files taken in folders
};

extern const char kUsage[];

// Reads the arguments after the program name. On a usage error returns false and puts a one-line
// reason into problem.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& commandLine, std::string& problem);

}  // namespace propdesk::cli
