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

struct ReplaceCase {
  const char* name;
  std::string text;
  ByteRange selection;
  std::string findWhat, replaceWith;
  std::uint32_t flags;
  bool found;
  std::string expectedText;
  ByteRange expectedSelection;
};

TEST(ReplaceNext, ReplacesTheSelectedMatchAndSelectsTheNextWhereItWillLie) {
  const std::vector<ReplaceCase> cases = {
      {"longer replacement shifts the next match right", "x foo foo", {2, 5}, "foo", "barbaz", kDown, true,
       "x barbaz foo", {9, 12}},
      {"last match: the inserted text stays selected", "x barbaz foo", {9, 12}, "foo", "barbaz", kDown, false,
       "x barbaz barbaz", {9, 15}},
      {"a selection that is no match only moves on, whatever the direction", "ab foo", {0, 2}, "foo", "x", kUp, true,
       "ab foo", {3, 6}},
      {"match case keeps FOO", "FOO", {0, 3}, "foo", "bar", FR_MATCHCASE, false, "FOO", {0, 3}},
      {"ignoring case FOO is a match", "FOO", {0, 3}, "foo", "bar", 0, false, "bar", {0, 3}},
      {"empty replacement deletes and shifts left", "foo-foo", {0, 3}, "foo", "", 0, true, "-foo", {1, 4}},
  };
  for (const auto& c : cases) {
    PrivateTextView view(c.text);
    view.SetSelection(c.selection.start, c.selection.end);
    EXPECT_EQ(ReplaceNext(view, c.findWhat, c.replaceWith, c.flags), c.found) << c.name;
    EXPECT_EQ(view.GetText(), c.expectedText) << c.name;
    EXPECT_EQ(view.GetSelection().start, c.expectedSelection.start) << c.name;
    EXPECT_EQ(view.GetSelection().end, c.expectedSelection.end) << c.name;
    EXPECT_EQ(view.IsModified(), c.text != c.expectedText) << c.name;
  }
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
