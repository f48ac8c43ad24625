#pragma once
// A find text prepared for searching native code page 932 text, exactly or ignoring case.
//
// Ignoring case folds the ASCII letters and the full-width Latin letters (0x8260-0x8279 with
// 0x8281-0x829A). A double-byte character is a unit: only a letter that starts a character folds,
// so the second byte of a double-byte character is never taken for an ASCII letter. Folding keeps
// every character's byte length, so a match always has the find text's length.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace propdesk {

class SearchPattern {
 public:
  SearchPattern(std::string_view pattern, bool matchCase);

  std::size_t size() const { return folded_.size(); }
  bool empty() const { return folded_.empty(); }
  // The pattern ends with a lead byte that has no second byte: it can only match at the end of a
  // text, where the text's last character is such a lone lead byte as well.
  bool EndsWithLoneLeadByte() const { return endsWithLoneLeadByte_; }

  // True when the size() bytes at `bytes` equal the pattern, given that `bytes` starts a character.
  bool MatchesAt(const char* bytes) const;

  // The pattern offset whose byte is rarest in ordinary text, and the one or two text bytes that
  // can stand there in a match: the scanners look for these bytes and then check the whole match.
  std::size_t AnchorOffset() const { return anchorOffset_; }
  const std::array<std::uint8_t, 2>& AnchorBytes() const { return anchorBytes_; }
  std::size_t AnchorByteCount() const { return anchorByteCount_; }

 private:
  using FoldTable = std::array<std::uint8_t, 256>;

  void ChooseAnchor();

  bool matchCase_;
  bool endsWithLoneLeadByte_ = false;
  std::string folded_;
  std::vector<const FoldTable*> folds_;  // per pattern byte: how the text byte there is folded
  std::size_t anchorOffset_ = 0;
  std::array<std::uint8_t, 2> anchorBytes_{};
  std::size_t anchorByteCount_ = 0;
};

}  // namespace propdesk
