#include "convert/meaning_safe_decoder.h"

#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "common/hex_digit.h"
#include "convert/cp932.h"
#include "convert/escape_syntax.h"
#include "convert/in_place.h"
#include "convert/properties_lexer.h"

namespace propdesk {
namespace {

using properties::LineStart;
using properties::Span;
using properties::SpanKind;

// Raw, these are line ends, escapes, or characters a reader may drop: syntax wherever they stand.
constexpr bool IsSyntaxEverywhere(char16_t unit) { return unit < 0x20 || unit == '\\' || unit == 0x7F; }

// Raw, these end a key, are dropped as leading whitespace, become the separator or start a comment.
constexpr bool IsSyntaxAtEdges(char16_t unit) {
  return unit == ' ' || unit == '=' || unit == ':' || unit == '#' || unit == '!';
}

// The first line end (CR or LF) at or after from, or end.
const char* FindLineEnd(const char* from, const char* end) {
  const void* lf = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
  const char* stop = lf ? static_cast<const char*>(lf) : end;
  const void* cr = std::memchr(from, '\r', static_cast<std::size_t>(stop - from));
  return cr ? static_cast<const char*>(cr) : stop;
}

constexpr bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

// Whether an odd run of backslashes ends at at: then the backslash at at is escaped by them, and
// what follows it is text to a reader (\\u0041 is a backslash and "u0041").
bool FollowsOddBackslashRun(const char* begin, const char* at) {
  const char* p = at;
  while (p > begin && p[-1] == '\\') --p;
  return (at - p) % 2 == 1;
}

// Where the text before at goes on for a reader that joins continued lines: before the backslash
// that continues the line above when at starts a continuation line (after its leading
// whitespace), else at itself. A line ending in an even run of backslashes is taken as continued
// too: that only makes the caller keep an escape it might have decoded.
const char* JoinedBefore(const char* begin, const char* at) {
  const char* p = at;
  while (p > begin && properties::IsWhitespace(p[-1])) --p;
  if (p == begin || (p[-1] != '\n' && p[-1] != '\r')) return at;
  --p;
  if (*p == '\n' && p > begin && p[-1] == '\r') --p;
  return p > begin && p[-1] == '\\' ? p - 1 : at;
}

// Whether the text before at ends, as a reader joins its lines, in \u and fewer than four
// hexadecimal digits, which one more digit would complete. An escaped backslash before the \u
// is not looked for: keeping an escape is always safe.
bool EndsInShortUnicodeEscape(const char* begin, const char* at) {
  for (int digits = 0;; ++digits) {
    at = JoinedBefore(begin, at);
    if (at == begin) return false;
    if (at[-1] == 'u') return at - begin >= 2 && at[-2] == '\\';
    if (digits == 3 || !IsHexDigit(at[-1])) return false;
    --at;
  }
}

// Where the escapes of a text stand, asked in increasing order of their offsets. Most escapes
// never ask, so a line is lexed only when one of its escapes does; how it starts is found by
// lexing the lines before it that may continue into it (those that end with a backslash). Only
// the parts of a line are kept, never its escapes, so the memory used stays small on any line.
class EscapePlaces {
 public:
  explicit EscapePlaces(std::string_view text) : text_(text) {}

