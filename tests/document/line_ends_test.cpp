#include <gtest/gtest.h>

#include <string>

#include "document/document.h"

namespace propdesk {
namespace {

using namespace std::string_literals;

TEST(LineEnds, ExpandTurnsBareLineFeedsIntoCrLfAndTellsTheFirstBreaksStyle) {
  struct Case {
    std::string text, expanded;
    bool lfStyle;
  };
  const Case cases[] = {
      {"", "", false},
      {"abc", "abc", false},
      {"\n", "\r\n", true},
      {"a\nb\r\nc\n", "a\r\nb\r\nc\r\n", true},
      {"a\r\nb\nc", "a\r\nb\r\nc", false},
      {"a\r\n", "a\r\n", false},
      {"\r", "\r", false},
      {"a\rb\r", "a\rb\r", false},
      {"\r\r\n\n", "\r\r\n\r\n", false},
      {"\n\r\n", "\r\n\r\n", true},
      {"\r\n\n\n", "\r\n\r\n\r\n", false},
      {"a\0\nb\0"s, "a\0\r\nb\0"s, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    std::string text = c.text;
    bool lfStyle = !c.lfStyle;
    ASSERT_TRUE(ExpandLineEnds(text, lfStyle));
    EXPECT_EQ(text, c.expanded);
    EXPECT_EQ(lfStyle, c.lfStyle);
  }
}

TEST(LineEnds, CollapseTurnsCrLfIntoLfAndKeepsLoneBreaks) {
  struct Case {
    std::string text, collapsed;
  };
  const Case cases[] = {
      {"", ""},
      {"a\r\nb\r\n", "a\nb\n"},
      {"\r\r\n", "\r\n"},
      {"\r\n\r\n", "\n\n"},
      {"a\rb\nc\r", "a\rb\nc\r"},
      {"\0\r\n\0"s, "\0\n\0"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    std::string text = c.text;
    CollapseLineEnds(text);
    EXPECT_EQ(text, c.collapsed);
  }
}

}  // namespace
}  // namespace propdesk
