#include "convert/external_converter.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "common/string_table.h"
#include "convert/command_splitter.h"
#include "convert/temp_file.h"

namespace propdesk {
namespace {

constexpr std::size_t kMessageCapacity = 1024;

bool HasCodePlaceholder(ConversionStatus status) {
  return status == ConversionStatus::TempFileError || status == ConversionStatus::LaunchFailed ||
         status == ConversionStatus::ExitCodeUnavailable;
}

}  // namespace

std::string ConversionMessage(ConversionStatus status, int systemError) {
  const int code = static_cast<int>(status);
  std::string message;
  if (status == ConversionStatus::None) return message;
  const bool known = code >= static_cast<int>(ConversionStatus::BadParameter) &&
                     code <= static_cast<int>(ConversionStatus::CommandNotFound);
  LoadText(known ? IDS_CONVERSION_FIRST + code - 1 : IDS_UNEXPECTED_ERROR, message);
  if (HasCodePlaceholder(status)) FillPlaceholder(message, "%d", std::to_string(systemError));
  CutToCapacity(message, kMessageCapacity);
  return message;
}

ExternalConverter::ExternalConverter(CancelCheck shouldCancel) : shouldCancel_(std::move(shouldCancel)) {}

bool ExternalConverter::ToEscaped(std::string_view commandPath, std::string_view text) {
  input_ = text;
  return ConvertThroughFiles(commandPath);
}

bool ExternalConverter::ToNative(std::string_view commandPath, std::string_view text) {
  input_ = text;
  return ConvertThroughFiles(std::string(commandPath) + " -reverse");
}

bool ExternalConverter::ConvertThroughFiles(std::string_view commandLine) {
  FileDescriptor outputFile;
  FileDescriptor inputFile;
  if (const int error = CreateTempFile(outputFile)) return Fail(ConversionStatus::TempFileError, error);
  if (const int error = CreateTempFile(inputFile)) return Fail(ConversionStatus::TempFileError, error);
  if (!WriteAll(inputFile.get(), input_) || ::lseek(inputFile.get(), 0, SEEK_SET) != 0) {
    return Fail(ConversionStatus::TempFileError, errno);
  }
  const bool ran = RunCommand(commandLine, inputFile.get(), outputFile.get());
  inputFile.Reset(-1);
  if (!ran || !ReadOutput(outputFile.get())) return false;
  // native2ascii never maps text to nothing: a command that wrote nothing has failed.
  return !output_.empty() || input_.empty() || Fail(ConversionStatus::CommandFailed, 0);
}

bool ExternalConverter::RunCommand(std::string_view commandLine, int inputFile, int outputFile) {
  // A NUL would silently cut the line short; refuse it like an overlong one.
  if (commandLine.size() >= kCommandLineLimit || commandLine.find('\0') != std::string_view::npos) {
    return Fail(ConversionStatus::BadParameter, 0);
  }
  pid_t child = 0;
  if (const int error = StartChild(CommandArguments(commandLine), inputFile, outputFile, child)) {
    return Fail(ConversionStatus::LaunchFailed, error);
  }
  const ChildEnding ending = WaitForChild(child, shouldCancel_);
  // A command ended by the person or by a signal counts as one that failed.
  if (ending.cancelled) return Fail(ConversionStatus::CommandFailed, 0);
  if (ending.waitError != 0) return Fail(ConversionStatus::ExitCodeUnavailable, ending.waitError);
  if (!WIFEXITED(ending.waitStatus) || WEXITSTATUS(ending.waitStatus) != 0) {
    return Fail(ConversionStatus::CommandFailed, 0);
  }
  return true;
}

bool ExternalConverter::ReadOutput(int outputFile) {
  struct stat info {};
  if (::fstat(outputFile, &info) != 0) return Fail(ConversionStatus::TempFileError, errno);
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > output_.max_size()) return Fail(ConversionStatus::OutOfMemory, 0);
  try {
    output_.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    return Fail(ConversionStatus::OutOfMemory, 0);
  }
  std::size_t done = 0;
  while (done < output_.size()) {
    const ssize_t got = ::pread(outputFile, output_.data() + done, output_.size() - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return Fail(ConversionStatus::TempFileError, got < 0 ? errno : 0);
    done += static_cast<std::size_t>(got);
  }
  return true;
}

const std::string& ExternalConverter::ErrorText() {
  message_ = ConversionMessage(status_, systemError_);
  return message_;
}

bool ExternalConverter::Fail(ConversionStatus status, int systemError) {
  status_ = status;
  systemError_ = systemError;
  output_.clear();
  output_.shrink_to_fit();
  return false;
}

}  // namespace propdesk
