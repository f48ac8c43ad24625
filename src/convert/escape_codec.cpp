#include "convert/escape_codec.h"

#include <cstdint>
#include <exception>

#include "convert/cp932.h"

namespace propdesk {
namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit of the escape starting at text[i], or -1 when there is none.
long EscapeAt(const std::string& text, std::size_t i) {
  if (text.size() - i < 6 || text[i] != '\\' || text[i + 1] != 'u') return -1;
  long value = 0;
  for (std::size_t k = i + 2; k < i + 6; ++k) {
    const int digit = HexDigitValue(text[k]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

void AppendEscape(std::string& out, char16_t unit) {
  static constexpr char kHex[] = "0123456789abcdef";
  const char escape[6] = {'\\', 'u', kHex[(unit >> 12) & 15], kHex[(unit >> 8) & 15],
                          kHex[(unit >> 4) & 15], kHex[unit & 15]};
  out.append(escape, 6);
}

}  // namespace

bool DecodeEscapes(std::string& text) {
  try {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
      const long unit = EscapeAt(text, i);
      if (unit >= 0 && cp932::RoundTrips(static_cast<char16_t>(unit))) {
        char bytes[2];
        out.append(bytes, static_cast<std::size_t>(cp932::EncodeUnit(static_cast<char16_t>(unit), bytes)));
        i += 6;
      } else {
        out.push_back(text[i++]);
      }
    }
    text.swap(out);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool EncodeEscapes(std::string& text) {
  try {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
      const auto b = static_cast<std::uint8_t>(text[i]);
      if (b < 0x80) {
        out.push_back(text[i++]);
      } else if (i + 1 < text.size() && cp932::IsLeadByte(b) &&
                 cp932::IsTrailByte(static_cast<std::uint8_t>(text[i + 1]))) {
        AppendEscape(out, cp932::DecodePair(b, static_cast<std::uint8_t>(text[i + 1])));
        i += 2;
      } else {
        AppendEscape(out, cp932::DecodeSingle(b));
        ++i;
      }
    }
    text.swap(out);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace propdesk
