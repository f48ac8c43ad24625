#pragma once
// Converts text with an external native2ascii-style command run over two temporary files: the text
// goes in as the command's standard input, its standard output is read back whole.
#include <string>
#include <string_view>
#include <utility>

#include "convert/child_process.h"

namespace propdesk {

enum class ConversionStatus : int {
  None = 0,
  BadParameter = 1,
  TempFileError = 2,
  LaunchFailed = 3,
  ExitCodeUnavailable = 4,
  CommandFailed = 5,
  OutOfMemory = 6,
  BadCommand = 7,
  CommandNotAbsolute = 8,
  CommandNotFound = 9,
};

// The message (UTF-8) for a status, with the system error code filled in where the text has a
// place for it; empty for None. At most 1023 bytes, cut on a character boundary.
std::string ConversionMessage(ConversionStatus status, int systemError);

// Serves one conversion: made, run once, read, released.
class ExternalConverter {
 public:
  // Command lines of this many bytes or more are refused.
  static constexpr std::size_t kCommandLineLimit = 4096;

  // shouldCancel, when given, is asked while the command runs; see CancelCheck.
  explicit ExternalConverter(CancelCheck shouldCancel = {});

  // Native text to escaped text: the command line is commandPath alone.
  bool ToEscaped(std::string_view commandPath, std::string_view text);
  // Escaped text to native text: the command line is commandPath followed by " -reverse".
  bool ToNative(std::string_view commandPath, std::string_view text);

  // Runs commandLine over the stored input through two temporary files. On success the command's
  // whole output is in the object; on failure the output stays empty and the status says why.
  bool ConvertThroughFiles(std::string_view commandLine);
  // Runs commandLine with the two open files as its standard input and output and judges its end:
  // true when it ran and exited with code 0.
  bool RunCommand(std::string_view commandLine, int inputFile, int outputFile);

  ConversionStatus Status() const { return status_; }
  // errno of the failing system call, 0 where the failure was not one.
  int SystemError() const { return systemError_; }
  // The message for the current status, as ConversionMessage gives it.
  const std::string& ErrorText();
  // Hands the output over; the object's output is empty afterwards.
  std::string TakeOutput() { return std::exchange(output_, {}); }

 private:
  bool Fail(ConversionStatus status, int systemError);
  bool ReadOutput(int outputFile);

  CancelCheck shouldCancel_;
  std::string_view input_;
  std::string output_;
  ConversionStatus status_ = ConversionStatus::None;
  int systemError_ = 0;
  std::string message_;
};

}  // namespace propdesk
