#include "convert/meaning_safe_decoder.h"

#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "convert/cp932.h"
#include "convert/escape_syntax.h"
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

bool IsEscapeKind(SpanKind kind) { return kind == SpanKind::Escape || kind == SpanKind::MalformedEscape; }

// Where the escapes of one line stand, asked in increasing order of their offsets. The line is
// lexed only when an escape's place matters or the next line needs to know how it starts.
class LineContext {
 public:
  LineContext(std::string_view line, LineStart start, std::vector<Span>& spans)
      : line_(line), start_(start), spans_(spans) {}

  // Whether the escape at offset, of an ASCII unit that is not syntax everywhere, has to stay.
  bool MustKeep(std::size_t offset, char16_t unit) {
    MoveTo(offset);
    if (container_ == kNone || offset >= spans_[container_].end) return false;
    // \\u0041 is a backslash and "u0041" to a reader; decoded, it would read as "A".
    if (escape_ != kNone && spans_[escape_].begin + 1 == offset && spans_[escape_].end > offset) return true;
    if (!IsSyntaxAtEdges(unit)) return false;
    switch (spans_[container_].kind) {
      case SpanKind::Key:
        return true;
      case SpanKind::Value:
        return offset < LeadingEnd() || offset >= TrailingBegin();
      default:
        return false;
    }
  }

  LineStart NextStart() {
    Lex();
    return next_;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  void Lex() {
    if (lexed_) return;
    next_ = properties::LexLine(line_, start_, spans_);
    lexed_ = true;
  }

  // Takes in the spans that begin at or before offset.
  void MoveTo(std::size_t offset) {
    Lex();
    for (; cursor_ < spans_.size() && spans_[cursor_].begin <= offset; ++cursor_) {
      if (IsEscapeKind(spans_[cursor_].kind)) {
        escape_ = cursor_;
      } else {
        container_ = cursor_;
        leadingEnd_ = trailingBegin_ = kNone;
      }
    }
  }

  bool IsWhitespaceEscape(const Span& span) const {
    if (span.kind != SpanKind::Escape) return false;
    const char* p = line_.data() + span.begin;
    if (span.end - span.begin == 2) return p[1] == ' ' || p[1] == 't' || p[1] == 'f';
    if (span.end - span.begin != escape::kSize) return false;
    const int unit = escape::ParseEscape(p);
    return unit == ' ' || unit == '\t' || unit == '\f';
  }

  // The end of the value's leading whitespace on this line and of the character after it.
  std::size_t LeadingEnd() {
    if (leadingEnd_ != kNone) return leadingEnd_;
    const Span& value = spans_[container_];
    std::size_t at = value.begin;
    for (std::size_t next = container_ + 1; at < value.end;) {
      if (next < spans_.size() && spans_[next].begin == at) {
        at = spans_[next].end;
        if (!IsWhitespaceEscape(spans_[next++])) break;
      } else if (properties::IsWhitespace(line_[at])) {
        ++at;
      } else {
        break;
      }
    }
    return leadingEnd_ = at;
  }

  // Where the whitespace at the end of the value begins, when the value ends its logical line.
  std::size_t TrailingBegin() {
    if (trailingBegin_ != kNone) return trailingBegin_;
    const Span& value = spans_[container_];
    if (spans_.back().kind == SpanKind::Continuation) return trailingBegin_ = value.end;
    std::size_t at = value.end;
    for (std::size_t last = spans_.size() - 1; at > value.begin;) {
      if (last > container_ && spans_[last].end == at) {
        if (!IsWhitespaceEscape(spans_[last])) break;
        at = spans_[last--].begin;
      } else if (properties::IsWhitespace(line_[at - 1])) {
        --at;
      } else {
        break;
      }
    }
    return trailingBegin_ = at;
  }

  std::string_view line_;
  LineStart start_;
  std::vector<Span>& spans_;
  bool lexed_ = false;
  LineStart next_ = LineStart::NewLogicalLine;
  std::size_t cursor_ = 0;
  std::size_t container_ = kNone;
  std::size_t escape_ = kNone;
  std::size_t leadingEnd_ = kNone;
  std::size_t trailingBegin_ = kNone;
};

// The first line end (CR or LF) at or after from, or end.
const char* FindLineEnd(const char* from, const char* end) {
  const void* lf = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
  const char* stop = lf ? static_cast<const char*>(lf) : end;
  const void* cr = std::memchr(from, '\r', static_cast<std::size_t>(stop - from));
  return cr ? static_cast<const char*>(cr) : stop;
}

// Past the line end (CR, LF or CR LF) at lineEnd.
const char* SkipLineEnd(const char* lineEnd, const char* end) {
  if (lineEnd == end) return end;
  if (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') return lineEnd + 2;
  return lineEnd + 1;
}

char* Copy(const char* begin, const char* end, char* out) {
  std::memcpy(out, begin, static_cast<std::size_t>(end - begin));
  return out + (end - begin);
}

}  // namespace

bool DecodeEscapesKeepingMeaning(std::string& text) {
  try {
    // Decoding never lengthens a text.
    std::string result(text.size(), '\0');
    std::vector<Span> spans;
    char* out = result.data();
    const char* p = text.data();
    const char* const end = p + text.size();
    LineStart start = LineStart::NewLogicalLine;
    // A line without a backslash holds no escape and does not continue: it is copied as it is.
    while (const void* found = std::memchr(p, '\\', static_cast<std::size_t>(end - p))) {
      const char* const backslash = static_cast<const char*>(found);
      const char* lineBegin = backslash;
      while (lineBegin > p && lineBegin[-1] != '\n' && lineBegin[-1] != '\r') --lineBegin;
      if (lineBegin != p) start = LineStart::NewLogicalLine;
      const char* const lineEnd = FindLineEnd(backslash, end);
      out = Copy(p, backslash, out);

      const std::string_view line(lineBegin, static_cast<std::size_t>(lineEnd - lineBegin));
      LineContext context(line, start, spans);
      const auto decodeEscape = [&](char16_t unit, const char* at, const char*, bool, char*& o) {
        const bool keep = !cp932::RoundTrips(unit) || IsSyntaxEverywhere(unit) ||
                          (unit < 0x80 && context.MustKeep(static_cast<std::size_t>(at - lineBegin), unit));
        if (keep) {
          o = Copy(at, at + escape::kSize, o);
        } else {
          o += cp932::EncodeUnit(unit, o);
        }
        return escape::kSize;
      };
      escape::ScanEscapedText(backslash, lineEnd, true, out, decodeEscape);
      start = lineEnd[-1] == '\\' ? context.NextStart() : LineStart::NewLogicalLine;
      p = SkipLineEnd(lineEnd, end);
      out = Copy(lineEnd, p, out);
    }
    out = Copy(p, end, out);
    result.resize(static_cast<std::size_t>(out - result.data()));
    text.swap(result);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace propdesk
