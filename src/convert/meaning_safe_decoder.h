#pragma once
// Decoding for the editor that keeps what a Java reader makes of the file once it is saved again.
#include <string>
#include <string_view>

namespace propdesk {

// Decodes like DecodeEscapes, but an escape whose raw character would be read as syntax after
// saving stays as its six bytes of text: control characters, the backslash and DEL everywhere;
// space, '=', ':', '#' and '!' in a key, in the leading whitespace of a value or of a continuation
// line, in the whitespace that ends a logical line, and as a value's first character after that
// leading whitespace; and an ASCII character whose escape is itself escaped (\\u0041). In comments
// only the first group stays. Line ends are not touched. Returns false, leaving text untouched,
// only when no memory can be had for the result.
[[nodiscard]] bool DecodeEscapesKeepingMeaning(std::string& text);
// The same into result, leaving text as it is.
[[nodiscard]] bool DecodeEscapesKeepingMeaning(std::string_view text, std::string& result);

}  // namespace propdesk
