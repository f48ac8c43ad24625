#pragma once
// UTF-8 text to and from UTF-16 code units, for the platform calls and file forms that take UTF-16.
#include <string>
#include <string_view>

namespace propdesk {

// Each byte that does not start a valid UTF-8 sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace propdesk
