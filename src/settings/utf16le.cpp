#include "settings/utf16le.h"

#include "common/utf16.h"

namespace propdesk {

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  for (const char16_t unit : Utf8ToUtf16(text)) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return Utf16ToUtf8(units);
}

}  // namespace propdesk
