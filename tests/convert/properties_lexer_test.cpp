// The lexer of .properties lines: spans and the start of the next line, on a table of lines.
#include "convert/properties_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace propdesk::properties {
namespace {

// The spans as "K(key) S(=) V(value)": a letter for the kind and the bytes in parentheses.
std::string Describe(std::string_view line, const std::vector<Span>& spans) {
  std::string text;
  for (const Span& span : spans) {
    if (!text.empty()) text += ' ';
    text += "#KSVCEM"[static_cast<int>(span.kind)];
    text += "(" + std::string(line.substr(span.begin, span.end - span.begin)) + ")";
  }
  return text;
}

TEST(PropertiesLexerTest, SpansAndNextLineStartFollowJavasReading) {
  using enum LineStart;
  const struct {
    LineStart start;
    std::string line;
    std::string spans;
    LineStart next;
  } cases[] = {
      {NewLogicalLine, "a\\=b=c", "K(a\\=b) E(\\=) S(=) V(c)", NewLogicalLine},
      {NewLogicalLine, "key value", "K(key) S( ) V(value)", NewLogicalLine},
      {NewLogicalLine, " \tkey \f:  =v  ", "K(key) S( \f:  ) V(=v  )", NewLogicalLine},
      {NewLogicalLine, "=v", "S(=) V(v)", NewLogicalLine},
      {NewLogicalLine, "only\\ key", "K(only\\ key) E(\\ )", NewLogicalLine},
      // An even number of backslashes at the end escape each other; an odd one continues.
      {NewLogicalLine, "a=b\\\\", "K(a) S(=) V(b\\\\) E(\\\\)", NewLogicalLine},
      {NewLogicalLine, "a=b\\\\\\", "K(a) S(=) V(b\\\\) E(\\\\) C(\\)", InValue},
      {NewLogicalLine, "ke\\", "K(ke) C(\\)", InKey},
      {NewLogicalLine, "key \\", "K(key) S( ) C(\\)", BeforeSeparator},
      {NewLogicalLine, "key:\\", "K(key) S(:) C(\\)", AfterSeparator},
      {InKey, "  y=1", "K(y) S(=) V(1)", NewLogicalLine},
      {BeforeSeparator, "  = v", "S(= ) V(v)", NewLogicalLine},
      {AfterSeparator, "  = v", "V(= v)", NewLogicalLine},
      // Comments start only a logical line, and never continue; a lone backslash adds nothing.
      {NewLogicalLine, "  # note \\", "#(# note \\)", NewLogicalLine},
      {NewLogicalLine, "!note", "#(!note)", NewLogicalLine},
      {InValue, "  # more value", "V(# more value)", NewLogicalLine},
      {NewLogicalLine, "  \\", "C(\\)", NewLogicalLine},
      {InValue, "\\", "C(\\)", InValue},
      {InValue, " \t ", "", NewLogicalLine},
      // \uXXXX escapes of either case stay one escape; a short one is malformed.
      {NewLogicalLine, "\\u0020k=\\u65E5\\u12x\\u", "K(\\u0020k) E(\\u0020) S(=) V(\\u65E5\\u12x\\u) E(\\u65E5) M(\\u12) M(\\u)",
       NewLogicalLine},
      // A lead byte and its trail byte are one character, even when the trail byte is 0x5C.
      {NewLogicalLine, "\x95\\=v\x95\\", "K(\x95\\) S(=) V(v\x95\\)", NewLogicalLine},
      {NewLogicalLine, "k=\\\x95\\\\", "K(k) S(=) V(\\\x95\\) E(\\\x95\\) C(\\)", InValue},
  };
  std::vector<Span> spans = {{SpanKind::Comment, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(LexLine(c.line, c.start, spans), c.next) << c.line;
    EXPECT_EQ(Describe(c.line, spans), c.spans) << c.line;
  }
}

}  // namespace
}  // namespace propdesk::properties
