#include "cli/command_line.h"

#include <algorithm>
#include <cctype>

namespace propdesk::cli {
namespace {

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool ParseEncoding(const std::string& name, NativeEncoding& encoding) {
  const std::string key = Lowercase(name);
  if (key == "ms932" || key == "windows-31j" || key == "cp932") {
    encoding = NativeEncoding::kCp932;
    return true;
  }
  if (key == "utf-8" || key == "utf8") {
    encoding = NativeEncoding::kUtf8;
    return true;
  }
  return false;
}

}  // namespace

const char kUsage[] =
    "Usage: propdesk-native2ascii [-reverse] [-encoding NAME] [INPUT [OUTPUT]]\n"
    "Converts native text to \\uXXXX escapes, or escapes back to native text with -reverse.\n"
    "  -reverse        decode escapes instead of writing them\n"
    "  -encoding NAME  native encoding: MS932 (the default, also windows-31j or cp932) or UTF-8\n"
    "  -h, --help      show this text\n"
    "  -version        show the version (also --version)\n"
    "INPUT and OUTPUT default to standard input and output; OUTPUT is replaced only on success.\n";

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& commandLine, std::string& problem) {
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      files.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      commandLine.help = true;
      return true;
    } else if (argument == "-version" || argument == "--version") {
      commandLine.version = true;
      return true;
    } else if (argument == "-reverse") {
      commandLine.reverse = true;
    } else if (argument == "-encoding") {
      if (++i == arguments.size()) {
        problem = "-encoding needs an encoding name";
        return false;
      }
      if (!ParseEncoding(arguments[i], commandLine.encoding)) {
        problem = "unknown encoding '" + arguments[i] + "'";
        return false;
      }
    } else {
      problem = "unknown option '" + argument + "'";
      return false;
    }
  }
  if (files.size() > 2) {
    problem = "too many file names";
    return false;
  }
  if (!files.empty()) commandLine.input = files[0];
  if (files.size() == 2) commandLine.output = files[1];
  return true;
}

}  // namespace propdesk::cli
