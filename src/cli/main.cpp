// propdesk-native2ascii: converts between native text and \uXXXX escapes with the editor's codec.
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/conversion.h"
#include "cli/file_batch.h"
#include "cli/messages.h"
#include "cli/stream_pump.h"
#include "common/version.h"
#include "platform/atomic_file.h"
#include "platform/file_handle.h"
#include "platform/program_io.h"
#include "platform/system_error.h"
#include "platform/whole_file.h"

namespace propdesk::cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string DisplayName(const std::optional<std::string>& path, const char* stream) {
  return path ? Quoted(*path) : stream;
}

int ReportFailure(const char* action, const std::string& file, int error) {
  WriteText(TextStream::kError, DescribeFailure(action, file, error));
  return kExitFailure;
}

int ReportWriteFailure(const std::string& path, const SaveResult& failure, const std::string& keptBackup) {
  WriteText(TextStream::kError, DescribeWriteFailure(path, failure, keptBackup));
  return kExitFailure;
}

int Run(const CommandLine& commandLine) {
  const std::string inputName = DisplayName(commandLine.input, "standard input");
  const std::string outputName = DisplayName(commandLine.output, "standard output");
  FileHandle inputFile;
  if (commandLine.input) {
    if (const SystemResult opened = OpenForReading(*commandLine.input, inputFile); !opened.ok()) {
      return ReportFailure("read", inputName, opened.systemError);
    }
  }
  AtomicFile outputFile;
  FileHandle outputStream;
  // A pipe or a device (such as /dev/stdout or NUL) cannot be replaced; the output is written into it.
  const bool replacesFile = commandLine.output && !IsStream(*commandLine.output);
  if (const SaveResult opened = replacesFile ? outputFile.Open(*commandLine.output) : SaveResult{}; !opened.ok()) {
    return ReportWriteFailure(*commandLine.output, opened, {});
  }
  if (commandLine.output && !replacesFile) {
    if (const SystemResult opened = OpenStreamForWriting(*commandLine.output, outputStream); !opened.ok()) {
      return ReportFailure("write", outputName, opened.systemError);
    }
  }
  const NativeHandle input = commandLine.input ? inputFile.get() : StandardInput();
  const NativeHandle output = replacesFile ? outputFile.handle() : commandLine.output ? outputStream.get() : StandardOutput();

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
      WriteText(TextStream::kError, problems);
      return kExitFailure;
    }
    std::string converted;
    if (!ConvertWhole(commandLine, text, converted)) return ReportFailure("convert", inputName, kOutOfMemoryError);
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
  WriteText(TextStream::kError, DescribeInputProblems(inputName, check, false));
  return 0;
}

}  // namespace
}  // namespace propdesk::cli

int main(int argc, char** argv) {
  using namespace propdesk;
  using namespace propdesk::cli;
  RemoveTemporaryFilesOnTermination();
  try {
    CommandLine commandLine;
    std::string problem;
    if (!ParseCommandLine(ProgramArguments(argc, argv), commandLine, problem)) {
      WriteText(TextStream::kError, "propdesk-native2ascii: " + problem + "\n" + kUsage);
      return kExitUsage;
    }
    if (commandLine.help) {
      WriteText(TextStream::kOutput, kUsage);
      return 0;
    }
    if (commandLine.version) {
      WriteText(TextStream::kOutput, std::string("propdesk-native2ascii ") + kVersion + "\n");
      return 0;
    }
    return commandLine.mode == Mode::kOneFile ? Run(commandLine) : RunOnFiles(commandLine);
  } catch (const std::exception& failure) {
    WriteText(TextStream::kError, std::string("propdesk-native2ascii: ") + failure.what() + "\n");
    return kExitFailure;
  }
}
