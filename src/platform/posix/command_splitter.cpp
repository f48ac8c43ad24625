#include "platform/posix/command_splitter.h"

#include <sys/stat.h>

namespace propdesk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool NamesExistingFile(const std::string& path) {
  struct stat info {};
  return path.find('/') != std::string::npos && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < commandLine.size();) {
    const char c = commandLine[i];
    if (IsBlank(c) && !quoted) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
      ++i;
      continue;
    }
    inArgument = true;
    if (c == '\\') {
      std::size_t backslashes = 0;
      while (i < commandLine.size() && commandLine[i] == '\\') ++backslashes, ++i;
      const bool beforeQuote = i < commandLine.size() && commandLine[i] == '"';
      current.append(beforeQuote ? backslashes / 2 : backslashes, '\\');
      if (beforeQuote && backslashes % 2 == 1) {
        current.push_back('"');
        ++i;
      }
    } else if (c == '"') {
      quoted = !quoted;
      ++i;
    } else {
      current.push_back(c);
      ++i;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

std::vector<std::string> CommandArguments(std::string_view commandLine) {
  for (std::size_t end = commandLine.size(); end > 0; --end) {
    if (end < commandLine.size() && !IsBlank(commandLine[end])) continue;
    std::string program(commandLine.substr(0, end));
    if (!NamesExistingFile(program)) continue;
    std::vector<std::string> arguments = SplitCommandLine(commandLine.substr(end));
    arguments.insert(arguments.begin(), std::move(program));
    return arguments;
  }
  return SplitCommandLine(commandLine);
}

}  // namespace propdesk
