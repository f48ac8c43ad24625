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
    "       propdesk-native2ascii -inplace|-check [OPTION]... FILE|DIR...\n"
    "Converts native text to \\uXXXX escapes, or escapes back to native text with -reverse.\n"
    "  -reverse        decode escapes instead of writing them\n"
    "  -encoding NAME  native encoding: MS932 (the default, also windows-31j or cp932) or UTF-8\n"
    "  -inplace        convert each FILE, and each matching file under each DIR, in place; a file\n"
    "                  that would not change is left untouched\n"
    "  -check          change nothing; list each file that would change and exit 1 if there is one\n"
    "  -include GLOB   the names of the files taken in folders (default *.properties); repeatable\n"
    "  -strict         fail, writing nothing, on input not valid in the encoding (reads it whole)\n"
    "  -keepsyntax     with -reverse, keep as escapes the characters that would read as syntax\n"
    "                  (control characters, backslash; blanks, = : # ! in keys and at value ends)\n"
    "                  and escapes after an escaped backslash or completing a short \\u;\n"
    "                  code page 932 only, reads the input whole\n"
    "  -h, --help      show this text\n"
    "  -version        show the version (also --version)\n"
    "INPUT and OUTPUT default to standard input and output; OUTPUT is replaced only on success.\n"
    "Exit status: 0 done, 1 failed (or -check found files to convert), 2 usage error.\n";

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
    } else if (argument == "-strict") {
      commandLine.strict = true;
    } else if (argument == "-keepsyntax") {
      commandLine.keepSyntax = true;
    } else if (argument == "-inplace" || argument == "-check") {
      const Mode mode = argument == "-inplace" ? Mode::kInPlace : Mode::kCheck;
      if (commandLine.mode != Mode::kOneFile && commandLine.mode != mode) {
        problem = "-inplace and -check exclude each other";
        return false;
      }
      commandLine.mode = mode;
    } else if (argument == "-include") {
      if (++i == arguments.size()) {
        problem = "-include needs a file name pattern";
        return false;
      }
      commandLine.includes.push_back(arguments[i]);
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
  if (commandLine.keepSyntax && commandLine.encoding != NativeEncoding::kCp932) {
    problem = "-keepsyntax works with code page 932 only";
    return false;
  }
  if (commandLine.mode != Mode::kOneFile) {
    if (files.empty()) {
      problem = "-inplace and -check need files or folders";
      return false;
    }
    if (commandLine.includes.empty()) commandLine.includes.push_back("*.properties");
    commandLine.paths = std::move(files);
    return true;
  }
  if (!commandLine.includes.empty()) {
    problem = "-include needs -inplace or -check";
    return false;
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
