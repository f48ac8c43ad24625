// propdesk-native2ascii: converts between native text and \uXXXX escapes with the editor's codec.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/conversion.h"
#include "cli/file_batch.h"
#include "cli/messages.h"
#include "cli/stream_pump.h"
#include "common/atomic_file.h"
#include "common/file_descriptor.h"
#include "common/version.h"
#include "common/whole_file.h"

namespace propdesk::cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string DisplayName(const std::optional<std::string>& path, const char* stream) {
  return path ? Quoted(*path) : stream;
}

int ReportFailure(const char* action, const std::string& file, int error) {
  std::fputs(DescribeFailure(action, file, error).c_str(), stderr);
  return kExitFailure;
}

int ReportWriteFailure(const std::string& path, const SaveResult& failure, const std::string& keptBackup) {
  std::fputs(DescribeWriteFailure(path, failure, keptBackup).c_str(), stderr);
  return kExitFailure;
}

// A pipe or a device (such as /dev/stdout) cannot be replaced; the output is written into it.
bool IsStream(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode));
}

int Run(const CommandLine& commandLine) {
  const std::string inputName = DisplayName(commandLine.input, "standard input");
  const std::string outputName = DisplayName(commandLine.output, "standard output");
  FileDescriptor inputFile;
  if (commandLine.input) {
    inputFile.Reset(::open(commandLine.input->c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (inputFile.get() < 0) return ReportFailure("read", inputName, errno);
  }
  AtomicFile outputFile;
  FileDescriptor outputStream;
  const bool replacesFile = commandLine.output && !IsStream(*commandLine.output);
  if (const SaveResult opened = replacesFile ? outputFile.Open(*commandLine.output) : SaveResult{}; !opened.ok()) {
    return ReportWriteFailure(*commandLine.output, opened, {});
  }
  if (commandLine.output && !replacesFile) {
    outputStream.Reset(::open(commandLine.output->c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (outputStream.get() < 0) return ReportFailure("write", outputName, errno);
  }
  const int input = commandLine.input ? inputFile.get() : STDIN_FILENO;
  const int output = replacesFile ? outputFile.fd() : commandLine.output ? outputStream.get() : STDOUT_FILENO;

  NativeTextCheck check(commandLine.encoding);
  if (commandLine.strict || NeedsWholeText(commandLine)) {
    // Under -strict the whole input is checked before anything is written, standard output included.
    std::string text;
    if (const SystemResult read = ReadToEnd(input, text); !read.ok()) {
      return ReportFailure("read", inputName, read.systemError);
    }
    check = CheckWhole(commandLine, text);
    if (const std::string problems = DescribeInputProblems(inputName, check, true);
        commandLine.strict && !problems.empty()) {
      std::fputs(problems.c_str(), stderr);
      return kExitFailure;
    }
    std::string converted;
    if (!ConvertWhole(commandLine, text, converted)) return ReportFailure("convert", inputName, ENOMEM);
    if (const SystemResult written = WriteAll(output, converted); !written.ok()) {
      return ReportFailure("write", outputName, written.systemError);
    }
  } else {
    const PumpResult result = PumpStream(*MakeConverter(commandLine), check, input, output);
    if (result.failure == PumpResult::Failure::kRead) return ReportFailure("read", inputName, result.error);
    if (result.failure == PumpResult::Failure::kWrite) return ReportFailure("write", outputName, result.error);
  }
  if (const SaveResult committed = replacesFile ? outputFile.Commit() : SaveResult{}; !committed.ok()) {
    return ReportWriteFailure(*commandLine.output, committed, outputFile.keptBackup());
  }
  std::fputs(DescribeInputProblems(inputName, check, false).c_str(), stderr);
  return 0;
}

}  // namespace
}  // namespace propdesk::cli

int main(int argc, char** argv) {
  using namespace propdesk::cli;
  propdesk::RemoveTemporaryFilesOnTermination();
  try {
    CommandLine commandLine;
    std::string problem;
    if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), commandLine, problem)) {
      std::fprintf(stderr, "propdesk-native2ascii: %s\n%s", problem.c_str(), kUsage);
      return kExitUsage;
    }
    if (commandLine.help) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (commandLine.version) {
      std::printf("propdesk-native2ascii %s\n", propdesk::kVersion);
      return 0;
    }
    return commandLine.mode == Mode::kOneFile ? Run(commandLine) : RunOnFiles(commandLine);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "propdesk-native2ascii: %s\n", failure.what());
    return kExitFailure;
  }
}
