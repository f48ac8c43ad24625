#pragma once
// The conversion a command line asks for.
#include <memory>
#include <string>

#include "cli/command_line.h"
#include "convert/stream_converter.h"

namespace propdesk::cli {

std::unique_ptr<StreamConverter> MakeConverter(const CommandLine& commandLine);

// Whether the conversion needs the whole text at once rather than blocks of it.
bool NeedsWholeText(const CommandLine& commandLine);

// Converts a whole text into result. Returns false only when no memory can be had.
[[nodiscard]] bool ConvertWhole(const CommandLine& commandLine, std::string_view text, std::string& result);

// The check of a whole text in the command line's encoding.
NativeTextCheck CheckWhole(const CommandLine& commandLine, std::string_view text);

}  // namespace propdesk::cli
