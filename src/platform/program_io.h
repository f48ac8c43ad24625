#pragma once
// What a command-line program gets from and gives to the system as text: its arguments, and
// messages for a person.
#include <string>
#include <string_view>
#include <vector>

namespace propdesk {

// The arguments after the program's name, in UTF-8. On Windows they come from the wide command
// line, so that any name works whatever the system's code page.
std::vector<std::string> ProgramArguments(int argc, char** argv);

enum class TextStream { kOutput, kError };

// Writes UTF-8 text for a person: to a console as characters it can show, elsewhere as UTF-8 bytes.
void WriteText(TextStream stream, std::string_view text);

}  // namespace propdesk
