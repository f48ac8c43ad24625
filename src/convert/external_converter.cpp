#include "convert/external_converter.h"

#include "common/string_table.h"
#include "platform/system_error.h"
#include "platform/temp_file.h"
#include "platform/whole_file.h"

namespace propdesk {
namespace {

constexpr std::size_t kMessageCapacity = 1024;
constexpr std::size_t kCommandLineLimit = 4096;

bool HasCodePlaceholder(ConversionStatus status) {
  return status == ConversionStatus::TempFileError || status == ConversionStatus::LaunchFailed ||
         status == ConversionStatus::ExitCodeUnavailable;
}

ExternalConversion Failed(ConversionStatus status, int systemError) { return {status, systemError, {}}; }

// Runs commandLine with the two open files as its standard input and output and judges its end:
// None when it ran and exited with code 0.
ExternalConversion RunConverter(std::string_view commandLine, NativeHandle inputFile, NativeHandle outputFile,
                                const CancelCheck& shouldCancel) {
  // A NUL would silently cut the line short; refuse it like an overlong one.
  if (commandLine.size() >= kCommandLineLimit || commandLine.find('\0') != std::string_view::npos) {
    return Failed(ConversionStatus::BadParameter, 0);
  }
  const CommandOutcome ending = RunCommand(commandLine, inputFile, outputFile, shouldCancel);
  if (ending.startError != 0) return Failed(ConversionStatus::LaunchFailed, ending.startError);
  if (ending.cancelled) return Failed(ConversionStatus::Cancelled, 0);
  if (ending.waitError != 0) return Failed(ConversionStatus::ExitCodeUnavailable, ending.waitError);
  // A command ended by a signal counts as one that failed.
  if (!ending.succeeded) return Failed(ConversionStatus::CommandFailed, 0);
  return {};
}

ExternalConversion ReadOutput(NativeHandle outputFile) {
  // The command's writes moved the file offset that it shares with ours.
  if (const SystemResult rewound = Rewind(outputFile); !rewound.ok()) {
    return Failed(ConversionStatus::TempFileError, rewound.systemError);
  }
  ExternalConversion read;
  const SystemResult result = ReadToEnd(outputFile, read.output);
  if (result.systemError == kOutOfMemoryError) return Failed(ConversionStatus::OutOfMemory, 0);
  if (!result.ok()) return Failed(ConversionStatus::TempFileError, result.systemError);
  return read;
}

ExternalConversion ConvertThroughFiles(std::string_view commandLine, std::string_view text,
                                       const CancelCheck& shouldCancel) {
  FileHandle outputFile;
  FileHandle inputFile;
  for (FileHandle* file : {&outputFile, &inputFile}) {
    if (const SystemResult created = CreateTempFile(*file); !created.ok()) {
      return Failed(ConversionStatus::TempFileError, created.systemError);
    }
  }
  if (const SystemResult written = WriteAll(inputFile.get(), text); !written.ok()) {
    return Failed(ConversionStatus::TempFileError, written.systemError);
  }
  if (const SystemResult rewound = Rewind(inputFile.get()); !rewound.ok()) {
    return Failed(ConversionStatus::TempFileError, rewound.systemError);
  }
  const ExternalConversion ran = RunConverter(commandLine, inputFile.get(), outputFile.get(), shouldCancel);
  inputFile.Reset();
  if (!ran.Succeeded()) return ran;
  ExternalConversion read = ReadOutput(outputFile.get());
  // native2ascii never maps text to nothing: a command that wrote nothing has failed.
  if (read.Succeeded() && read.output.empty() && !text.empty()) return Failed(ConversionStatus::CommandFailed, 0);
  return read;
}

}  // namespace

std::string ConversionMessage(ConversionStatus status, int systemError) {
  const int code = static_cast<int>(status);
  std::string message;
  if (status == ConversionStatus::None) return message;
  // The statuses of the original table have consecutive ids; a cancel has an id of its own.
  int id = IDS_UNEXPECTED_ERROR;
  if (status == ConversionStatus::Cancelled) {
    id = IDS_CONVERSION_CANCELLED;
  } else if (code >= static_cast<int>(ConversionStatus::BadParameter) &&
             code <= static_cast<int>(ConversionStatus::CommandNotFound)) {
    id = IDS_CONVERSION_FIRST + code - 1;
  }
  LoadText(id, message);
  if (HasCodePlaceholder(status)) FillPlaceholder(message, "%d", std::to_string(systemError));
  CutToCapacity(message, kMessageCapacity);
  return message;
}

ExternalConversion ConvertExternally(ConversionDirection direction, std::string_view commandPath,
                                     std::string_view text, const CancelCheck& shouldCancel) {
  if (direction == ConversionDirection::ToEscaped) return ConvertThroughFiles(commandPath, text, shouldCancel);
  return ConvertThroughFiles(std::string(commandPath) + " -reverse", text, shouldCancel);
}

}  // namespace propdesk
