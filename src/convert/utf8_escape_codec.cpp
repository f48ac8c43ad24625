#include "convert/utf8_escape_codec.h"

#include <cstring>

#include "convert/escape_syntax.h"
#include "convert/utf8_sequence.h"

namespace propdesk {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr std::ptrdiff_t kPairSize = 2 * escape::kSize;

constexpr bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char* WriteUtf8(char32_t c, char* out) {
  const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
  if (c < 0x80) {
    *out++ = byte(c);
  } else if (c < 0x800) {
    *out++ = byte(0xC0 | c >> 6);
    *out++ = byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = byte(0xE0 | c >> 12);
    *out++ = byte(0x80 | (c >> 6 & 0x3F));
    *out++ = byte(0x80 | (c & 0x3F));
  } else {
    *out++ = byte(0xF0 | c >> 18);
    *out++ = byte(0x80 | (c >> 12 & 0x3F));
    *out++ = byte(0x80 | (c >> 6 & 0x3F));
    *out++ = byte(0x80 | (c & 0x3F));
  }
  return out;
}

constexpr auto kDecodeEscape = [](char16_t unit, const char* p, const char* end, bool atEnd, char*& out) {
  if (IsHighSurrogate(unit)) {
    if (end - p < kPairSize && !atEnd) return std::ptrdiff_t{0};
    const int low = end - p < kPairSize ? -1 : escape::ParseEscape(p + escape::kSize);
    if (IsLowSurrogate(low)) {
      const auto high = static_cast<char32_t>(unit - 0xD800);
      out = WriteUtf8(0x10000 + (high << 10) + static_cast<char32_t>(low - 0xDC00), out);
      return kPairSize;
    }
  }
  if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
    std::memcpy(out, p, escape::kSize);
    out += escape::kSize;
  } else {
    out = WriteUtf8(unit, out);
  }
  return escape::kSize;
};

// The character of the valid sequence at p, or -1 when the sequence is not valid.
long DecodeSequence(const char* p, utf8::LeadByte lead) {
  const auto at = [p](int i) { return static_cast<std::uint8_t>(p[i]); };
  long c = at(0) & (0x7F >> lead.length);
  for (int i = 1; i < lead.length; ++i) {
    if (!utf8::Continues(lead, i, at(i))) return -1;
    c = c << 6 | (at(i) & 0x3F);
  }
  return c;
}

}  // namespace

Utf8EscapeDecoder::Utf8EscapeDecoder() : StreamConverter(kPairSize, 1) {}

const char* Utf8EscapeDecoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  return escape::ScanEscapedText(begin, end, atEnd, out, kDecodeEscape);
}

Utf8EscapeEncoder::Utf8EscapeEncoder() : StreamConverter(4, escape::kSize) {}

const char* Utf8EscapeEncoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  const auto encodeCharacter = [this](const char* p, const char* last, bool final, char*& o) -> std::ptrdiff_t {
    const utf8::LeadByte lead = utf8::DescribeLead(static_cast<std::uint8_t>(*p));
    if (lead.length > 0 && last - p < lead.length && !final) return 0;
    const long c = lead.length > 0 && last - p >= lead.length ? DecodeSequence(p, lead) : -1;
    if (c < 0) {
      ++replaced_;
      o = escape::WriteEscape(kReplacementCharacter, o);
      return 1;
    }
    if (c < 0x10000) {
      o = escape::WriteEscape(static_cast<char16_t>(c), o);
    } else {
      o = escape::WriteEscape(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), o);
      o = escape::WriteEscape(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), o);
    }
    return lead.length;
  };
  return escape::ScanNativeText(begin, end, atEnd, out, encodeCharacter);
}

}  // namespace propdesk
