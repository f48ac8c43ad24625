// Replace All and the buffer it builds its result in.
#include "search/replace_all.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "search/grow_buffer.h"
#include "support/fake_text_view.h"

namespace propdesk {
namespace {

using test::FakeTextView;

TEST(GrowBuffer, KeepsEveryByteAcrossGrowthSteps) {
  GrowBuffer buffer;
  buffer.Append("", 0);
  buffer.Append("abc", 3);
  const std::string chunk(40, 'x');
  buffer.Append(chunk.data(), chunk.size());
  const std::string large(0x100000, 'y');
  buffer.Append(large.data(), large.size());
  buffer.Append(large.data(), large.size());
  EXPECT_EQ(buffer.View().substr(0, 4), "abcx");
  EXPECT_EQ(buffer.View().back(), 'y');
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
    FakeTextView view(c.text);
    view.SetSelection(c.text.size(), c.text.size());  // the selection does not matter
    const SearchState state{c.findWhat, c.replaceWith, c.flags};
    EXPECT_EQ(ReplaceAll(view, state), c.count) << c.text;
    EXPECT_EQ(view.GetText(), c.expected) << c.text;
    EXPECT_EQ(view.GetSelection().start, 0u);
    EXPECT_EQ(view.GetSelection().end, 0u);
  }
}

TEST(ReplaceAll, IsOneUndoableEditThatLeavesTheDocumentModified) {
  FakeTextView view("a.a.a");
  EXPECT_EQ(ReplaceAll(view, SearchState{"a", "bb"}), 3u);
  EXPECT_TRUE(view.IsModified());
  EXPECT_EQ(view.scrollCount, 1);
  ASSERT_TRUE(view.CanUndo());
  view.Undo();
  EXPECT_EQ(view.GetText(), "a.a.a");
}

TEST(ReplaceAll, NothingFoundLeavesTheViewUntouched) {
  FakeTextView view("abc");
  view.SetSelection(1, 2);
  EXPECT_EQ(ReplaceAll(view, SearchState{"x", "y"}), 0u);
  EXPECT_EQ(ReplaceAll(view, SearchState{"", "y"}), 0u);
  EXPECT_EQ(view.GetText(), "abc");
  EXPECT_EQ(view.GetSelection().start, 1u);
  EXPECT_FALSE(view.IsModified());
  EXPECT_FALSE(view.CanUndo());
}

TEST(ReplaceAll, OutOfMemoryReportsNothingReplaced) {
  FakeTextView view("a.a");
  view.outOfMemory = true;
  EXPECT_EQ(ReplaceAll(view, SearchState{"a", "b"}), 0u);
  view.outOfMemory = false;
  EXPECT_EQ(view.GetText(), "a.a");
  EXPECT_FALSE(view.IsModified());
  EXPECT_EQ(view.scrollCount, 0);
}

}  // namespace
}  // namespace propdesk
