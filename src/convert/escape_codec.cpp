#include "convert/escape_codec.h"

#include <cstring>

#include "convert/cp932.h"
#include "convert/escape_syntax.h"

namespace propdesk {
namespace {

// An escape whose unit has no exact native form is kept as text, so that saving does not change it.
constexpr auto kDecodeEscape = [](char16_t unit, const char* p, const char*, bool, char*& out) {
  if (cp932::RoundTrips(unit)) {
    out += cp932::EncodeUnit(unit, out);
  } else {
    std::memcpy(out, p, escape::kSize);
    out += escape::kSize;
  }
  return escape::kSize;
};

constexpr auto kEncodeCharacter = [](const char* p, const char* end, bool atEnd, char*& out) -> std::ptrdiff_t {
  const auto lead = static_cast<std::uint8_t>(p[0]);
  if (cp932::IsLeadByte(lead)) {
    if (end - p < 2) {
      if (!atEnd) return 0;
    } else if (const auto trail = static_cast<std::uint8_t>(p[1]); cp932::IsTrailByte(trail)) {
      out = escape::WriteEscape(cp932::DecodePair(lead, trail), out);
      return 2;
    }
  }
  out = escape::WriteEscape(cp932::DecodeSingle(lead), out);
  return 1;
};

}  // namespace

EscapeDecoder::EscapeDecoder() : StreamConverter(escape::kSize, 1) {}

const char* EscapeDecoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  return escape::ScanEscapedText(begin, end, atEnd, out, kDecodeEscape);
}

EscapeEncoder::EscapeEncoder() : StreamConverter(2, escape::kSize) {}

const char* EscapeEncoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  return escape::ScanNativeText(begin, end, atEnd, out, kEncodeCharacter);
}

bool DecodeEscapes(std::string& text) {
  EscapeDecoder decoder;
  return ConvertWholeText(decoder, text);
}

bool EncodeEscapes(std::string& text) {
  EscapeEncoder encoder;
  return ConvertWholeText(encoder, text);
}

}  // namespace propdesk
