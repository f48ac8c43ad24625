// The search primitives over native code page 932 text: character starts, case folding, limits,
// and agreement with a plain character-by-character reference on random texts.
#include "search/text_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "convert/cp932.h"
#include "search/search_state.h"

namespace propdesk {
namespace {

constexpr auto kNone = std::nullopt;
// ア is 0x83 0x41, whose second byte is 'A'; 亜 is 0x88 0x9F, both bytes in the lead-byte range.
const std::string kKatakanaA = "\x83\x41";
const std::string kKanjiA = "\x88\x9F";
const std::string kFullWidthA = "\x82\x60", kFullWidthSmallA = "\x82\x81";
const std::string kFullWidthZ = "\x82\x79", kFullWidthSmallZ = "\x82\x9A";

struct SearchCase {
  const char* name;
  std::string text;
  std::size_t position;  // from for forward searches, limit for backward ones
  std::string pattern;
  bool matchCase;
  std::optional<std::size_t> expected;
};

TEST(TextSearch, FindsFirstOccurrenceAtOrAfterPosition) {
  const std::vector<SearchCase> cases = {
      {"from start", "abcabc", 0, "bc", true, 1},
      {"from end of first match", "abcabc", 3, "bc", true, 4},
      {"at the very position", "abcabc", 4, "bc", true, 4},
      {"nothing after", "abcabc", 5, "bc", true, kNone},
      {"no wrap-around", "abcabc", 6, "bc", true, kNone},
      {"second byte of katakana is not a start", kKatakanaA + "A", 0, "A", true, 2},
      {"ignoring case, second byte is not folded", kKatakanaA + "a", 0, "A", false, 2},
      {"second byte never folds to a lower-case letter", kKatakanaA, 0, "\x83\x61", false, kNone},
      {"lower-case letter does not match a second byte", kKatakanaA, 0, "a", false, kNone},
      {"full-width letters fold", kFullWidthSmallA + kFullWidthZ, 0, kFullWidthA + kFullWidthSmallZ, false, 0},
      {"full-width letters exact", kFullWidthSmallA + kFullWidthZ, 0, kFullWidthA + kFullWidthSmallZ, true, kNone},
      {"full-width and ASCII letters differ", kFullWidthA, 0, "A", false, kNone},
      {"ASCII folds", "xx HeLLo", 0, "hello", false, 3},
      {"offsets count CR LF and double bytes", "key\r\n" + kKanjiA + "=" + kKatakanaA, 0, kKatakanaA, true, 8},
      {"pair straddling two kanji is no match", kKanjiA + kKanjiA, 0, "\x9F\x88", true, kNone},
      {"run of lead bytes pairs from its start", "\x88\x88\x88\x88", 0, "\x88\x88", true, 0},
      {"position inside a character moves on", "\x88\x88\x88\x88", 1, "\x88\x88", true, 2},
      {"lone lead byte at the end matches", "ab\x83", 0, "\x83", true, 2},
      {"lone lead byte never splits a character", kKatakanaA + "\x83", 0, "\x83", true, 2},
      {"bytes after a NUL are searched", std::string("a\0b", 3), 0, "b", true, 2},
      {"empty pattern", "abc", 0, "", true, kNone},
      {"pattern longer than text", "ab", 0, "abc", true, kNone},
      {"position past the end", "ab", 3, "b", true, kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindFirstOccurrence(c.text, c.position, c.pattern, c.matchCase), c.expected) << c.name;
  }
}

TEST(TextSearch, FindsLastOccurrenceBeginningBeforeLimit) {
  const std::vector<SearchCase> cases = {
      {"before a selection's start", "abcabc", 4, "bc", true, 1},
      {"nothing before", "abcabc", 1, "bc", true, kNone},
      {"may extend past the limit", "abcabc", 5, "bc", true, 4},
      {"overlapping occurrences", "aaaa", 2, "aa", true, 1},
      {"overlapping occurrences, next", "aaaa", 1, "aa", true, 0},
      {"limit zero", "aaaa", 0, "aa", true, kNone},
      {"ignoring case", "ABC abc", 4, "abc", false, 0},
      {"second byte of katakana is not a start", "A" + kKatakanaA, 3, "A", true, 0},
      {"full-width letters fold", kFullWidthA + "x", 3, kFullWidthSmallA, false, 0},
      {"run of lead bytes pairs from its start", "a\x88\x88\x88\x88\x88", 5, "\x88\x88", true, 3},
      {"kanji pair after a second byte that is a letter", kKatakanaA + "\x88\x88\x88\x88", 4, "\x88\x88", true, 2},
      {"empty pattern", "abc", 3, "", true, kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindLastOccurrence(c.text, c.position, c.pattern, c.matchCase), c.expected) << c.name;
  }
}

TEST(TextSearch, ComparesWholeStrings) {
  EXPECT_TRUE(SameText("FOO", "foo", false));
  EXPECT_FALSE(SameText("FOO", "foo", true));
  EXPECT_FALSE(SameText("foo", "fo", false));
  EXPECT_TRUE(SameText(kFullWidthA, kFullWidthSmallA, false));
  EXPECT_FALSE(SameText(kKatakanaA, "\x83\x61", false));
}

TEST(SearchState, CutsTextsOnCharacterBoundaries) {
  const std::string kanji79 = std::string(77, 'x') + kKanjiA;
  EXPECT_EQ(CutToWholeCharacters(kanji79, kMaxSearchTextBytes), kanji79);
  EXPECT_EQ(CutToWholeCharacters(kanji79 + "y", kMaxSearchTextBytes), kanji79);
  EXPECT_EQ(CutToWholeCharacters(std::string(78, 'x') + kKanjiA, kMaxSearchTextBytes), std::string(78, 'x'));
}

// The reference: character starts enumerated from the start of the text, characters compared as
// units with the same folding rules.
using cp932::CharacterLength;

std::string FoldedCharacter(std::string_view s, std::size_t i, bool matchCase) {
  std::string c(s.substr(i, CharacterLength(s, i)));
  if (matchCase) return c;
  if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') c[0] = static_cast<char>(c[0] + 32);
  const auto trail = c.size() == 2 ? static_cast<unsigned char>(c[1]) : 0;
  if (c.size() == 2 && c[0] == '\x82' && trail >= 0x60 && trail <= 0x79) c[1] = static_cast<char>(trail + 0x21);
  return c;
}

bool ReferenceMatchAt(std::string_view text, std::size_t start, std::string_view pattern, bool matchCase) {
  std::size_t t = start, p = 0;
  while (p < pattern.size()) {
    if (t >= text.size() || FoldedCharacter(text, t, matchCase) != FoldedCharacter(pattern, p, matchCase)) return false;
    t += CharacterLength(text, t);
    p += CharacterLength(pattern, p);
  }
  return true;
}

std::vector<std::size_t> CharacterStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) starts.push_back(i);
  return starts;
}

