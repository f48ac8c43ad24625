// Replace All and the buffer it builds its result in.
#include "search/replace_all.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "search/grow_buffer.h"
#include "search/private_text_view.h"

namespace propdesk {
namespace {

using test::PrivateTextView;

TEST(GrowBuffer, DoublesBelowOneMebibyteThenGrowsByOneMebibyte) {
  GrowBuffer buffer;
  buffer.Append("", 0);
  EXPECT_EQ(buffer.Capacity(), 0u);
  buffer.Append("abc", 3);
  EXPECT_EQ(buffer.Capacity(), 32u);
  const std::string chunk(40, 'x');
  buffer.Append(chunk.data(), chunk.size());
  EXPECT_EQ(buffer.Capacity(), 64u);
  const std::string large(0x100000, 'y');
  buffer.Append(large.data(), large.size());  // 64 * 2 is still too small: the need is added
  EXPECT_EQ(buffer.Capacity(), 128u + large.size());
  buffer.Append(large.data(), large.size());
  EXPECT_EQ(buffer.Capacity(), 128u + 2 * large.size());
  EXPECT_EQ(buffer.View().substr(0, 4), "abcx");
  EXPECT_EQ(buffer.View().size(), 3 + 40 + 2 * large.size());
}

TEST(GrowBuffer, RejectsMissingBytes) {
  GrowBuffer buffer;
  buffer.Append(nullptr, 0);
  EXPECT_THROW(buffer.Append(nullptr, 1), std::invalid_argument);
  EXPECT_TRUE(buffer.View().empty());
}

struct ReplaceAllCase {
  std::string text, findWhat, replaceWith;
  std::uint32_t flags;
  std::string expected;
  std::size_t count;
};

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlapOrRescanning) {
  const std::vector<ReplaceAllCase> cases = {
      {"a.a.a", "a", "bb", FR_DOWN, "bb.bb.bb", 3},
      {"aaaa", "aa", "a", FR_DOWN, "aa", 2},
      {"x-x", "x", "xx", FR_DOWN, "xx-xx", 2},
      {"ABC abc", "abc", "d", 0, "d d", 2},
      {"ABC abc", "abc", "d", FR_MATCHCASE, "ABC d", 1},
      {"foo bar foo", "foo", "", FR_MATCHCASE, " bar ", 2},
      {"\x83\x41" "A" "\x83\x41", "A", "B", FR_MATCHCASE, "\x83\x41" "B" "\x83\x41", 1},
  };
  for (const auto& c : cases) {
    PrivateTextView view(c.text);
    view.SetSelection(c.text.size(), c.text.size());  // the selection does not matter
    const SearchState state{c.findWhat, c.replaceWith, c.flags};
    EXPECT_EQ(ReplaceAll(view, state), c.count) << c.text;
    EXPECT_EQ(view.GetText(), c.expected) << c.text;
    EXPECT_EQ(view.GetSelection().start, 0u);
    EXPECT_EQ(view.GetSelection().end, 0u);
  }
}

TEST(ReplaceAll, IsOneUndoableEditThatLeavesTheDocumentModified) {
  PrivateTextView view("a.a.a");
  EXPECT_EQ(ReplaceAll(view, SearchState{"a", "bb"}), 3u);
  EXPECT_TRUE(view.IsModified());
  EXPECT_EQ(view.ScrollCount(), 1);
  ASSERT_TRUE(view.CanUndo());
  view.Undo();
  EXPECT_EQ(view.GetText(), "a.a.a");
}

TEST(ReplaceAll, NothingFoundLeavesTheViewUntouched) {
  PrivateTextView view("abc");
  view.SetSelection(1, 2);
  EXPECT_EQ(ReplaceAll(view, SearchState{"x", "y"}), 0u);
  EXPECT_EQ(ReplaceAll(view, SearchState{"", "y"}), 0u);
  EXPECT_EQ(view.GetText(), "abc");
  EXPECT_EQ(view.GetSelection().start, 1u);
  EXPECT_FALSE(view.IsModified());
  EXPECT_FALSE(view.CanUndo());
}

class ViewWithoutMemoryForNewText : public PrivateTextView {
 public:
  using PrivateTextView::PrivateTextView;
  void ReplaceAllText(std::string_view) override { throw std::bad_alloc(); }
};

TEST(ReplaceAll, OutOfMemoryReportsNothingReplaced) {
  ViewWithoutMemoryForNewText view("a.a");
  EXPECT_EQ(ReplaceAll(view, SearchState{"a", "b"}), 0u);
  EXPECT_EQ(view.GetText(), "a.a");
  EXPECT_EQ(view.ScrollCount(), 0);
}

}  // namespace
}  // namespace propdesk
