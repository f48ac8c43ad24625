#pragma once
// Converts text with an external native2ascii-style command run over two temporary files: the text
// goes in as the command's standard input, its standard output is read back whole.
#include <string>
#include <string_view>

#include "platform/child_process.h"

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
  Cancelled = 10,  // the person stopped the command
};

// The message (UTF-8) for a status, with the system error code filled in where the text has a
// place for it; empty for None. At most 1023 bytes, cut on a character boundary.
[[nodiscard]] std::string ConversionMessage(ConversionStatus status, int systemError);

enum class ConversionDirection { ToEscaped, ToNative };

// What one external conversion came to. On success the status is None and output holds the
// command's whole output; on failure output is empty, the status says why and systemError holds
// the system error code of the failing call (0 where the failure was not one).
struct [[nodiscard]] ExternalConversion {
  ConversionStatus status = ConversionStatus::None;
  int systemError = 0;
  std::string output;

  bool Succeeded() const { return status == ConversionStatus::None; }
};

// Converts text with the command: the command line is commandPath for ToEscaped and commandPath
// followed by " -reverse" for ToNative; a line of 4096 bytes or more, or one holding a NUL, is
// refused with BadParameter before anything starts. shouldCancel, when not empty, is asked while
// the command runs (see CancelCheck); a command it stops has failed with Cancelled. A command that
// ends by a signal, exits with a code other than 0 or writes nothing for some text has failed with
// CommandFailed. The temporary
// files are gone when the call returns, whatever its outcome.
ExternalConversion ConvertExternally(ConversionDirection direction, std::string_view commandPath,
                                     std::string_view text, const CancelCheck& shouldCancel);

}  // namespace propdesk
