#include "convert/meaning_safe_decoder.h"

#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

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

bool IsEscapeKind(SpanKind kind) { return kind == SpanKind::Escape || kind == SpanKind::MalformedEscape; }

// The first line end (CR or LF) at or after from, or end.
const char* FindLineEnd(const char* from, const char* end) {
  const void* lf = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
  const char* stop = lf ? static_cast<const char*>(lf) : end;
  const void* cr = std::memchr(from, '\r', static_cast<std::size_t>(stop - from));
  return cr ? static_cast<const char*>(cr) : stop;
}

// Where the escapes of a text stand, asked in increasing order of their offsets. Most escapes
// never ask, so a line is lexed only when one of its escapes does; how it starts is found by
// lexing the lines before it that may continue into it (those that end with a backslash).
class EscapePlaces {
 public:
  explicit EscapePlaces(std::string_view text) : text_(text) {}

  // Whether the escape at offset, of an ASCII unit that is not syntax everywhere, has to stay.
  bool MustKeep(std::size_t offset, char16_t unit) {
    if (lineBegin_ == kNone || offset >= lineEnd_) EnterLine(LineBegin(offset));
    const std::size_t at = offset - lineBegin_;
    MoveTo(at);
    if (container_ == kNone || at >= spans_[container_].end) return false;
    // \\u0041 is a backslash and "u0041" to a reader; decoded, it would read as "A".
    if (escape_ != kNone && spans_[escape_].begin + 1 == at && spans_[escape_].end > at) return true;
    if (!IsSyntaxAtEdges(unit)) return false;
    switch (spans_[container_].kind) {
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
    return next_ = properties::LexLine(line_, start, spans_);
  }

  void EnterLine(std::size_t begin) {
    // The lines before that end with a backslash, back to one lexed already or one that cannot
    // continue.
    std::vector<std::size_t> continuing;
    LineStart start = LineStart::NewLogicalLine;
    for (std::size_t line = begin; line > 0;) {
      std::size_t previousEnd = line - 1;
      if (text_[previousEnd] == '\n' && previousEnd > 0 && text_[previousEnd - 1] == '\r') --previousEnd;
      if (previousEnd == 0 || text_[previousEnd - 1] != '\\') break;
      line = LineBegin(previousEnd);
      if (line == lineBegin_) {
        start = next_;
        break;
      }
      continuing.push_back(line);
    }
    for (auto line = continuing.rbegin(); line != continuing.rend(); ++line) start = Lex(*line, start);
    Lex(begin, start);
    cursor_ = 0;
    container_ = escape_ = kNone;
  }

  // Takes in the spans that begin at or before at.
  void MoveTo(std::size_t at) {
    for (; cursor_ < spans_.size() && spans_[cursor_].begin <= at; ++cursor_) {
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

  std::string_view text_;
  std::vector<Span> spans_;
  // The line lexed last, its spans, and how the line after it starts.
  std::size_t lineBegin_ = kNone;
  std::size_t lineEnd_ = 0;
  std::string_view line_;
  LineStart next_ = LineStart::NewLogicalLine;
  // Where the escapes asked about have got to among the spans.
  std::size_t cursor_ = 0;
  std::size_t container_ = kNone;
  std::size_t escape_ = kNone;
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
  // Whole lines at a time, so that no escape is cut, in blocks that stay in the cache.
  constexpr std::ptrdiff_t kBlockSize = 64 * 1024;
  try {
    result.clear();
    result.reserve(text.size());
    std::vector<char> block;
    EscapePlaces places(text);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto decodeEscape = [&](char16_t unit, const char* at, const char*, bool, char*& out) {
      const bool keep = !cp932::RoundTrips(unit) || IsSyntaxEverywhere(unit) ||
                        (unit < 0x80 && places.MustKeep(static_cast<std::size_t>(at - begin), unit));
      if (keep) {
        std::memcpy(out, at, escape::kSize);
        out += escape::kSize;
      } else {
        out += cp932::EncodeUnit(unit, out);
      }
      return escape::kSize;
    };
    for (const char* from = begin; from < end;) {
      const char* to = end - from <= kBlockSize ? end : FindLineEnd(from + kBlockSize, end);
      if (to < end) ++to;
      // Decoding never lengthens a text.
      if (block.size() < static_cast<std::size_t>(to - from)) block.resize(static_cast<std::size_t>(to - from));
      char* out = block.data();
      escape::ScanEscapedText(from, to, true, out, decodeEscape);
      result.append(block.data(), out);
      from = to;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace propdesk
