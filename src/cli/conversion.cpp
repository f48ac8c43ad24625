#include "cli/conversion.h"

#include "convert/escape_codec.h"
#include "convert/meaning_safe_decoder.h"
#include "convert/utf8_escape_codec.h"

namespace propdesk::cli {

std::unique_ptr<StreamConverter> MakeConverter(const CommandLine& commandLine) {
  if (commandLine.encoding == NativeEncoding::kUtf8) {
    if (commandLine.reverse) return std::make_unique<Utf8EscapeDecoder>();
    return std::make_unique<Utf8EscapeEncoder>();
  }
  if (commandLine.reverse) return std::make_unique<EscapeDecoder>();
  return std::make_unique<EscapeEncoder>();
}

bool NeedsWholeText(const CommandLine& commandLine) { return commandLine.keepSyntax && commandLine.reverse; }

bool ConvertWhole(const CommandLine& commandLine, std::string_view text, std::string& result) {
  if (NeedsWholeText(commandLine)) return DecodeEscapesKeepingMeaning(text, result);
  return ConvertWholeText(*MakeConverter(commandLine), text, result);
}

NativeTextCheck CheckWhole(const CommandLine& commandLine, std::string_view text) {
  NativeTextCheck check(commandLine.encoding);
  check.Feed(text);
  check.Finish();
  return check;
}

}  // namespace propdesk::cli
