#pragma once
// The built-in codec between escaped .properties text (\uXXXX escapes of UTF-16 code units) and
// native code page 932 text.
#include <string>

namespace propdesk {

// Turns every \uXXXX escape whose code unit survives the trip through code page 932 into that
// unit's native bytes; every other byte is copied. Returns false, leaving text untouched, only
// when no memory can be had for the result.
bool DecodeEscapes(std::string& text);

// Writes every non-ASCII character of native text as a lowercase \uxxxx escape; ASCII bytes are
// copied. Returns false, leaving text untouched, only when no memory can be had for the result.
bool EncodeEscapes(std::string& text);

}  // namespace propdesk