std::optional<std::size_t> ReferenceFirst(std::string_view text, std::size_t from, std::string_view pattern, bool matchCase) {
  if (pattern.empty()) return kNone;
  for (std::size_t start : CharacterStarts(text)) {
    if (start >= from && ReferenceMatchAt(text, start, pattern, matchCase)) return start;
  }
  return kNone;
}

std::optional<std::size_t> ReferenceLast(std::string_view text, std::size_t limit, std::string_view pattern, bool matchCase) {
  std::optional<std::size_t> last;
  if (pattern.empty()) return kNone;
  for (std::size_t start : CharacterStarts(text)) {
    if (start < limit && ReferenceMatchAt(text, start, pattern, matchCase)) last = start;
  }
  return last;
}

// The long way: step back through the case-insensitive occurrences until one is exact.
TEST(TextSearch, AgreesWithCharacterByCharacterReferenceOnRandomTexts) {
  const std::string alphabet = "AaBb\r\n\x83\x82\x60\x81\x88\x9F\x9A\x79";
  std::mt19937 random(20240611);
  auto randomText = [&](std::size_t maxLength) {
    std::string s(random() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string text = randomText(24);
    std::string pattern = randomText(3);
    if (!text.empty() && round % 2 == 0) pattern = text.substr(random() % text.size(), 1 + random() % 4);
    for (std::size_t position = 0; position <= text.size() + 1; ++position) {
      for (bool matchCase : {false, true}) {
        // A position inside a character counts from the character after it.
        std::size_t from = position;
        const auto starts = CharacterStarts(text);
        if (from < text.size() && std::find(starts.begin(), starts.end(), from) == starts.end()) ++from;
        ASSERT_EQ(FindFirstOccurrence(text, position, pattern, matchCase), ReferenceFirst(text, from, pattern, matchCase))
            << "forward " << round << " at " << position;
        ASSERT_EQ(FindLastOccurrence(text, position, pattern, matchCase), ReferenceLast(text, position, pattern, matchCase))
            << "backward " << round << " at " << position;
      }
    }
  }
}

}  // namespace
}  // namespace propdesk
