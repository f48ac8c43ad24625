#include "convert/escape_codec.h"

#include <algorithm>
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
  const char* const last = escaped.data() + escaped.size() - std::min<std::size_t>(escaped.size(), escape::kSize - 1);
  for (const char* p = escaped.data(); p < last;) {
    // Escapes often follow one another: look at the next byte before searching.
    if (*p != '\\') {
      p = static_cast<const char*>(std::memchr(p, '\\', static_cast<std::size_t>(last - p)));
      if (!p) break;
    }
    if (escape::ParseEscape(p) < 0) {
      ++p;
      continue;
    }
    // Of the digit bytes only letters have 0x40, and only lowercase letters also 0x20.
    std::uint32_t digits;
    std::memcpy(&digits, p + 2, 4);
    const std::uint32_t letterBits = (digits & 0x40404040u) >> 1;
    upperMinusLower += static_cast<int>((~digits & letterBits) != 0) - static_cast<int>((digits & letterBits) != 0);
    p += escape::kSize;
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

bool EncodeEscapes(std::string_view text, std::string& result) {
  EscapeEncoder encoder;
  return ConvertWholeText(encoder, text, result);
}

}  // namespace propdesk
