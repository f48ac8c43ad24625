#include "settings/utf16le.h"

#include "common/utf8.h"

namespace propdesk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUnit(std::string& out, char32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>((unit >> 8) & 0xFF);
}

}  // namespace

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t at = 0;
  while (at < text.size()) {
    const utf8::Decoded decoded = utf8::Decode(text.substr(at));
    at += decoded.length == 0 ? 1 : decoded.length;
    const char32_t point = decoded.length == 0 ? kReplacement : decoded.codePoint;
    if (point >= 0x10000) {
      AppendUnit(out, utf8::HighSurrogate(point));
      AppendUnit(out, utf8::LowSurrogate(point));
    } else {
      AppendUnit(out, point);
    }
  }
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  const std::size_t count = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (utf8::IsHighSurrogate(unit) && i + 1 < count && utf8::IsLowSurrogate(unitAt(i + 1))) {
      utf8::Append(out, utf8::CombineSurrogates(unit, unitAt(i + 1)));
      ++i;
    } else {
      utf8::Append(out, utf8::IsSurrogate(unit) ? kReplacement : unit);
    }
  }
  return out;
}

}  // namespace propdesk
