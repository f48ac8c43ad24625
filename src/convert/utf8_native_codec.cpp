#include "convert/utf8_native_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/utf8.h"
#include "convert/cp932.h"
#include "convert/escape_syntax.h"
#include "convert/native_text.h"

namespace propdesk {
namespace {

constexpr auto kEscapeSize = static_cast<std::size_t>(escape::kSize);

void AppendEscape(std::string& out, char16_t unit) {
  const std::uint32_t digits = escape::EscapeDigits(unit);
  char text[kEscapeSize] = {'\\', 'u'};
  std::memcpy(text + 2, &digits, 4);
  out.append(text, kEscapeSize);
}

// The unit of a \uxxxx escape with lowercase digits at text[at], or -1 when there is none.
long LowercaseEscapeAt(std::string_view text, std::size_t at) {
  if (text.size() - at < kEscapeSize) return -1;
  const char* escape = text.data() + at;
  if (std::any_of(escape + 2, escape + kEscapeSize, [](char c) { return c >= 'A' && c <= 'F'; })) return -1;
  return escape::ParseEscape(escape);
}

// The character that Utf8TextToNative writes as the escape text at native[at], with the length of
// that text; length 0 when there is none there.
utf8::Decoded EscapedCharacterAt(std::string_view native, std::size_t at) {
  const long unit = LowercaseEscapeAt(native, at);
  if (unit < 0) return {};
  const auto first = static_cast<char32_t>(unit);
  if (utf8::IsHighSurrogate(first)) {
    const long low = LowercaseEscapeAt(native, at + kEscapeSize);
    if (low < 0 || !utf8::IsLowSurrogate(static_cast<char32_t>(low))) return {};
    return {utf8::CombineSurrogates(first, static_cast<char32_t>(low)), 2 * kEscapeSize};
  }
  if (utf8::IsSurrogate(first) || cp932::RoundTrips(static_cast<char16_t>(first))) return {};
  return {first, kEscapeSize};
}

// The end of the run of ASCII bytes at p that are not a backslash.
const char* PlainAsciiEnd(const char* p, const char* end) {
  const char* ascii = escape::SkipAscii(p, end);
  const void* backslash = std::memchr(p, '\\', static_cast<std::size_t>(ascii - p));
  return backslash ? static_cast<const char*>(backslash) : ascii;
}

}  // namespace

bool IsUtf8Text(std::string_view bytes) {
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  bool multiByte = false;
  for (const char* p = escape::SkipAscii(begin, end); p < end; p = escape::SkipAscii(p, end)) {
    const utf8::Decoded decoded = utf8::Decode({p, static_cast<std::size_t>(end - p)});
    if (decoded.length == 0) return false;
    multiByte = true;
    p += decoded.length;
  }
  return multiByte;
}

std::string Utf8TextToNative(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const char* const begin = utf8.data();
  const char* const end = begin + utf8.size();
  // Whether out ends in an odd run of backslashes, which escapes the character after it.
  bool escaping = false;
  for (const char* p = begin; p < end;) {
    const char* ascii = escape::SkipAscii(p, end);
    out.append(p, ascii);
    const char* run = ascii;
    while (run > p && run[-1] == '\\') --run;
    escaping = ((ascii - run) % 2 == 1) != (run == p && escaping);
    if (ascii == end) break;
    p = ascii;
    const utf8::Decoded decoded = utf8::Decode({p, static_cast<std::size_t>(end - p)});
    const bool escaped = escaping;
    escaping = false;
    if (decoded.length == 0) {
      out.push_back(*p++);
      continue;
    }
    p += decoded.length;
    const char32_t c = decoded.codePoint;
    if (c < 0x10000 && cp932::RoundTrips(static_cast<char16_t>(c))) {
      char bytes[2];
      out.append(bytes, static_cast<std::size_t>(cp932::EncodeUnit(static_cast<char16_t>(c), bytes)));
      continue;
    }
    // A reader drops a backslash before a character, but before escape text it would make the
    // escape text itself: the backslash goes.
    if (escaped) out.pop_back();
    if (c >= 0x10000) {
      AppendEscape(out, utf8::HighSurrogate(c));
      AppendEscape(out, utf8::LowSurrogate(c));
    } else {
      AppendEscape(out, static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string NativeToUtf8Text(std::string_view native) {
  std::string out;
  out.reserve(native.size() + native.size() / 2);
  const char* const begin = native.data();
  const char* const end = begin + native.size();
  std::size_t at = 0;
  while (at < native.size()) {
    const char* plainEnd = PlainAsciiEnd(begin + at, end);
    out.append(begin + at, plainEnd);
    at = static_cast<std::size_t>(plainEnd - begin);
    if (at == native.size()) break;
    if (native[at] != '\\') {
      utf8::Append(out, NextNativeCharacter(native, at));
    } else if (at + 1 < native.size() && native[at + 1] == '\\') {
      // An escaped backslash: escape text after it is text to a reader.
      out.append(2, '\\');
      at += 2;
    } else if (const utf8::Decoded escaped = EscapedCharacterAt(native, at); escaped.length != 0) {
      utf8::Append(out, escaped.codePoint);
      at += escaped.length;
    } else {
      out.push_back('\\');
      ++at;
    }
  }
  return out;
}

}  // namespace propdesk
