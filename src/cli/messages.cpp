#include "cli/messages.h"

#include "platform/folder_walk.h"

#include "platform/system_error.h"

namespace propdesk::cli {
namespace {

constexpr char kPrefix[] = "propdesk-native2ascii: ";

}  // namespace

std::string Printable(const std::string& path) {
  std::string printed;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      printed += "\\n";
    } else if (c == '\t') {
      printed += "\\t";
    } else if (c == '\r') {
      printed += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      printed += "\\x";
      printed += "0123456789abcdef"[byte >> 4];
      printed += "0123456789abcdef"[byte & 15];
    } else {
      printed += c;
    }
  }
  return printed;
}

std::string Quoted(const std::string& path) { return "'" + Printable(path) + "'"; }

std::string DescribeFailure(const char* action, const std::string& file, const std::string& reason) {
  return kPrefix + std::string("cannot ") + action + " " + file + ": " + reason + "\n";
}

std::string DescribeFailure(const char* action, const std::string& file, int error) {
  return DescribeFailure(action, file, SystemErrorText(error));
}

std::string DescribeWriteFailure(const std::string& path, const SaveResult& failure, const std::string& keptBackup) {
  if (failure.folderRefusedNewFile) {
    return DescribeFailure("write", Quoted(path), "its folder refuses new files, which a safe save needs");
  }
  std::string reason = SystemErrorText(failure.systemError);
  if (!keptBackup.empty()) {
    const auto slash = path.find_last_of(kPathSeparators);
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    reason += "; its old content is in " + Quoted(folder + keptBackup);
  }
  return DescribeFailure("write", Quoted(path), reason);
}

std::string DescribeInputProblems(const std::string& file, const NativeTextCheck& check, bool strict) {
  const std::string start = kPrefix + std::string(strict ? "error: " : "warning: ") + file;
  std::string lines;
  if (const std::uint64_t count = check.invalidCount(); count > 0) {
    const bool one = count == 1;
    const char* what = check.encoding() == NativeEncoding::kUtf8
                           ? (one ? " invalid UTF-8 byte" : " invalid UTF-8 bytes")
                           : (one ? " character undefined in code page 932" : " characters undefined in code page 932");
    lines += start + ": " + std::to_string(count) + what + ", the first at byte offset " +
             std::to_string(check.firstInvalidOffset()) + "\n";
  }
  if (check.LooksLikeUtf8()) lines += start + " looks like UTF-8: use -encoding UTF-8\n";
  return lines;
}

}  // namespace propdesk::cli
