#pragma once
// The one door through which the document converts text: the built-in codec or the external
// command, as the settings say at the moment of the call.
#include <string>

namespace propdesk {

// Escaped .properties bytes to native text. On failure returns false, leaves text exactly as it
// was and, when errorText is not null, puts the message (UTF-8) there.
bool ConvertToNative(std::string& text, std::string* errorText);
// Native text to escaped .properties bytes, with the same contract.
bool ConvertToEscaped(std::string& text, std::string* errorText);

}  // namespace propdesk
