#pragma once
// UTF-8 text to and from UTF-16LE bytes, the form string data takes in hex lines of registry exports.
#include <string>
#include <string_view>

namespace propdesk {

// Each byte that does not start a valid UTF-8 sequence becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

// An unpaired surrogate becomes U+FFFD; a final odd byte is ignored.
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace propdesk
