#pragma once
// The one door through which the document converts text: the built-in codec or the external
// command, as the caller chooses at the moment of the call.
//
// Errors in the convert layer: the external converter returns a ConversionStatus with the system
// error code of the call that failed (ExternalConversion), child processes and temporary files a
// SystemResult; these conversions turn a failure into false and the message to show. Nothing in
// this layer shows anything itself.
#include <string>
#include <string_view>

#include "platform/child_process.h"

namespace propdesk {

// The converter a conversion uses: the built-in codec, or the external command with the check it
// asks while the command runs.
struct ConverterChoice {
  bool useExternal = false;
  std::string_view commandPath;
  CancelCheck shouldCancel;
};

// Escaped .properties bytes to native text, with the converter chosen; an external command asks
// choice.shouldCancel while it runs. The built-in codec keeps as text every escape whose character
// would change the file's meaning once saved (DecodeEscapesKeepingMeaning). On failure returns
// false, leaves text exactly as it was and, when errorText is not null, puts the message (UTF-8)
// there.
[[nodiscard]] bool ConvertToNative(std::string& text, std::string* errorText, const ConverterChoice& choice);
// Native text to escaped .properties bytes, with the same contract.
[[nodiscard]] bool ConvertToEscaped(std::string& text, std::string* errorText, const ConverterChoice& choice);
// ConvertToNative into native, leaving the bytes as they are, for a caller that keeps them.
[[nodiscard]] bool ConvertToNative(std::string_view escaped, std::string& native, std::string* errorText,
                                   const ConverterChoice& choice);

}  // namespace propdesk
