#include "search/text_search.h"

#include <algorithm>
#include <cstdint>

#include "convert/cp932.h"

namespace propdesk {
namespace {

bool IsLead(char c) { return cp932::IsLeadByte(static_cast<std::uint8_t>(c)); }

// The start of the run of lead bytes that ends at pos, looking back no further than floor.
std::size_t LeadRunStart(std::string_view text, std::size_t floor, std::size_t pos) {
  while (pos > floor && IsLead(text[pos - 1])) --pos;
  return pos;
}

// Whether pos, after a run of lead bytes that began at a character start, starts a character.
// Scanning backwards cannot tell a lead byte from a second byte by itself, but a byte that is not a
// lead byte always ends a character (alone or as a second byte), and the lead bytes after it pair
// up: pos starts a character when the run before it has even length, or when the byte at pos cannot
// be a second byte, which leaves the run's last lead byte alone.
bool StartsCharacter(std::string_view text, std::size_t runStart, std::size_t pos) {
  return (pos - runStart) % 2 == 0 || pos == text.size() || !cp932::IsTrailByte(static_cast<std::uint8_t>(text[pos]));
}

// A match whose last byte is a lone lead byte in the pattern must not take the next byte of the
// text as its second byte.
bool EndsOnCharacterBoundary(std::string_view text, const SearchPattern& pattern, std::size_t start) {
  const std::size_t end = start + pattern.size();
  return !pattern.EndsWithLoneLeadByte() || end == text.size() ||
         !cp932::IsTrailByte(static_cast<std::uint8_t>(text[end]));
}

// Tells character starts for positions examined from right to left, remembering the last run of
// lead bytes so that a whole pass reads each byte at most once.
class BackwardCharacterStarts {
 public:
  explicit BackwardCharacterStarts(std::string_view text) : text_(text) {}

  bool IsCharacterStart(std::size_t pos) {
    if (pos < runStart_ || pos > runEnd_) {
      runStart_ = LeadRunStart(text_, 0, pos);
      runEnd_ = pos;
    }
    return StartsCharacter(text_, runStart_, pos);
  }

 private:
  std::string_view text_;
  std::size_t runStart_ = 1;  // an empty range until the first question
  std::size_t runEnd_ = 0;
};

}  // namespace

ForwardSearch::ForwardSearch(std::string_view text, const SearchPattern& pattern)
    : text_(text), pattern_(pattern), anchors_(text, pattern.AnchorBytes(), pattern.AnchorByteCount()) {}

bool ForwardSearch::IsCharacterStart(std::size_t pos) const {
  return StartsCharacter(text_, LeadRunStart(text_, knownCharacterStart_, pos), pos);
}

std::optional<std::size_t> ForwardSearch::FindFrom(std::size_t from) {
  const std::size_t length = pattern_.size();
  if (length == 0 || from > text_.size()) return std::nullopt;
  if (!IsCharacterStart(from)) ++from;
  knownCharacterStart_ = from;
  if (text_.size() < length || from > text_.size() - length) return std::nullopt;
  const std::size_t lastStart = text_.size() - length;
  const std::size_t anchorOffset = pattern_.AnchorOffset();
  for (std::size_t next = from; next <= lastStart;) {
    const std::size_t anchor = anchors_.Next(next + anchorOffset);
    if (anchor > lastStart + anchorOffset) break;
    const std::size_t start = anchor - anchorOffset;
    if (pattern_.MatchesAt(text_.data() + start)) {
      if (!IsCharacterStart(start)) {
        // start is the second byte of a double-byte character, so the next character follows it.
        knownCharacterStart_ = start + 1;
      } else {
        if (EndsOnCharacterBoundary(text_, pattern_, start)) return start;
        knownCharacterStart_ = start;
      }
    }
    next = start + 1;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindFirstOccurrence(std::string_view text, std::size_t from, std::string_view pattern,
                                               bool matchCase) {
  const SearchPattern prepared(pattern, matchCase);
  return ForwardSearch(text, prepared).FindFrom(from);
}

std::optional<std::size_t> FindLastOccurrence(std::string_view text, std::size_t limit, std::string_view pattern,
                                              bool matchCase) {
  const SearchPattern prepared(pattern, matchCase);
  const std::size_t length = prepared.size();
  if (length == 0 || length > text.size() || limit == 0) return std::nullopt;
  const std::size_t lastStart = std::min(limit - 1, text.size() - length);
  const std::size_t anchorOffset = prepared.AnchorOffset();
  BackwardByteScanner anchors(text, prepared.AnchorBytes(), prepared.AnchorByteCount());
  BackwardCharacterStarts characterStarts(text);
  for (std::size_t before = lastStart + anchorOffset + 1;;) {
    const std::optional<std::size_t> anchor = anchors.Previous(before);
    if (!anchor || *anchor < anchorOffset) return std::nullopt;
    const std::size_t start = *anchor - anchorOffset;
    if (prepared.MatchesAt(text.data() + start) && characterStarts.IsCharacterStart(start) &&
        EndsOnCharacterBoundary(text, prepared, start)) {
      return start;
    }
    before = *anchor;
  }
}

bool SameText(std::string_view a, std::string_view b, bool matchCase) {
  return a.size() == b.size() && (a.empty() || SearchPattern(b, matchCase).MatchesAt(a.data()));
}

}  // namespace propdesk
