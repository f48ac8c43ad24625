#include "document/caret_character.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "common/string_table.h"
#include "common/utf8.h"
#include "convert/cp932.h"
#include "convert/escape_syntax.h"

namespace propdesk {
namespace {

using properties::Span;
using properties::SpanKind;

// The code point of the kept escape that covers column; a surrogate escape next to its other half
// gives the code point of the pair.
std::optional<char32_t> KeptEscapeAt(std::string_view line, const std::vector<Span>& spans, std::size_t column) {
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (column < spans[i].begin || column >= spans[i].end) continue;
    const std::optional<char16_t> unit = UnicodeEscapeUnit(line, spans[i]);
    if (!unit) continue;
    const auto neighbour = [&](std::size_t at, std::size_t touching) -> std::optional<char16_t> {
      if (at >= spans.size() || (spans[at].begin != touching && spans[at].end != touching)) return std::nullopt;
      return UnicodeEscapeUnit(line, spans[at]);
    };
    if (utf8::IsHighSurrogate(*unit)) {
      const std::optional<char16_t> low = neighbour(i + 1, spans[i].end);
      if (low && utf8::IsLowSurrogate(*low)) return utf8::CombineSurrogates(*unit, *low);
    } else if (utf8::IsLowSurrogate(*unit) && i > 0) {
      const std::optional<char16_t> high = neighbour(i - 1, spans[i].begin);
      if (high && utf8::IsHighSurrogate(*high)) return utf8::CombineSurrogates(*high, *unit);
    }
    return *unit;
  }
  return std::nullopt;
}

// The code unit of the native character that starts at or holds column.
std::optional<char16_t> NativeCharacterAt(std::string_view line, std::size_t column) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(line.data());
  for (std::size_t i = 0; i < line.size();) {
    const bool pair = cp932::IsLeadByte(bytes[i]) && i + 1 < line.size() && cp932::IsTrailByte(bytes[i + 1]);
    const std::size_t length = pair ? 2 : 1;
    if (column < i + length) return pair ? cp932::DecodePair(bytes[i], bytes[i + 1]) : cp932::DecodeSingle(bytes[i]);
    i += length;
  }
  return std::nullopt;
}

std::string CodePointName(char32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
  return name;
}

// The character as it can be shown: a control character or space as its control picture, a lone
// surrogate as U+FFFD.
std::string Glyph(char32_t codePoint) {
  if (codePoint <= 0x20) codePoint += 0x2400;
  if (codePoint == 0x7F) codePoint = 0x2421;
  if (utf8::IsSurrogate(codePoint)) codePoint = 0xFFFD;
  std::string glyph;
  utf8::Append(glyph, codePoint);
  return glyph;
}

std::string KeptEscapeTextOf(char32_t codePoint) {
  const bool native = codePoint <= 0xFFFF && cp932::RoundTrips(static_cast<char16_t>(codePoint));
  std::string text;
  LoadText(native ? IDS_ESCAPE_KEPT_FOR_MEANING : IDS_ESCAPE_NOT_IN_CP932, text);
  FillPlaceholder(text, "%s", CodePointName(codePoint));
  FillPlaceholder(text, "%s", Glyph(codePoint));
  return text;
}

}  // namespace

std::optional<char16_t> UnicodeEscapeUnit(std::string_view line, const Span& span) {
  if (span.kind != SpanKind::Escape || span.end - span.begin != escape::kSize) return std::nullopt;
  const int unit = escape::ParseEscape(line.data() + span.begin);
  if (unit < 0) return std::nullopt;
  return static_cast<char16_t>(unit);
}

std::string KeptEscapeText(std::string_view line, const std::vector<Span>& spans, std::size_t column) {
  const std::optional<char32_t> kept = KeptEscapeAt(line, spans, column);
  return kept ? KeptEscapeTextOf(*kept) : std::string();
}

std::string CaretCharacterText(std::string_view line, const std::vector<Span>& spans, std::size_t column) {
  if (std::string kept = KeptEscapeText(line, spans, column); !kept.empty()) return kept;
  const std::optional<char16_t> unit = NativeCharacterAt(line, column);
  if (!unit) return {};
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(*unit));
  return CodePointName(*unit) + " " + escape;
}

}  // namespace propdesk
