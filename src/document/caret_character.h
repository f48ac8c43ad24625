#pragma once
// The status bar's words for the character at the caret: its code point and escape, or, for an
// escape that the view shows as text, the character it stands for and why it stays an escape.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/properties_lexer.h"

namespace propdesk {

// How line `line` of a view's text starts: whether it continues an earlier line. The lines before
// it that end in a continuation backslash are followed back, at most 256 of them (a longer run is
// lexed from there as if it started there). viewLine(i) is line i of the view's text, one UTF-16
// unit per native character, without its line break.
properties::LineStart StartOfLine(std::size_t line, const std::function<std::u16string(std::size_t)>& viewLine);

// The code unit of a span that is a \uXXXX escape.
std::optional<char16_t> UnicodeEscapeUnit(std::string_view line, const properties::Span& span);

// A \uXXXX escape kept as text, or a surrogate pair of them, which the view treats as one
// character: the code point it stands for and its bytes [begin, end) in the line.
struct KeptEscape {
  char32_t codePoint;
  std::size_t begin;
  std::size_t end;
};

// The kept escape that covers byte column of a native line, given the line's spans.
std::optional<KeptEscape> KeptEscapeAt(std::string_view line, const std::vector<properties::Span>& spans,
                                       std::size_t column);

// The text for a \uXXXX escape kept as text that covers byte column of a native line (a
// surrogate pair of escapes counts as one): "U+00E9 é — ..." (a control character by its
// abbreviation: "U+000A LF — ...") with the reason it stays an escape.
// Empty when no such escape covers the column.
std::string KeptEscapeText(std::string_view line, const std::vector<properties::Span>& spans, std::size_t column);

// The text for the character at byte column of a native line (without its line end), given the
// line's spans: "U+6F22 \u6f22" for a character ("U+0009 TAB \u0009" for a control character),
// the KeptEscapeText for a kept escape, empty at the end of the line.
std::string CaretCharacterText(std::string_view line, const std::vector<properties::Span>& spans,
                               std::size_t column);

}  // namespace propdesk
