#include "document/caret_character.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "common/string_table.h"
#include "common/utf8.h"
#include "convert/cp932.h"
#include "convert/escape_syntax.h"
#include "convert/native_text.h"
#include "convert/view_text.h"

namespace propdesk {
namespace {

using properties::Span;
using properties::SpanKind;

// The code unit of the native character that starts at or holds column.
std::optional<char16_t> NativeCharacterAt(std::string_view line, std::size_t column) {
  for (std::size_t at = 0; at < line.size();) {
    const char16_t unit = NextNativeCharacter(line, at);
    if (column < at) return unit;
  }
  return std::nullopt;
}

std::string CodePointName(char32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
  return name;
}

// The abbreviations of the control characters U+0000 to U+001F, space and U+007F to U+009F.
constexpr std::string_view kControlNames[] = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS", "TAB", "LF",  "VT", "FF", "CR", "SO", "SI", "DLE",
    "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM", "SUB", "ESC", "FS", "GS", "RS", "US", "SP"};
constexpr std::string_view kDeleteAndC1Names[] = {"DEL", "PAD", "HOP", "BPH", "NBH", "IND", "NEL", "SSA", "ESA",
                                                  "HTS", "HTJ", "VTS", "PLD", "PLU", "RI",  "SS2", "SS3", "DCS",
                                                  "PU1", "PU2", "STS", "CCH", "MW",  "SPA", "EPA", "SOS", "SGCI",
                                                  "SCI", "CSI", "ST",  "OSC", "PM",  "APC"};

// The character as it can be shown: a control character or space by its abbreviation (fonts have
// no glyph for them), a lone surrogate as U+FFFD.
std::string Glyph(char32_t codePoint) {
  if (codePoint <= 0x20) return std::string(kControlNames[codePoint]);
  if (codePoint >= 0x7F && codePoint <= 0x9F) return std::string(kDeleteAndC1Names[codePoint - 0x7F]);
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

constexpr std::size_t kMaxContinuationLookBack = 256;

bool EndsWithContinuation(std::u16string_view text) {
  const std::size_t kept = text.find_last_not_of(u'\\');
  const std::size_t backslashes = kept == std::u16string_view::npos ? text.size() : text.size() - 1 - kept;
  return backslashes % 2 == 1;
}

}  // namespace

properties::LineStart StartOfLine(std::size_t line, const std::function<std::u16string(std::size_t)>& viewLine) {
  std::size_t from = line;
  while (from > 0 && line - from < kMaxContinuationLookBack && EndsWithContinuation(viewLine(from - 1))) --from;
  properties::LineStart start = properties::LineStart::NewLogicalLine;
  std::vector<Span> spans;
  for (; from < line; ++from) {
    start = properties::LexLine(ViewTextToNative(viewLine(from), ViewLineBreak::Lf), start, spans);
  }
  return start;
}

std::optional<char16_t> UnicodeEscapeUnit(std::string_view line, const Span& span) {
  if (span.kind != SpanKind::Escape || span.end - span.begin != escape::kSize) return std::nullopt;
  const int unit = escape::ParseEscape(line.data() + span.begin);
  if (unit < 0) return std::nullopt;
  return static_cast<char16_t>(unit);
}

std::optional<KeptEscape> KeptEscapeAt(std::string_view line, const std::vector<Span>& spans, std::size_t column) {
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
      if (low && utf8::IsLowSurrogate(*low)) {
        return KeptEscape{utf8::CombineSurrogates(*unit, *low), spans[i].begin, spans[i + 1].end};
      }
    } else if (utf8::IsLowSurrogate(*unit) && i > 0) {
      const std::optional<char16_t> high = neighbour(i - 1, spans[i].begin);
      if (high && utf8::IsHighSurrogate(*high)) {
        return KeptEscape{utf8::CombineSurrogates(*high, *unit), spans[i - 1].begin, spans[i].end};
      }
    }
    return KeptEscape{*unit, spans[i].begin, spans[i].end};
  }
  return std::nullopt;
}

std::string KeptEscapeText(std::string_view line, const std::vector<Span>& spans, std::size_t column) {
  const std::optional<KeptEscape> kept = KeptEscapeAt(line, spans, column);
  return kept ? KeptEscapeTextOf(kept->codePoint) : std::string();
}

std::string CaretCharacterText(std::string_view line, const std::vector<Span>& spans, std::size_t column) {
  if (std::string kept = KeptEscapeText(line, spans, column); !kept.empty()) return kept;
  const std::optional<char16_t> unit = NativeCharacterAt(line, column);
  if (!unit) return {};
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(*unit));
  const bool control = *unit < 0x20 || (*unit >= 0x7F && *unit <= 0x9F);
  return CodePointName(*unit) + " " + (control ? Glyph(*unit) + " " : std::string()) + escape;
}

}  // namespace propdesk
