#include "document/edit_view_rules.h"

#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/fake_text_view.h"

namespace propdesk::test {
namespace {

TEST(EditViewRules, CaretPositionCountsLinesAndBytesFromOne) {
  struct Case {
    std::string text;
    std::size_t start, end;
    const char* position;
  };
  const Case cases[] = {
      {"", 0, 0, "1:1"},
      {"abc\r\ndef", 8, 8, "2:4"},
      {"\x82\xa0\x82\xa2", 4, 4, "1:5"},
      {"ab\r\ncd\r\nef", 10, 5, "2:2"},  // a selection made upwards reports its start
  };
  for (const Case& c : cases) {
    FakeTextView view;
    view.SetText(c.text);
    view.SetSelection(c.start, c.end);
    EXPECT_EQ(CaretPositionText(view), c.position);
  }
}

TEST(EditViewRules, EscapeClosesOnlyWhenAllowedAndEditForbidden) {
  for (const bool exitByEsc : {false, true}) {
    Settings settings;
    settings.ExitByESC = exitByEsc;
    EXPECT_FALSE(EscapeClosesWindow(settings, false));
    EXPECT_EQ(EscapeClosesWindow(settings, true), exitByEsc);
  }
}

}  // namespace
}  // namespace propdesk::test
