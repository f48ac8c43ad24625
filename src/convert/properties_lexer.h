#pragma once
// The structure of a .properties file, one physical line at a time, as Java's Properties.load
// reads it: comments, key, separator, value, continuation backslash and backslash escapes, as
// byte spans of the line. Bytes of 0x80 and above are characters of code page 932 text: a lead
// byte with its trail byte is one character, so a trail byte 0x5C is not a backslash.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace propdesk::properties {

// Where a physical line starts within its logical line. A line that continues a logical line
// drops its leading whitespace and goes on with the part the previous line ended in.
enum class LineStart : std::uint8_t {
  NewLogicalLine,    // also after a continued line that held nothing but its backslash
  InKey,             // the key goes on
  BeforeSeparator,   // in the whitespace after the key, before any '=' or ':'
  AfterSeparator,    // after the '=' or ':', before the value
  InValue,           // the value goes on
};

enum class SpanKind : std::uint8_t {
  Comment,          // from the '#' or '!' to the end of the line
  Key,              // the key's characters on this line, its escapes included
  Separator,        // whitespace, at most one '=' or ':', whitespace
  Value,            // the value's characters on this line, its escapes included
  Continuation,     // the backslash that joins the next line to this one
  Escape,           // a backslash and what it escapes: \uXXXX, \t, \=, \\, a backslash before any character
  MalformedEscape,  // \u without four hexadecimal digits, which Java rejects with an error
};

// The bytes [begin, end) of the line.
struct Span {
  SpanKind kind;
  std::size_t begin;
  std::size_t end;
};

// Whether LexLine reports the Escape and MalformedEscape spans. Without them a line has at most a
// handful of spans, however many escapes it holds.
enum class EscapeSpans : std::uint8_t { kReported, kOmitted };

// Replaces spans with the spans of line (its bytes without the line end), which starts as start
// says, and returns how the next line starts. Spans come in the order of their begin; an Escape or
// MalformedEscape span lies inside the Key or Value span before it. Leading whitespace and the
// whitespace of a blank line belong to no span. Comments are recognised only at the start of a
// logical line, and a comment line never continues.
LineStart LexLine(std::string_view line, LineStart start, std::vector<Span>& spans,
                  EscapeSpans escapes = EscapeSpans::kReported);

// The end of the character of a key or value that starts at i in line: a backslash with what it
// escapes (\uXXXX, \u with the fewer hexadecimal digits that follow it, or one character), a
// lead byte with its trail byte, or one byte. A backslash that ends the line ends there.
std::size_t CharacterEnd(std::string_view line, std::size_t i);

// True for the whitespace of the format: space, tab, form feed.
constexpr bool IsWhitespace(char c) { return c == ' ' || c == '\t' || c == '\f'; }

}  // namespace propdesk::properties
