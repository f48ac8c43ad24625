#include "convert/properties_lexer.h"

#include "common/hex_digit.h"
#include "convert/cp932.h"

namespace propdesk::properties {
namespace {

bool IsHexDigit(char c) { return HexDigitValue(c) >= 0; }

class LineLexer {
 public:
  LineLexer(std::string_view line, std::vector<Span>& spans, EscapeSpans escapes)
      : line_(line), spans_(spans), escapes_(escapes) {}

  std::size_t SkipWhitespace(std::size_t i) const {
    while (i < line_.size() && IsWhitespace(line_[i])) ++i;
    return i;
  }

  bool IsContinuation(std::size_t i) const { return line_[i] == '\\' && i + 1 == line_.size(); }

  // Lexes the characters of a key (which end at the first unescaped '=', ':' or whitespace) or of
  // a value (which end with the line) from i, as one span of kind with its escapes inside. Returns
  // where they end: the line's end, the separator, or the continuation backslash.
  std::size_t Part(SpanKind kind, std::size_t i) {
    const std::size_t index = spans_.size();
    spans_.push_back({kind, i, i});
    while (i < line_.size()) {
      const char c = line_[i];
      if (c == '\\') {
        if (IsContinuation(i)) break;
        i = Escape(i);
      } else if (kind == SpanKind::Key && (c == '=' || c == ':' || IsWhitespace(c))) {
        break;
      } else {
        i += cp932::CharacterLength(line_, i);
      }
    }
    if (i == spans_[index].begin) {
      spans_.pop_back();
    } else {
      spans_[index].end = i;
    }
    return i;
  }

  void Add(SpanKind kind, std::size_t begin, std::size_t end) { spans_.push_back({kind, begin, end}); }

 private:
  // Adds the span of the escape whose backslash is at i (not the line's last byte); returns its end.
  std::size_t Escape(std::size_t i) {
    const std::size_t end = CharacterEnd(line_, i);
    if (escapes_ == EscapeSpans::kReported) {
      const bool malformed = line_[i + 1] == 'u' && end - i != 6;
      Add(malformed ? SpanKind::MalformedEscape : SpanKind::Escape, i, end);
    }
    return end;
  }

  std::string_view line_;
  std::vector<Span>& spans_;
  EscapeSpans escapes_;
};

}  // namespace

std::size_t CharacterEnd(std::string_view line, std::size_t i) {
  if (line[i] != '\\') return i + cp932::CharacterLength(line, i);
  if (i + 1 == line.size()) return i + 1;
  if (line[i + 1] != 'u') return i + 1 + cp932::CharacterLength(line, i + 1);
  std::size_t end = i + 2;
  while (end < line.size() && end < i + 6 && IsHexDigit(line[end])) ++end;
  return end;
}

LineStart LexLine(std::string_view line, LineStart start, std::vector<Span>& spans, EscapeSpans escapes) {
  spans.clear();
  LineLexer lexer(line, spans, escapes);
  const std::size_t n = line.size();
  std::size_t i = lexer.SkipWhitespace(0);
  // A blank line ends a logical line, continued or not.
  if (i == n) return LineStart::NewLogicalLine;
  if (start == LineStart::NewLogicalLine && (line[i] == '#' || line[i] == '!')) {
    lexer.Add(SpanKind::Comment, i, n);
    return LineStart::NewLogicalLine;
  }
  LineStart part = start == LineStart::NewLogicalLine ? LineStart::InKey : start;
  const auto continued = [&](LineStart next) {
    lexer.Add(SpanKind::Continuation, n - 1, n);
    return next;
  };
  if (part == LineStart::InKey) {
    const std::size_t keyEnd = lexer.Part(SpanKind::Key, i);
    if (keyEnd == n) return LineStart::NewLogicalLine;
    // A backslash alone adds nothing: the next line may still start a comment.
    if (lexer.IsContinuation(keyEnd)) return continued(keyEnd == i ? start : LineStart::InKey);
    i = keyEnd;
    part = LineStart::BeforeSeparator;
  }
  if (part != LineStart::InValue) {
    const std::size_t separatorBegin = i;
    i = lexer.SkipWhitespace(i);
    if (part == LineStart::BeforeSeparator && i < n && (line[i] == '=' || line[i] == ':')) {
      part = LineStart::AfterSeparator;
      i = lexer.SkipWhitespace(i + 1);
    }
    if (i > separatorBegin) lexer.Add(SpanKind::Separator, separatorBegin, i);
    if (i == n) return LineStart::NewLogicalLine;
    if (lexer.IsContinuation(i)) return continued(part);
  }
  const std::size_t valueEnd = lexer.Part(SpanKind::Value, i);
  return valueEnd == n ? LineStart::NewLogicalLine : continued(LineStart::InValue);
}

}  // namespace propdesk::properties
