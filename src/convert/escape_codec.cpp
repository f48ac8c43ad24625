#include "convert/escape_codec.h"

#include <cstring>
#include <memory>

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

// The escape digits of every native character, looked up once per character instead of
// converting it and then its code unit. A pair entry is 0 (never valid digits) where the two bytes
// are not a lead byte and a trail byte, so a single lookup also tells whether they form a pair.
struct NativeEscapeDigits {
  std::uint32_t single[0x100];
  std::uint32_t pair[0x100][0x100];
};

const NativeEscapeDigits& GetNativeEscapeDigits() {
  static const auto digits = [] {
    auto table = std::make_unique<NativeEscapeDigits>();
    for (int b = 0; b < 0x100; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      table->single[b] = escape::EscapeDigits(cp932::DecodeSingle(byte));
      if (!cp932::IsLeadByte(byte)) continue;
      for (int t = 0; t < 0x100; ++t) {
        const auto trail = static_cast<std::uint8_t>(t);
        if (cp932::IsTrailByte(trail)) table->pair[b][t] = escape::EscapeDigits(cp932::DecodePair(byte, trail));
      }
    }
    return table;
  }();
  return *digits;
}

}  // namespace

EscapeDecoder::EscapeDecoder() : StreamConverter(escape::kSize, 1) {}

const char* EscapeDecoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  return escape::ScanEscapedText(begin, end, atEnd, out, kDecodeEscape);
}

EscapeEncoder::EscapeEncoder(HexCase hexCase) : StreamConverter(2, escape::kSize), hexCase_(hexCase) {}

const char* EscapeEncoder::Scan(const char* begin, const char* end, bool atEnd, char*& out) {
  const auto encode = [&](auto caseOf) {
    const NativeEscapeDigits& digits = GetNativeEscapeDigits();
    const auto encodeCharacter = [&digits, caseOf](const char* p, const char* last, bool final,
                                                   char*& o) -> std::ptrdiff_t {
      const auto lead = static_cast<std::uint8_t>(p[0]);
      if (last - p >= 2) {
        // Table lookups rather than range tests: which kind a byte is varies too much to predict.
        if (const std::uint32_t pair = digits.pair[lead][static_cast<std::uint8_t>(p[1])]; pair != 0) {
          o = escape::WriteEscapeDigits(caseOf(pair), o);
          return 2;
        }
      } else if (cp932::IsLeadByte(lead) && !final) {
        return 0;
      }
      o = escape::WriteEscapeDigits(caseOf(digits.single[lead]), o);
      return 1;
    };
    return escape::ScanNativeText(begin, end, atEnd, out, encodeCharacter);
  };
  // Two instances of the loop, so that the common lowercase one pays nothing for the choice.
  if (hexCase_ == HexCase::kUpper) return encode(escape::UppercaseDigits);
  return encode([](std::uint32_t digits) { return digits; });
}

HexCase MajorityHexCase(std::string_view escaped) {
  std::ptrdiff_t upperMinusLower = 0;
  const char* const end = escaped.data() + escaped.size();
  for (const char* p = escaped.data(); end - p >= escape::kSize; ++p) {
    p = static_cast<const char*>(std::memchr(p, '\\', static_cast<std::size_t>(end - p - escape::kSize + 1)));
    if (!p) break;
    if (escape::ParseEscape(p) < 0) continue;
    bool upper = false, lower = false;
    for (int i = 2; i < escape::kSize; ++i) {
      upper = upper || (p[i] >= 'A' && p[i] <= 'F');
      lower = lower || (p[i] >= 'a' && p[i] <= 'f');
    }
    upperMinusLower += static_cast<int>(upper) - static_cast<int>(lower);
    p += escape::kSize - 1;
  }
  return upperMinusLower > 0 ? HexCase::kUpper : HexCase::kLower;
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
