// FindNext and ReplaceNext over a text view: successive calls tied together by the selection.
#include "search/find_steps.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "search/search_state.h"
#include "search/private_text_view.h"

namespace propdesk {
namespace {

using test::PrivateTextView;

constexpr std::uint32_t kDown = FR_DOWN;
constexpr std::uint32_t kUp = 0;

struct Step {
  std::uint32_t flags;
  bool found;
  std::size_t start, end;  // the selection afterwards
};

// Runs FindNext once per step from the given selection and checks each outcome.
void ExpectFindSteps(const std::string& text, ByteRange selection, const std::string& findWhat,
                     const std::vector<Step>& steps) {
  PrivateTextView view(text);
  view.SetSelection(selection.start, selection.end);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(FindNext(view, findWhat, steps[i].flags), steps[i].found) << text << " step " << i;
    EXPECT_EQ(view.GetSelection().start, steps[i].start) << text << " step " << i;
    EXPECT_EQ(view.GetSelection().end, steps[i].end) << text << " step " << i;
  }
}

TEST(FindNext, StepsDownwardsWithoutWrapping) {
  ExpectFindSteps("abcabc", {0, 0}, "bc", {{kDown, true, 1, 3}, {kDown, true, 4, 6}, {kDown, false, 4, 6}});
  ExpectFindSteps("aaaa", {0, 0}, "aa", {{kDown, true, 0, 2}, {kDown, true, 2, 4}, {kDown, false, 2, 4}});
}

TEST(FindNext, StepsUpwardsOverOverlappingOccurrences) {
  ExpectFindSteps("abcabc", {4, 6}, "bc", {{kUp, true, 1, 3}, {kUp, false, 1, 3}});
  ExpectFindSteps("aaaa", {2, 4}, "aa", {{kUp, true, 1, 3}, {kUp, true, 0, 2}, {kUp, false, 0, 2}});
}

TEST(FindNext, UpwardsWithAndWithoutCase) {
  ExpectFindSteps("ABC abc", {7, 7}, "abc", {{kUp, true, 4, 7}, {kUp, true, 0, 3}});
  ExpectFindSteps("ABC abc", {7, 7}, "abc", {{kUp | FR_MATCHCASE, true, 4, 7}, {kUp | FR_MATCHCASE, false, 4, 7}});
  ExpectFindSteps("ABC abc", {7, 7}, "ABC", {{kUp | FR_MATCHCASE, true, 0, 3}});
}

TEST(FindNext, NeverSelectsFromTheSecondByteOfACharacter) {
  ExpectFindSteps("\x83\x41" "A", {0, 0}, "A", {{kDown, true, 2, 3}, {kUp, false, 2, 3}});
}

TEST(FindNext, ScrollsOnlyWhenFound) {
  PrivateTextView view("abc");
  EXPECT_FALSE(FindNext(view, "x", kDown));
  EXPECT_EQ(view.ScrollCount(), 0);
  EXPECT_TRUE(FindNext(view, "b", kDown));
  EXPECT_EQ(view.ScrollCount(), 1);
}

TEST(ReplaceNext, ReplacesTheSelectedMatchAndSelectsTheNextWhereItWillLie) {
  PrivateTextView view("x foo foo");
  view.SetSelection(2, 5);
  EXPECT_TRUE(ReplaceNext(view, "foo", "barbaz", FR_DOWN));
  EXPECT_EQ(view.GetText(), "x barbaz foo");
  EXPECT_EQ(view.GetSelection().start, 9u);
  EXPECT_EQ(view.GetSelection().end, 12u);
  // The last match: replaced, and the inserted text stays selected.
  EXPECT_FALSE(ReplaceNext(view, "foo", "barbaz", FR_DOWN));
  EXPECT_EQ(view.GetText(), "x barbaz barbaz");
  EXPECT_EQ(view.GetSelection().start, 9u);
  EXPECT_EQ(view.GetSelection().end, 15u);
  EXPECT_TRUE(view.IsModified());
}

TEST(ReplaceNext, FirstCallOnANonMatchOnlySelectsAndDirectionIsIgnored) {
  PrivateTextView view("ab foo");
  view.SetSelection(0, 2);
  EXPECT_TRUE(ReplaceNext(view, "foo", "x", 0));
  EXPECT_EQ(view.GetText(), "ab foo");
  EXPECT_EQ(view.GetSelection().start, 3u);
  EXPECT_FALSE(view.IsModified());
}

TEST(ReplaceNext, MatchesTheSelectionIgnoringCaseUnlessAsked) {
  PrivateTextView view("FOO");
  view.SetSelection(0, 3);
  EXPECT_FALSE(ReplaceNext(view, "foo", "bar", FR_MATCHCASE));
  EXPECT_EQ(view.GetText(), "FOO");
  EXPECT_FALSE(ReplaceNext(view, "foo", "bar", 0));
  EXPECT_EQ(view.GetText(), "bar");
}

TEST(ReplaceNext, EmptyReplaceTextDeletesAndShiftsTheNextMatchLeft) {
  PrivateTextView view("foo-foo");
  view.SetSelection(0, 3);
  EXPECT_TRUE(ReplaceNext(view, "foo", "", 0));
  EXPECT_EQ(view.GetText(), "-foo");
  EXPECT_EQ(view.GetSelection().start, 1u);
  EXPECT_EQ(view.GetSelection().end, 4u);
}

TEST(FindSteps, EmptyFindTextChangesNothing) {
  PrivateTextView view("abc");
  view.SetSelection(0, 3);
  EXPECT_FALSE(FindNext(view, "", FR_DOWN));
  EXPECT_FALSE(ReplaceNext(view, "", "x", FR_DOWN));
  EXPECT_EQ(view.GetText(), "abc");
  EXPECT_EQ(view.GetSelection().end, 3u);
  EXPECT_EQ(view.ScrollCount(), 0);
}

class OutOfMemoryView : public PrivateTextView {
 public:
  using PrivateTextView::PrivateTextView;
  std::string GetText() const override { throw std::bad_alloc(); }
};

TEST(FindSteps, NoMemoryForTheCopyLeavesTheViewUntouched) {
  OutOfMemoryView view("foo foo");
  view.SetSelection(0, 3);
  EXPECT_FALSE(FindNext(view, "foo", FR_DOWN));
  EXPECT_FALSE(ReplaceNext(view, "foo", "x", FR_DOWN));
  EXPECT_EQ(view.PrivateTextView::GetText(), "foo foo");
  EXPECT_EQ(view.GetSelection().end, 3u);
}

}  // namespace
}  // namespace propdesk
