#include "common/utf16.h"

#include "common/utf8.h"

namespace propdesk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const utf8::Decoded decoded = utf8::Decode(text.substr(at));
    at += decoded.length == 0 ? 1 : decoded.length;
    const char32_t point = decoded.length == 0 ? kReplacement : decoded.codePoint;
    if (point >= 0x10000) {
      out += utf8::HighSurrogate(point);
      out += utf8::LowSurrogate(point);
    } else {
      out += static_cast<char16_t>(point);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (utf8::IsHighSurrogate(unit) && i + 1 < units.size() && utf8::IsLowSurrogate(units[i + 1])) {
      utf8::Append(out, utf8::CombineSurrogates(unit, units[i + 1]));
      ++i;
    } else {
      utf8::Append(out, utf8::IsSurrogate(unit) ? kReplacement : unit);
    }
  }
  return out;
}

}  // namespace propdesk