  // Whether the escape at offset, of a unit that is syntax at the edges, has to stay.
  bool MustKeep(std::size_t offset) {
    if (lineBegin_ == kNone || offset >= lineEnd_) EnterLine(LineBegin(offset));
    const std::size_t at = offset - lineBegin_;
    MoveTo(at);
    if (part_ == kNone || at >= spans_[part_].end) return false;
    switch (spans_[part_].kind) {
      case SpanKind::Key:
        return true;
      case SpanKind::Value:
        return at < LeadingEnd() || at >= TrailingBegin();
      default:
        return false;
    }
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::size_t LineBegin(std::size_t offset) const {
    while (offset > 0 && text_[offset - 1] != '\n' && text_[offset - 1] != '\r') --offset;
    return offset;
  }

  // Lexes the line that begins at begin, which starts as start says, and returns how the next starts.
  LineStart Lex(std::size_t begin, LineStart start) {
    const char* lineBegin = text_.data() + begin;
    lineBegin_ = begin;
    lineEnd_ = static_cast<std::size_t>(FindLineEnd(lineBegin, text_.data() + text_.size()) - text_.data());
    line_ = text_.substr(begin, lineEnd_ - begin);
    return next_ = properties::LexLine(line_, start, spans_, properties::EscapeSpans::kOmitted);
  }

  void EnterLine(std::size_t begin) {
    // Back over the lines that end with a backslash, to one lexed already or one that cannot
    // continue; then forward, lexing each.
    std::size_t first = begin;
    LineStart start = LineStart::NewLogicalLine;
    while (first > 0) {
      std::size_t previousEnd = first - 1;
      if (text_[previousEnd] == '\n' && previousEnd > 0 && text_[previousEnd - 1] == '\r') --previousEnd;
      if (previousEnd == 0 || text_[previousEnd - 1] != '\\') break;
      const std::size_t previous = LineBegin(previousEnd);
      if (previous == lineBegin_) {
        start = next_;
        break;
      }
      first = previous;
    }
    for (std::size_t line = first;;) {
      start = Lex(line, start);
      if (line == begin) break;
      line = lineEnd_ + (text_.compare(lineEnd_, 2, "\r\n") == 0 ? 2 : 1);
    }
    cursor_ = 0;
    part_ = kNone;
  }

  // Takes in the spans that begin at or before at.
  void MoveTo(std::size_t at) {
    for (; cursor_ < spans_.size() && spans_[cursor_].begin <= at; ++cursor_) {
      part_ = cursor_;
      leadingEnd_ = trailingBegin_ = kNone;
    }
  }

  bool IsWhitespaceCharacter(std::size_t at, std::size_t end) const {
    const char* p = line_.data() + at;
    if (*p != '\\') return properties::IsWhitespace(*p);
    if (end - at == 2) return p[1] == ' ' || p[1] == 't' || p[1] == 'f';
    if (end - at != escape::kSize) return false;
    const int unit = escape::ParseEscape(p);
    return unit == ' ' || unit == '\t' || unit == '\f';
  }

  // The end of the value's leading whitespace on this line and of the character after it.
  std::size_t LeadingEnd() {
    if (leadingEnd_ != kNone) return leadingEnd_;
    const Span& value = spans_[part_];
    std::size_t at = value.begin;
    while (at < value.end) {
      const std::size_t end = properties::CharacterEnd(line_, at);
      const bool whitespace = IsWhitespaceCharacter(at, end);
      at = end;
      if (!whitespace) break;
    }
    return leadingEnd_ = at;
  }

  // Where the whitespace at the end of the value begins, when the value ends its logical line.
  std::size_t TrailingBegin() {
    if (trailingBegin_ != kNone) return trailingBegin_;
    const Span& value = spans_[part_];
    if (spans_.back().kind == SpanKind::Continuation) return trailingBegin_ = value.end;
    std::size_t whitespaceBegin = value.begin;
    for (std::size_t at = value.begin; at < value.end;) {
      const std::size_t end = properties::CharacterEnd(line_, at);
      if (!IsWhitespaceCharacter(at, end)) whitespaceBegin = end;
      at = end;
    }
    return trailingBegin_ = whitespaceBegin;
  }

  std::string_view text_;
  // The parts of the line lexed last (no escapes), and how the line after it starts.
  std::vector<Span> spans_;
  std::size_t lineBegin_ = kNone;
  std::size_t lineEnd_ = 0;
  std::string_view line_;
  LineStart next_ = LineStart::NewLogicalLine;
  // Where the escapes asked about have got to among the parts.
  std::size_t cursor_ = 0;
  std::size_t part_ = kNone;
  std::size_t leadingEnd_ = kNone;
  std::size_t trailingBegin_ = kNone;
};

}  // namespace

bool DecodeEscapesKeepingMeaning(std::string& text) {
  return ConvertInPlace(text, [](std::string_view from, std::string& result) {
    return DecodeEscapesKeepingMeaning(from, result);
  });
}

bool DecodeEscapesKeepingMeaning(std::string_view text, std::string& result) {
  // Blocks small enough to stay in the cache, decoded straight into the result.
  constexpr std::ptrdiff_t kBlockSize = 64 * 1024;
  try {
    // Decoding never lengthens a text: the result never moves, and room that is reserved but
    // never written costs no memory.
    result.clear();
    result.reserve(text.size());
    EscapePlaces places(text);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    char* const resultBegin = result.data();
    const auto decodeEscape = [&](char16_t unit, const char* at, const char*, bool, char*& out) {
      const bool keep = !cp932::RoundTrips(unit) || IsSyntaxEverywhere(unit) || FollowsOddBackslashRun(begin, at) ||
                        (unit < 0x80 && IsHexDigit(static_cast<char>(unit)) && EndsInShortUnicodeEscape(resultBegin, out)) ||
                        (IsSyntaxAtEdges(unit) && places.MustKeep(static_cast<std::size_t>(at - begin)));
      if (keep) {
        std::memcpy(out, at, escape::kSize);
        out += escape::kSize;
      } else {
        out += cp932::EncodeUnit(unit, out);
      }
      return escape::kSize;
    };
    std::size_t written = 0;
    for (const char* from = begin; from < end;) {
      const char* to = end - from <= kBlockSize ? end : from + kBlockSize;
      result.resize(written + static_cast<std::size_t>(to - from));
      char* out = resultBegin + written;
      // An escape cut by the block's end waits for the next block.
      from = escape::ScanEscapedText(from, to, to == end, out, decodeEscape);
      written = static_cast<std::size_t>(out - resultBegin);
    }
    result.resize(written);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace propdesk
