#include "convert/utf8_escape_codec.h"

#include <cstring>

#include "common/utf8.h"
#include "convert/escape_syntax.h"

namespace propdesk {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr std::ptrdiff_t kPairSize = 2 * escape::kSize;

constexpr auto kDecodeEscape = [](char16_t unit, const char* p, const char* end, bool atEnd, char*& out) {
  if (utf8::IsHighSurrogate(unit)) {
    if (end - p < kPairSize && !atEnd) return std::ptrdiff_t{0};
    const int low = end - p < kPairSize ? -1 : escape::ParseEscape(p + escape::kSize);
    if (low >= 0 && utf8::IsLowSurrogate(static_cast<char32_t>(low))) {
      out = utf8::Encode(utf8::CombineSurrogates(unit, static_cast<char32_t>(low)), out);
      return kPairSize;
    }
  }
  if (utf8::IsSurrogate(unit)) {
    std::memcpy(out, p, escape::kSize);
    out += escape::kSize;
  } else {
    out = utf8::Encode(unit, out);
  }
  return escape::kSize;
};

}  // namespace

Utf8EscapeDecoder::Utf8EscapeDecoder() : StreamConverter(kPairSize, 1) {}

const char* Utf8EscapeDecoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  return escape::ScanEscapedText(begin, end, atEnd, out, kDecodeEscape);
}

Utf8EscapeEncoder::Utf8EscapeEncoder() : StreamConverter(4, escape::kSize) {}

const char* Utf8EscapeEncoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  const auto encodeCharacter = [this](const char* p, const char* last, bool final, char*& o) -> std::ptrdiff_t {
    const auto length = static_cast<std::ptrdiff_t>(utf8::SequenceLength(static_cast<unsigned char>(*p)));
    if (last - p < length && !final) return 0;
    const utf8::Decoded decoded = utf8::Decode({p, static_cast<std::size_t>(last - p)});
    if (decoded.length == 0) {
      ++replaced_;
      o = escape::WriteEscape(kReplacementCharacter, o);
      return 1;
    }
    const char32_t c = decoded.codePoint;
    if (c < 0x10000) {
      o = escape::WriteEscape(static_cast<char16_t>(c), o);
    } else {
      o = escape::WriteEscape(utf8::HighSurrogate(c), o);
      o = escape::WriteEscape(utf8::LowSurrogate(c), o);
    }
    return length;
  };
  return escape::ScanNativeText(begin, end, atEnd, out, encodeCharacter);
}

}  // namespace propdesk
