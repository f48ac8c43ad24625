#pragma once
// The arguments of propdesk-native2ascii.
#include <optional>
#include <string>
#include <vector>

namespace propdesk::cli {

enum class NativeEncoding { kCp932, kUtf8 };

struct CommandLine {
  bool help = false;
  bool version = false;
  bool reverse = false;
  NativeEncoding encoding = NativeEncoding::kCp932;
  std::optional<std::string> input;   // none: standard input
  std::optional<std::string> output;  // none: standard output
};

extern const char kUsage[];

// Reads the arguments after the program name. On a usage error returns false and puts a one-line
// reason into problem.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& commandLine, std::string& problem);

}  // namespace propdesk::cli
