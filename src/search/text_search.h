#pragma once
// Substring search over native code page 932 text, with byte offsets.
//
// A character is one byte, or two when the first is a lead byte (0x81-0x9F, 0xE0-0xFC). A match
// begins only where a character begins, never on the second byte of a double-byte character, and
// has the pattern's byte length, also when case is ignored (see SearchPattern). An empty pattern
// matches nothing. There is no wrap-around.
#include <cstddef>
#include <optional>
#include <string_view>

#include "search/byte_scanner.h"
#include "search/search_pattern.h"

namespace propdesk {

// Finds the matches of one pattern in one text from left to right. Text and pattern must outlive it.
class ForwardSearch {
 public:
  ForwardSearch(std::string_view text, const SearchPattern& pattern);
  // The first match beginning at or after from; a from inside a double-byte character counts from
  // the character after it. from must not be less than a previous call's from.
  std::optional<std::size_t> FindFrom(std::size_t from);

 private:
  bool IsCharacterStart(std::size_t pos) const;

  std::string_view text_;
  const SearchPattern& pattern_;
  ForwardByteScanner anchors_;
  std::size_t knownCharacterStart_ = 0;  // never beyond the next position to examine
};

// The first occurrence beginning at or after from.
std::optional<std::size_t> FindFirstOccurrence(std::string_view text, std::size_t from, std::string_view pattern,
                                               bool matchCase);
// The last occurrence beginning before limit; it may extend past limit.
std::optional<std::size_t> FindLastOccurrence(std::string_view text, std::size_t limit, std::string_view pattern,
                                              bool matchCase);
// Whole-string equality, exact or ignoring case; a starts a character.
bool SameText(std::string_view a, std::string_view b, bool matchCase);

}  // namespace propdesk
