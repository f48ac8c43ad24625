#pragma once
// Turns the configured command text into a program and its arguments.
#include <string>
#include <string_view>
#include <vector>

namespace propdesk {

// Splits text into arguments the way Windows programs split their command line: blanks and tabs
// separate arguments outside double quotes, a double quote starts or ends a quoted part, and
// backslashes are literal except before a double quote, where 2n backslashes give n and the quote
// takes effect while 2n+1 give n and a literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The program (first element) and its arguments. The longest leading part of the line that contains
// a slash, ends at a blank or at the end, and names an existing file is the program, blanks and all,
// so that a path with blanks needs no quotes; the rest of the line is split into arguments. When no
// such part exists the whole line is split. Empty when the line holds no argument at all.
std::vector<std::string> CommandArguments(std::string_view commandLine);

}  // namespace propdesk
