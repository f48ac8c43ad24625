#pragma once
// Raw UTF-8 .properties text to and from native code page 932 text, for documents kept in UTF-8.
// A character without an exact native form is shown as the lowercase \uxxxx escape text of its
// code unit (the escapes of its surrogate pair above U+FFFF), as the escape decoder keeps the
// escapes it cannot translate, and becomes that character again when the text is written back,
// unless an escaped backslash stands before it (\\u00e9 is a backslash and "u00e9" to a reader).
// So an unedited text comes back byte for byte, unless the file itself held such escape text or
// a backslash before such a character, which a reader drops and which is dropped here too.
#include <string>
#include <string_view>

namespace propdesk {

// True when bytes are valid UTF-8 with at least one sequence of more than one byte.
[[nodiscard]] bool IsUtf8Text(std::string_view bytes);

// UTF-8 text (IsUtf8Text, or plain ASCII) to native text; a byte that is not valid UTF-8 is copied.
std::string Utf8TextToNative(std::string_view utf8);

// Native text to UTF-8 text, the reverse of Utf8TextToNative. Other escape texts stay text.
std::string NativeToUtf8Text(std::string_view native);

}  // namespace propdesk
