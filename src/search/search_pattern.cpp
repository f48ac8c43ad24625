#include "search/search_pattern.h"

#include <cstring>

#include "convert/cp932.h"

namespace propdesk {
namespace {

constexpr std::array<std::uint8_t, 256> MakeFoldTable(unsigned upperFirst, unsigned lowerFirst, unsigned count) {
  std::array<std::uint8_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) table[b] = static_cast<std::uint8_t>(b);
  for (unsigned k = 0; k < count; ++k) table[upperFirst + k] = static_cast<std::uint8_t>(lowerFirst + k);
  return table;
}

constexpr auto kNoFold = MakeFoldTable(0, 0, 0);
constexpr auto kAsciiLetterFold = MakeFoldTable('A', 'a', 26);
// Second bytes of the full-width letters after the lead byte 0x82: Ａ-Ｚ 0x60-0x79, ａ-ｚ 0x81-0x9A.
constexpr auto kFullWidthLetterFold = MakeFoldTable(0x60, 0x81, 26);
constexpr std::uint8_t kFullWidthLetterLead = 0x82;

constexpr bool IsAsciiLetter(std::uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
constexpr bool IsFullWidthLetterTrail(std::uint8_t b) { return (b >= 0x60 && b <= 0x79) || (b >= 0x81 && b <= 0x9A); }

// A rough rank of how often a byte occurs in resource text, lowest for the rarest.
constexpr int Commonness(std::uint8_t b) {
  if (b == ' ' || b == '\r' || b == '\n' || b == '\t' || b == '=' || b == '.' || b == '\\') return 4;
  // Lead bytes of hiragana, katakana and kanji are as common in Japanese text as letters in English.
  if ((b >= 'a' && b <= 'z') || cp932::IsLeadByte(b)) return 3;
  if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) return 2;
  return 1;
}

}  // namespace

SearchPattern::SearchPattern(std::string_view pattern, bool matchCase)
    : matchCase_(matchCase), folded_(pattern.size(), '\0'), folds_(pattern.size(), &kNoFold) {
  for (std::size_t i = 0; i < pattern.size();) {
    const auto b = static_cast<std::uint8_t>(pattern[i]);
    if (cp932::IsLeadByte(b) && i + 1 == pattern.size()) {
      endsWithLoneLeadByte_ = true;
      break;
    }
    if (cp932::CharacterLength(pattern, i) == 2) {
      const auto trail = static_cast<std::uint8_t>(pattern[i + 1]);
      if (!matchCase && b == kFullWidthLetterLead && IsFullWidthLetterTrail(trail)) folds_[i + 1] = &kFullWidthLetterFold;
      i += 2;
    } else {
      if (!matchCase && IsAsciiLetter(b)) folds_[i] = &kAsciiLetterFold;
      ++i;
    }
  }
  for (std::size_t i = 0; i < pattern.size(); ++i)
    folded_[i] = static_cast<char>((*folds_[i])[static_cast<std::uint8_t>(pattern[i])]);
  ChooseAnchor();
}

bool SearchPattern::MatchesAt(const char* bytes) const {
  if (matchCase_) return std::memcmp(bytes, folded_.data(), folded_.size()) == 0;
  for (std::size_t i = 0; i < folded_.size(); ++i) {
    if ((*folds_[i])[static_cast<std::uint8_t>(bytes[i])] != static_cast<std::uint8_t>(folded_[i])) return false;
  }
  return true;
}

void SearchPattern::ChooseAnchor() {
  int bestScore = 0;
  for (std::size_t i = 0; i < folded_.size(); ++i) {
    const auto target = static_cast<std::uint8_t>(folded_[i]);
    // A folded position admits two bytes and so costs two scans: prefer any single-byte position.
    const int score = Commonness(target) + (folds_[i] == &kNoFold ? 0 : 10);
    if (i > 0 && score >= bestScore) continue;
    bestScore = score;
    anchorOffset_ = i;
    anchorByteCount_ = 0;
    for (unsigned b = 0; b < 256; ++b) {
      if ((*folds_[i])[b] == target) anchorBytes_[anchorByteCount_++] = static_cast<std::uint8_t>(b);
    }
  }
}

}  // namespace propdesk
