#include "document/refused_escapes.h"

#include <algorithm>
#include <cstdint>

#include "convert/cp932.h"
#include "convert/properties_lexer.h"

namespace propdesk {
namespace {

using properties::LineStart;
using properties::Span;
using properties::SpanKind;

constexpr std::string_view kLineBreaks = "\r\n";
// How many lines back a continued line is followed, as the edit view's colouring does.
constexpr int kMaxLookBack = 256;

struct Line {
  std::size_t begin;
  std::size_t end;  // at its line break or the end of the text
};

Line LineAround(std::string_view text, std::size_t at) {
  const std::size_t before = at == 0 ? std::string_view::npos : text.find_last_of(kLineBreaks, at - 1);
  const std::size_t begin = before == std::string_view::npos ? 0 : before + 1;
  return {begin, std::min(text.find_first_of(kLineBreaks, at), text.size())};
}

// The line before line, or none for the first line.
std::optional<Line> PreviousLine(std::string_view text, const Line& line) {
  if (line.begin == 0) return std::nullopt;
  std::size_t breakStart = line.begin - 1;
  if (text[breakStart] == '\n' && breakStart > 0 && text[breakStart - 1] == '\r') --breakStart;
  return LineAround(text, breakStart);
}

// True when the line ends in an odd run of backslashes, a trail byte 0x5C not counted.
bool EndsWithContinuation(std::string_view line) {
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < line.size();) {
    const auto b = static_cast<std::uint8_t>(line[i]);
    if (cp932::CharacterLength(line, i) == 2) {
      backslashes = 0;
      i += 2;
    } else {
      backslashes = b == '\\' ? backslashes + 1 : 0;
      ++i;
    }
  }
  return backslashes % 2 == 1;
}

// Calls found(line, escape) for each refused escape, the line being the one that holds it. Only
// the lines that hold "\u" are lexed, from the start of their logical line.
template <class Found>
void ForEachRefusedEscape(std::string_view text, Found found) {
  std::vector<Span> spans;
  for (std::size_t at = text.find("\\u"); at != std::string_view::npos;) {
    const Line line = LineAround(text, at);
    Line from = line;
    for (int steps = 0; steps < kMaxLookBack; ++steps) {
      const std::optional<Line> previous = PreviousLine(text, from);
      if (!previous || !EndsWithContinuation(text.substr(previous->begin, previous->end - previous->begin))) break;
      from = *previous;
    }
    LineStart start = LineStart::NewLogicalLine;
    for (Line lexed = from;; lexed = LineAround(text, lexed.end + (text.compare(lexed.end, 2, "\r\n") == 0 ? 2 : 1))) {
      start = properties::LexLine(text.substr(lexed.begin, lexed.end - lexed.begin), start, spans);
      if (lexed.begin == line.begin) break;
    }
    for (const Span& span : spans) {
      if (span.kind == SpanKind::MalformedEscape) found(line, Line{line.begin + span.begin, line.begin + span.end});
    }
    at = text.find("\\u", line.end);
  }
}

}  // namespace

RefusedEscapes FindRefusedEscapes(std::string_view text, const std::vector<std::string>& known) {
  RefusedEscapes found;
  ForEachRefusedEscape(text, [&](const Line& line, const Line& escape) {
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    if (!found.firstNew && !std::binary_search(known.begin(), known.end(), content)) {
      found.firstNew = RefusedEscape{0, escape.begin, escape.end};
    }
    found.lines.emplace_back(content);
  });
  std::sort(found.lines.begin(), found.lines.end());
  found.lines.erase(std::unique(found.lines.begin(), found.lines.end()), found.lines.end());
  if (found.firstNew) {
    for (std::size_t at = text.find("\r\n"); at < found.firstNew->begin; at = text.find("\r\n", at + 2)) {
      ++found.firstNew->line;
    }
  }
  return found;
}

}  // namespace propdesk
