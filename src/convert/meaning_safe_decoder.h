#pragma once
// Decoding for the editor that keeps what a Java reader makes of the file once it is saved again.
#include <string>
#include <string_view>

namespace propdesk {

// Decodes like DecodeEscapes, but an escape stays as its six bytes of text where its raw character
// would read otherwise after saving: control characters, the backslash and DEL everywhere; space,
// '=', ':', '#' and '!' in a key, in the leading whitespace of a value or of a continuation line,
// in the whitespace that ends a logical line, and as a value's first character after that leading
// whitespace; a hexadecimal digit that would complete a short \u before it (\uab\u0063d); and
// any escape whose backslash is itself escaped (\\u30E2 is a backslash and "u30E2"). In comments
// only the first group stays. Line ends are not touched. Returns false, leaving text untouched,
// only when no memory can be had for the result. Beyond the result it needs little memory.
[[nodiscard]] bool DecodeEscapesKeepingMeaning(std::string& text);
// The same into result, leaving text as it is.
[[nodiscard]] bool DecodeEscapesKeepingMeaning(std::string_view text, std::string& result);

}  // namespace propdesk
